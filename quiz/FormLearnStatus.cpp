#include "quiz/FormLearnStatus.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include "core/LessonState.h"
#include "data/Catalogue.h"
#include "quiz/LearnStatusRules.h"
#include "views/ListColumns.h"

FormLearnStatus::FormLearnStatus(LessonContext& context, QWidget* parent)
    : QDialog(parent),
      lblTitle(new QLabel(QStringLiteral("课程学习测试完成情况"), this)),
      Label2(new QLabel(QStringLiteral("选择要查看的教材："), this)),
      lstBook(new QListWidget(this)),
      Label3(new QLabel(QStringLiteral("单元学习详细情况："), this)),
      ListDetail(new QTreeWidget(this)),
      cmdOK(new QPushButton(QStringLiteral("确定"), this)),
      context_(context) {
    setWindowTitle(QStringLiteral("单元学习测试情况汇总"));
    // Read by young pupils: everything at least as large as the read-along panel.
    QFont readable = font();
    readable.setPointSize(kTextPointSize);
    setFont(readable);
    QFont titleFont = readable;
    titleFont.setPointSize(kTitlePointSize);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblTitle->setAlignment(Qt::AlignCenter);
    lstBook->setAccessibleName(Label2->text());
    Label2->setBuddy(lstBook);
    ListDetail->setRootIsDecorated(false);
    ListDetail->setAllColumnsShowFocus(true);
    ListDetail->setAlternatingRowColors(true);
    ListDetail->setAccessibleName(Label3->text());
    ListDetail->header()->setStretchLastSection(false);
    Label3->setBuddy(ListDetail);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(lstBook, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) FillDetailList(static_cast<qint16>(row));
    });

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblTitle, 0, 0, 1, 2);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(Label3, 1, 1);
    grid->addWidget(lstBook, 2, 0);
    grid->addWidget(ListDetail, 2, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    grid->addLayout(buttons, 3, 0, 1, 2);
    resize(900, 560);
}

int FormLearnStatus::exec() {
    Form_Load();
    return QDialog::exec();
}

// Selecting the current book fills the table once.
void FormLearnStatus::Form_Load() {
    const LessonState& state = context_.state;
    lblTitle->setText(state.VersionName + QStringLiteral("课程学习测试完成情况"));
    lstBook->blockSignals(true);
    lstBook->clear();
    for (qint16 i = 0; i < state.BookCount; ++i) lstBook->addItem(context_.catalogue.GetBookName(i));
    lstBook->setCurrentRow(state.CurBook);
    lstBook->blockSignals(false);
    lstBook->setFocus();
    FillDetailList(state.CurBook);
}

void FormLearnStatus::FillDetailList(qint16 book) {
    ListDetail->clear();
    ListDetail->setFrameShape(QFrame::Box);
    ListDetail->setFrameShadow(QFrame::Plain);
    layout()->activate();
    const std::vector<ListColumns::Column> columns{{QStringLiteral("序号"), 1, 9, Qt::AlignLeft},
                                                   {QStringLiteral("单元"), 1, 3, Qt::AlignHCenter},
                                                   {QStringLiteral("单词拼写"), 1, 4, Qt::AlignHCenter},
                                                   {QStringLiteral("单元测试"), 1, 9, Qt::AlignHCenter}};
    ListColumns::SetColumns(ListDetail, columns);
    if (!context_.catalogue.LoadUnits(book)) return;
    const LessonState& state = context_.state;
    for (int i = 0; i < state.UnitCount && i < static_cast<int>(state.BookUnits.size()); ++i) {
        const CBookUnit& unit = state.BookUnits[i];
        const LearnStatusRules::Marks marks = LearnStatusRules::StatusMarks(unit.UnitStatus);
        ListDetail->addTopLevelItem(ListColumns::MakeRow(
            columns, {LearnStatusRules::UnitNumberText(i), unit.UnitName, marks.spelling, marks.test}));
    }
}
