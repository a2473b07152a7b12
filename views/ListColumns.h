#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

// Report-style lists: columns whose widths are fractions of the list's
// width when it is filled, and rows that a screen reader reads whole.
namespace ListColumns {

struct Column {
    QString caption;
    int numerator;
    int denominator;
    Qt::Alignment alignment;
};

// Replaces the columns; a column is never narrower than its caption.
void SetColumns(QTreeWidget* list, const std::vector<Column>& columns);
QTreeWidgetItem* MakeRow(const std::vector<Column>& columns, const QStringList& cells);

}  // namespace ListColumns
