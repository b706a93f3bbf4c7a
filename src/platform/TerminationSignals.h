#pragma once
// The signals that would end or stop the process, delivered through the event loop instead of acting on
// the spot, so the program can end a transmission and let go of its devices first: SIGINT, SIGTERM, SIGHUP
// and every other signal whose default action ends the process without a core dump (SIGUSR1, SIGALRM,
// SIGPROF, SIGIO, SIGPWR, the realtime signals, ...), and SIGTSTP (Ctrl+Z). The handler only writes the
// signal's number to a pipe; a notifier on the user-interface thread passes it on. A signal that finds the
// previous one still waiting in the pipe cannot be taken in order: it runs the crash hook's last acts
// (platform/CrashHook.h) and takes its default action. So does a signal that the event loop has not taken
// within a deadline (a hung program), through SIGALRM: a time service's stop must not end on a SIGKILL that
// leaves the lines raised. SIGPIPE, SIGTTIN and SIGTTOU are ignored: a reader
// that went away or a terminal in the foreground elsewhere must not end or stop a beacon. One instance at
// a time; made and used on the user-interface thread, after the Qt application object.
#include <QObject>
#include <csignal>
#include <functional>
#include <vector>

class QSocketNotifier;

namespace tarvel::platform {

class TerminationSignals : public QObject {
public:
    // What the program does, on the user-interface thread, for each signal that arrives.
    struct Actions {
        // A terminating signal: the orderly way out.
        std::function<void(int signal)> terminate;
        // SIGTSTP, before the process stops (ends what is on the air as Stop TX does).
        std::function<void()> suspend;
        // After SIGCONT has woken the stopped process.
        std::function<void()> resume;
    };

    // deadlineSeconds: how long a signal may wait in the pipe before it is taken the crash hook's way.
    explicit TerminationSignals(Actions actions, unsigned deadlineSeconds = 10);
    // Gives every signal back the action it had before.
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // The signals taken through the event loop (SIGTSTP among them), in ascending order.
    static std::vector<int> handledSignals();

private:
    void drain();

    Actions actions_;
    int readFd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    std::vector<std::pair<int, struct sigaction>> previous_;
};

} // namespace tarvel::platform
