#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

// The clock the transitions are paced by. It advances in whole ticks of
// 1000/64 ms, the coarse steps the effects were designed around: one frame
// per tick makes a 60-frame wipe last about a second.
class TickSource {
public:
    static constexpr int kTicksPerSecond = 64;

    TickSource();
    virtual ~TickSource() = default;

    // Milliseconds since the source was made, rounded down to whole ticks.
    virtual quint32 GetTickCount();

    // Lets the user interface handle what is pending, then waits for events
    // until the next tick at the latest.
    virtual void DoEvents();

private:
    QElapsedTimer clock_;
};
