#pragma once

#include <QDate>
#include <QDateTime>

// The one place where the program reads the calendar: the local date and
// time from the system clock. Asked at every use, so a program left open
// over midnight counts the new day.
class DateSource {
public:
    virtual ~DateSource() = default;
    virtual QDateTime Now() const;
    QDate Today() const { return Now().date(); }
};
