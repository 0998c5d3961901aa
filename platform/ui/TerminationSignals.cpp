#include "platform/ui/TerminationSignals.h"

#include "platform/ui/WinApp.h"
#include "platform/ui/Window.h"
#include "platform/ui/WindowState.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

#include <csignal>

namespace {

int g_pipe[2] = {-1, -1};

// Only async-signal-safe work here: the byte wakes the event loop, which does
// the rest on the user-interface thread.
void onSignal(int signal) {
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] ssize_t ignored = write(g_pipe[1], &byte, 1);
}

void closeMainWindow() {
    char buffer[16];
    while (read(g_pipe[0], buffer, sizeof(buffer)) > 0) {
    }
    if (CWnd* main = AfxGetMainWnd(); main && main->GetSafeHwnd())
        main->PostMessage(WM_CLOSE);
    else
        PostQuitMessage(0);
}

// With the application gone nobody reads the pipe: the signals end the
// program again, and the descriptors are not left to a later file.
void stopWatching() {
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    close(g_pipe[0]);
    close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

} // namespace

namespace lumo {

void closeMainWindowOnTerminationSignals() {
    if (g_pipe[0] != -1 || pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    ensureGuiApplication();
    // Owned by the application: it must not outlive the event loop it sits in.
    auto* notifier =
        new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] { closeMainWindow(); });
    QObject::connect(notifier, &QObject::destroyed, [] { stopWatching(); });
    struct sigaction action {};
    action.sa_handler = &onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

} // namespace lumo
