#pragma once

#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace lumo::test {

// A private Xvfb server for one test; -displayfd tells which display it took.
// name() is empty when Xvfb could not be started (not installed).
class XServer {
public:
    explicit XServer(const char* screen = "640x480x24") {
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen, "-nolisten",
                     "tcp", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        char buffer[32] = {};
        ssize_t n = 0;
        for (size_t got = 0; got < sizeof buffer - 1 && (n = ::read(fds[0], buffer + got, 1)) == 1;
             ++got)
            if (buffer[got] == '\n')
                break;
        ::close(fds[0]);
        if (buffer[0] != '\0')
            m_name = std::string(1, ':').append(std::to_string(std::atoi(buffer)));
    }
    ~XServer() { stop(); }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    const std::string& name() const { return m_name; }
    // Ends the server, as a logout or a crash of the display would.
    void stop() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
            m_pid = -1;
        }
    }

private:
    pid_t m_pid = -1;
    std::string m_name;
};

} // namespace lumo::test
