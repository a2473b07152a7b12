#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

// The end of the desktop session as one call on the event loop: SIGTERM
// (shutdown, logout, a supervisor stopping the program), SIGHUP (the
// terminal went away) and SIGINT arrive through a pipe, since a signal
// handler itself may do next to nothing.
class SessionEnd : public QObject {
public:
    explicit SessionEnd(std::function<void()> onEnd);
    ~SessionEnd() override;

private:
    void Drain();

    std::function<void()> onEnd_;
    QSocketNotifier* notifier_ = nullptr;
};
