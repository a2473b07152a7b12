#pragma once

#include <QString>
#include <QtGlobal>

// One record of the test history.
struct CHisType {
    qint32 NO = 0;
    qint16 userID = 0;
    QString myDate;
    QString myTime;
    QString myTask;
};
