#pragma once

#include "tests/support/QtApp.h"
#include "core/TickSource.h"

// Time that moves only when the program waits: every DoEvents lets one
// tick pass, after handling pending events and the test's own hook.
class ScriptedTickSource : public TickSource {
public:
    quint32 GetTickCount() override { return static_cast<quint32>(tick * 1000 / kTicksPerSecond); }

    void DoEvents() override {
        QCoreApplication::processEvents();
        if (whileWaiting) whileWaiting();
        ++tick;
    }

    qint64 tick = 0;
    std::function<void()> whileWaiting;
};
