// A whole game won by an assistive tool alone. A client of the accessibility bus (pyatspi) reads the
// screens' names, descriptions and states and acts through the controls' actions and the registry's
// keyboard events: nothing is clicked or typed from here, and no pixel is looked at while it plays.
// The game is started as a desktop login starts it, beside a session bus at its standard place that
// it is not told of.

// Own
#include "e2e.h"
#include "quiz/question_bank.h"

// Standard
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

namespace e2e {
namespace {

using Accessibility = E2e;

// What the client knows beforehand, as a player who has learnt the bank: one line per question, the
// right option's number, a tab, and the question as the bank holds it.
std::string writeAnswers(const std::string &folder)
{
    const std::string path = folder + "/answers.txt";
    std::ofstream out(path);
    for (const quiz::BankEntry &entry : quiz::questionBank())
        out << entry.correct << '\t' << entry.question << '\n';
    out.close();
    if (!out)
        throw driver::Failure("cannot write " + path);
    return path;
}

std::size_t occurrences(const std::string &text, const std::string &part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

// Fifteen right answers given through Press and Toggle, the lifeline once, the win message, the
// farewell screen about six seconds later, a key there, and the game ends with status 0.
TEST_F(Accessibility, AClientOfTheTreeAloneWinsAWholeGame)
{
    driver::Session &s = session({.sessionBus = true});
    const std::string answers = writeAnswers(s.folder());
    driver::Process &game = s.launch({gamePath()}, {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1"});
    const auto started = driver::Clock::now();
    driver::Process &client = s.launch({"/usr/bin/python3", "-u", "-X", "faulthandler", TARVELO_ACCESSIBILITY_CLIENT, answers},
                                       {"DBUS_SESSION_BUS_ADDRESS=" + s.busAddress()}, false, "client");
    const int status = client.waitExit(100s);
    const std::string log = client.output();
    std::cout << log << "the client ran " << seconds(driver::Clock::now() - started) << " s" << std::endl;

    ASSERT_EQ(status, 0) << "the client did not win the game (-1: still running after 100 s)";
    EXPECT_EQ(occurrences(log, ") judged right"), 15u) << "not fifteen right answers";
    EXPECT_EQ(occurrences(log, "(Toggle) judged right"), 7u) << "the even questions are answered by Toggle";
    EXPECT_EQ(occurrences(log, "50-50 blanked options"), 1u);
    EXPECT_NE(log.find("the game is won"), std::string::npos);
    EXPECT_NE(log.find("farewell screen active"), std::string::npos);
    EXPECT_EQ(game.waitExit(5s), 0) << "the key on the farewell screen did not end the game; its output:\n"
                                    << game.output();
}

}  // namespace
}  // namespace e2e
