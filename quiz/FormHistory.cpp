#include "quiz/FormHistory.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "views/ListColumns.h"

FormHistory::FormHistory(const std::vector<CHisType>& historyList, QWidget* parent)
    : QDialog(parent),
      ListView1(new QTreeWidget(this)),
      Command1(new QPushButton(QStringLiteral("确定"), this)),
      historyList_(historyList) {
    setWindowTitle(QStringLiteral("测试完成记录"));
    // Read by young pupils: as large as the read-along panel.
    QFont readable = font();
    readable.setPointSize(kTextPointSize);
    setFont(readable);
    ListView1->setRootIsDecorated(false);
    ListView1->setAllColumnsShowFocus(true);
    ListView1->setAlternatingRowColors(true);
    ListView1->setAccessibleName(windowTitle());
    ListView1->header()->setStretchLastSection(false);
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ListView1, 1);
    layout->addLayout(buttons);
    resize(720, 500);
}

int FormHistory::exec() {
    FillHistoryList();
    return QDialog::exec();
}

void FormHistory::FillHistoryList() {
    ListView1->setStyleSheet(QStringLiteral("QTreeWidget { color: blue; }"));
    ListView1->setFrameShape(QFrame::Box);
    ListView1->setFrameShadow(QFrame::Plain);
    layout()->activate();
    const std::vector<ListColumns::Column> columns{{QStringLiteral("序号"), 1, 8, Qt::AlignLeft},
                                                   {QStringLiteral("完成时间"), 1, 4, Qt::AlignHCenter},
                                                   {QStringLiteral("测试内容"), 5, 9, Qt::AlignLeft}};
    ListColumns::SetColumns(ListView1, columns);
    ListView1->clear();
    for (size_t i = 0; i < historyList_.size(); ++i) {
        const CHisType& record = historyList_[i];
        ListView1->addTopLevelItem(ListColumns::MakeRow(
            columns, {QString::number(i + 1), record.myDate.trimmed() + QStringLiteral(" | ") + record.myTime.trimmed(),
                      record.myTask.trimmed()}));
    }
}
