#include "core/DateSource.h"

QDateTime DateSource::Now() const {
    return QDateTime::currentDateTime();
}
