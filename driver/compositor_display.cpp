// Own
#include "compositor_display.h"

// Standard
#include <csignal>
#include <filesystem>
#include <stdexcept>
#include <thread>

namespace driver {
namespace {
constexpr auto kStartTimeout = 10s;
constexpr auto kToolTimeout = 10s;
}  // namespace

CompositorDisplay::~CompositorDisplay() { stopServer(); }

void CompositorDisplay::startServer(const std::string &name, const std::vector<std::string> &argv,
                                    const std::vector<std::string> &environment, const std::string &log,
                                    const std::string &socket)
{
    m_server = std::make_unique<Process>(argv, environment, log);
    const auto deadline = Clock::now() + kStartTimeout;
    while (!std::filesystem::is_socket(socket)) {
        if (Clock::now() >= deadline || !m_server->running()) {
            stopServer();
            throw std::runtime_error(name + " did not start: " + readFile(log));
        }
        std::this_thread::sleep_for(5ms);
    }
}

void CompositorDisplay::stopServer()
{
    if (!m_server)
        return;
    if (m_server->running()) {
        ::kill(m_server->pid(), SIGTERM);
        m_server->waitExit(5s);
    }
    m_server.reset();
}

std::vector<std::string> CompositorDisplay::clientEnvironmentFor(const std::string &socket)
{
    return {"WAYLAND_DISPLAY=" + socket, "QT_QPA_PLATFORM=wayland", "DISPLAY", "QT_WAYLAND_DISABLE_WINDOWDECORATION=1"};
}

QImage CompositorDisplay::readOutput(const std::string &file, const std::string &program) const
{
    const QImage image(QString::fromStdString(file));
    if (image.isNull())
        throw std::runtime_error(program + " wrote no picture that can be read at " + file);
    if (image.size() != m_size)
        throw std::runtime_error(program + " wrote " + file + " of " + std::to_string(image.width()) + "x" +
                                 std::to_string(image.height()) + " pixels for an output of " +
                                 std::to_string(m_size.width()) + "x" + std::to_string(m_size.height()));
    return image.convertToFormat(QImage::Format_RGB32);
}

void CompositorDisplay::expectSuccess(Process &tool, const std::string &program)
{
    const int status = tool.waitExit(kToolTimeout);
    if (status != 0)
        throw std::runtime_error(program + " " +
                                 (status < 0 ? std::string("did not finish") : "ended with status " + std::to_string(status)) +
                                 ": " + tool.output());
}

QImage CompositorDisplay::grab(const QRect &area)
{
    const QRect r = area.intersected(QRect(QPoint(0, 0), m_size));
    if (r.isEmpty())
        return {};
    return grabOutput().copy(r);
}

void CompositorDisplay::moveTo(QPoint)
{
    throw std::runtime_error("the pointer is not supported on this display (its headless compositor has none)");
}

void CompositorDisplay::button(int, bool)
{
    throw std::runtime_error("buttons are not supported on this display (its headless compositor has no pointer)");
}

std::vector<WindowInfo> CompositorDisplay::windowsOf(pid_t)
{
    // A Wayland client's windows are known to the compositor alone; it tells no other client.
    throw std::runtime_error("listing a program's windows is not supported on this display");
}

bool CompositorDisplay::requestClose(unsigned long)
{
    throw std::runtime_error("closing a window is not supported on this display");
}

Clock::time_point CompositorDisplay::waitUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout,
                                               std::chrono::milliseconds pollInterval)
{
    const auto deadline = Clock::now() + patience(timeout);
    for (;;) {
        if (done())
            return Clock::now();
        const auto now = Clock::now();
        if (now >= deadline)
            return {};
        std::this_thread::sleep_for(std::min<Clock::duration>(deadline - now, pollInterval));
    }
}

bool CompositorDisplay::waitForQuiet(std::chrono::milliseconds quiet, std::chrono::milliseconds timeout)
{
    // Quiet once two screenshots at least `quiet` apart are the same; a change is dated by the
    // screenshot that saw it, some time after it may have happened.
    const auto deadline = Clock::now() + patience(timeout);
    QImage last = grabOutput();
    auto lastChange = Clock::now();
    for (;;) {
        const auto now = Clock::now();
        if (now < lastChange + quiet)
            std::this_thread::sleep_for(std::min<Clock::duration>(lastChange + quiet - now, deadline - now));
        QImage next = grabOutput();
        const auto seen = Clock::now();
        if (next != last) {
            last = std::move(next);
            lastChange = seen;
        } else if (seen >= lastChange + quiet) {
            return true;
        }
        if (seen >= deadline)
            return false;
    }
}

}  // namespace driver
