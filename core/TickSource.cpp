#include "core/TickSource.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

TickSource::TickSource() {
    clock_.start();
}

quint32 TickSource::GetTickCount() {
    const qint64 ticks = clock_.nsecsElapsed() * kTicksPerSecond / 1000000000;
    return static_cast<quint32>(ticks * 1000 / kTicksPerSecond);
}

void TickSource::DoEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    const qint64 tickNs = 1000000000 / kTicksPerSecond;
    const qint64 untilNextTickMs = (tickNs - clock_.nsecsElapsed() % tickNs) / 1000000;
    if (untilNextTickMs <= 0) return;
    // Sleeps in the event loop, so a click or a key still gets through at once.
    QEventLoop wait;
    QTimer::singleShot(static_cast<int>(untilNextTickMs), Qt::PreciseTimer, &wait, &QEventLoop::quit);
    wait.exec();
}
