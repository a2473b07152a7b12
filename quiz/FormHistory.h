#pragma once

#include <QDialog>
#include <vector>

#include "core/CHisType.h"

class QPushButton;
class QTreeWidget;

// The test history: the records last read, newest first.
class FormHistory : public QDialog {
public:
    FormHistory(const std::vector<CHisType>& historyList, QWidget* parent);

    // Fills the list afresh, then shows the window modally.
    int exec() override;
    void FillHistoryList();

    QTreeWidget* ListView1;
    QPushButton* Command1;

    static constexpr int kTextPointSize = 13;

private:
    const std::vector<CHisType>& historyList_;
};
