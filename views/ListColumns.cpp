#include "views/ListColumns.h"

#include <QCollator>
#include <QLocale>

#include <QFontMetrics>
#include <QHeaderView>
#include <QTreeWidget>

namespace ListColumns {

void SetColumns(QTreeWidget* list, const std::vector<Column>& columns) {
    list->setColumnCount(static_cast<int>(columns.size()));
    auto* header = new QTreeWidgetItem;
    // The list's own width: its viewport is sized late while the window is
    // still hidden.
    const int width = list->width() - 2 * list->frameWidth();
    const QFontMetrics metrics(list->header()->font());
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        const Column& column = columns[c];
        header->setText(c, column.caption);
        header->setTextAlignment(c, column.alignment | Qt::AlignVCenter);
        const int captionWidth = metrics.horizontalAdvance(column.caption) + 24;
        list->setColumnWidth(c, std::max(width * column.numerator / column.denominator, captionWidth));
    }
    list->setHeaderItem(header);
}

namespace {

// Rows sort as a pupil reads them: English without regard to letter case,
// Chinese by its pinyin; numbers still sort as text, as they always have.
class CollatedRow : public QTreeWidgetItem {
public:
    explicit CollatedRow(const QStringList& cells) : QTreeWidgetItem(cells) {}

    bool operator<(const QTreeWidgetItem& other) const override {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        return Collator().compare(text(column), other.text(column)) < 0;
    }

private:
    static const QCollator& Collator() {
        static const QCollator collator = [] {
            QCollator made{QLocale(QLocale::Chinese, QLocale::China)};
            made.setCaseSensitivity(Qt::CaseInsensitive);
            return made;
        }();
        return collator;
    }
};

}  // namespace

QTreeWidgetItem* MakeRow(const std::vector<Column>& columns, const QStringList& cells) {
    auto* item = new CollatedRow(cells);
    QStringList spoken;
    for (int c = 0; c < cells.size() && c < static_cast<int>(columns.size()); ++c) {
        item->setTextAlignment(c, columns[c].alignment | Qt::AlignVCenter);
        spoken << columns[c].caption + QLatin1Char(' ') + cells[c];
    }
    item->setData(0, Qt::AccessibleTextRole, spoken.join(QStringLiteral("，")));
    return item;
}

}  // namespace ListColumns
