// The repeated-message filter, which the start-failure guard's message handler becomes once the
// platform runs: the same news from two threads at once in one line, and out before either thread
// goes on to end the program.

// Own
#include "screens/start_failure.h"

// Qt
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

// Standard
#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace screens_test {
namespace {

std::mutex g_printedMutex;
QStringList g_printed;
std::atomic<int> g_printedCount = 0;

// Stands for the terminal: printing a line takes a while.
void slowPrinter(QtMsgType, const QMessageLogContext &, const QString &message)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const std::lock_guard lock(g_printedMutex);
    g_printed << message;
    ++g_printedCount;
}

// Repeats in a row are said once, a repeat after another message is said again, and threads that
// race with the same message print it once, each returning only once it is printed (the Wayland
// platform ends the program then).
TEST(RepeatedMessages, TheSameNewsFromManyThreadsIsPrintedOnceAndBeforeAnyGoesOn)
{
    const QtMessageHandler previous = qInstallMessageHandler(slowPrinter);
    screens::StartFailureGuard guard;
    guard.begin();
    ASSERT_EQ(guard.end(), std::nullopt) << "the test's screen takes the screens' colours";

    qWarning("display gone");
    qWarning("display gone");
    qWarning("something else");
    qWarning("display gone");
    qDebug("display gone");
    EXPECT_EQ(g_printed, (QStringList{"display gone", "something else", "display gone", "display gone"}));

    g_printed.clear();
    g_printedCount = 0;
    std::atomic<bool> go = false;
    std::atomic<int> returnedEarly = 0;
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([&] {
            while (!go)
                std::this_thread::yield();
            qWarning("The connection broke.");
            if (g_printedCount == 0)
                ++returnedEarly;
        });
    go = true;
    for (std::thread &t : threads)
        t.join();
    qInstallMessageHandler(previous);
    EXPECT_EQ(g_printed, QStringList{"The connection broke."});
    EXPECT_EQ(returnedEarly, 0) << "a thread went on before the line was out";
}

}  // namespace
}  // namespace screens_test
