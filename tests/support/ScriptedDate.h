#pragma once

#include "tests/support/QtApp.h"
#include "core/DateSource.h"

// A calendar the test sets and moves; it starts on a fixed morning.
class ScriptedDate : public DateSource {
public:
    QDateTime Now() const override { return now; }
    void AdvanceDays(int days) { now = now.addDays(days); }

    QDateTime now{QDate(2024, 12, 7), QTime(9, 30)};
};
