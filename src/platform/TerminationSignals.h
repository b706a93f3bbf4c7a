#pragma once
// SIGINT, SIGTERM and SIGHUP delivered through the event loop instead of ending the process on the spot:
// the signal handler only writes the signal's number to a pipe, and a notifier on the user-interface
// thread passes it on, so the program can end a transmission and let go of its devices first. One
// instance at a time; made and used on the user-interface thread, after the Qt application object.
#include <QObject>
#include <functional>

class QSocketNotifier;

namespace tarvel::platform {

class TerminationSignals : public QObject {
public:
    // onSignal runs on the user-interface thread, once for each signal that arrives.
    explicit TerminationSignals(std::function<void(int signal)> onSignal);
    // Gives the three signals back their default action.
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    void drain();

    std::function<void(int)> onSignal_;
    int readFd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace tarvel::platform
