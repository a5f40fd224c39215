// A whole program shell on the offscreen platform, with a random source the test scripts.
#pragma once

// Own
#include "screens/farewell_window.h"
#include "screens/program_shell.h"
#include "screens/question_window.h"
#include "screens/title_window.h"
#include "quiz/random_source.h"

// Qt
#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QTest>

// Standard
#include <deque>

#include <gtest/gtest.h>

// Readable failure output for texts and lists of them.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace screens_test {

// Draws come from a queue; an empty queue draws 0. draws(k, n) gives the value that picks k of n.
class ScriptedRandom : public quiz::RandomSource {
public:
    void reseed() override {}
    double draw() override
    {
        if (m_queue.empty())
            return 0;
        const double r = m_queue.front();
        m_queue.pop_front();
        return r;
    }
    void pick(int k, int n) { m_queue.push_back((k + 0.5) / n); }

private:
    std::deque<double> m_queue;
};

class ShellFixture : public ::testing::Test {
protected:
    void SetUp() override { m_shell.start(); }

    screens::QuestionWindow &question() { return *m_shell.question(); }
    screens::TitleWindow &title() { return *m_shell.title(); }

    template <typename W>
    W &child(QWidget &window, const char *name)
    {
        W *w = window.findChild<W *>(QLatin1String(name));
        if (w == nullptr)
            ADD_FAILURE() << "no control " << name;
        return *w;
    }
    QAbstractButton &button(const char *name) { return child<QAbstractButton>(question(), name); }
    QCheckBox &box(int option) { return child<QCheckBox>(question(), QByteArray("Check" + QByteArray::number(option)).constData()); }
    QLabel &label(const char *name) { return child<QLabel>(question(), name); }

    // A player's left click at the centre of a control.
    static void click(QWidget &w) { QTest::mouseClick(&w, Qt::LeftButton, {}, w.rect().center()); }
    static void press(QWidget &w, int key) { QTest::keyClick(&w, static_cast<Qt::Key>(key)); }
    static void type(QWidget &w, char c) { QTest::keyClicks(&w, QString(QChar::fromLatin1(c))); }

    // From the title screen into the first question, which is bank entry `first`.
    void enterQuiz(int first)
    {
        m_random.pick(first, quiz::kRandomEntries);
        type(title(), 'x');
    }

    // Each screen in the order a player meets them: the title, a question with its options shown,
    // the farewell; `check` runs on each while it shows.
    template <typename Check>
    void forEachScreen(Check check)
    {
        check(static_cast<QWidget &>(title()));
        enterQuiz(0);
        click(button("cmdOptions"));
        check(static_cast<QWidget &>(question()));
        m_shell.show(quiz::Screen::Farewell);
        check(static_cast<QWidget &>(*m_shell.farewell()));
    }

    ScriptedRandom m_random;
    screens::ProgramShell m_shell{m_random};
};

}  // namespace screens_test
