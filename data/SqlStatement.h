#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

// A query's text with its values bound to the "?" placeholders, so that no
// text from the database or from the pupil is ever spliced into SQL.
struct SqlStatement {
    QString text;
    QVariantList binds;
};

// A table or column name as a quoted SQL identifier.
inline QString SqlName(const QString& name) {
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}
