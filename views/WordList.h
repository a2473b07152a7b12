#pragma once

#include <QWidget>
#include <vector>

#include "core/LessonContext.h"
#include "views/ListColumns.h"
#include "views/WordListRules.h"

class QLabel;
class QPushButton;
class QTimer;
class QTreeWidget;

// The unit's words in a table: with their error counts, or with the results
// of the test run that has just ended.
class WordList : public QWidget {
public:
    WordList(LessonContext& context, QWidget* parent);

    void FillWordErrNum();
    void FillWordTestResultList();

    QTimer* Timer1;
    QTreeWidget* ListView1;
    QLabel* lblResult;
    QPushButton* cmdToOrvanel;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetColumns(const std::vector<ListColumns::Column>& columns);
    void AddRows(const std::vector<WordListRules::Row>& rows);
    void ListView1_ColumnClick(int column);
    void ListView1_Click();
    void Timer1_Timer();
    void ShowReadView();

    LessonContext& context_;
    std::vector<ListColumns::Column> columns_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};
