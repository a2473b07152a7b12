#include "views/WordList.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/LessonState.h"
#include "core/MainHost.h"
#include "media/ModulePlaySound.h"
#include "views/ListColumns.h"

WordList::WordList(LessonContext& context, QWidget* parent)
    : QWidget(parent),
      Timer1(new QTimer(this)),
      ListView1(new QTreeWidget(this)),
      lblResult(new QLabel(this)),
      cmdToOrvanel(new QPushButton(QStringLiteral("显示单词图片"), this)),
      context_(context) {
    Timer1->setInterval(10);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });

    QFont listFont = ListView1->font();
    listFont.setPointSize(12);
    ListView1->setFont(listFont);
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setAllColumnsShowFocus(true);
    ListView1->setAlternatingRowColors(true);
    ListView1->setFrameShape(QFrame::Box);
    ListView1->setFrameShadow(QFrame::Plain);
    ListView1->setAccessibleName(QStringLiteral("单词列表"));
    ListView1->header()->setSectionsClickable(true);
    ListView1->header()->setStretchLastSection(false);
    ListView1->installEventFilter(this);
    connect(ListView1->header(), &QHeaderView::sectionClicked, this, [this](int column) { ListView1_ColumnClick(column); });
    connect(ListView1, &QTreeWidget::itemClicked, this, [this] { ListView1_Click(); });
    // Not itemActivated: a desktop set to single-click activation would leave
    // on the click that only means to hear the word.
    connect(ListView1, &QTreeWidget::itemDoubleClicked, this, [this] { ShowReadView(); });

    QFont big = font();
    big.setPointSize(14);
    lblResult->setFont(big);
    lblResult->setStyleSheet(QStringLiteral("color: #c00000;"));
    cmdToOrvanel->setFont(big);
    cmdToOrvanel->setFlat(true);
    cmdToOrvanel->setCursor(Qt::PointingHandCursor);
    cmdToOrvanel->setStyleSheet(QStringLiteral("color: #1a4f9c; text-decoration: underline;"));
    connect(cmdToOrvanel, &QPushButton::clicked, this, [this] { ShowReadView(); });

    auto* footer = new QHBoxLayout;
    footer->addWidget(lblResult, 1);
    footer->addWidget(cmdToOrvanel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 12, 20, 12);
    layout->addWidget(ListView1, 1);
    layout->addLayout(footer);
}

void WordList::FillWordErrNum() {
    SetColumns({{QStringLiteral("序号"), 1, 9, Qt::AlignLeft},
                {QStringLiteral("单词"), 1, 4, Qt::AlignHCenter},
                {QStringLiteral("中文解释"), 1, 3, Qt::AlignLeft},
                {QStringLiteral("出错次数"), 1, 8, Qt::AlignHCenter},
                {QStringLiteral("答对次数"), 1, 7, Qt::AlignHCenter}});
    AddRows(WordListRules::ErrNumRows(context_.state.Words));
}

void WordList::FillWordTestResultList() {
    SetColumns({{QStringLiteral("序号"), 1, 9, Qt::AlignLeft},
                {QStringLiteral("单词"), 1, 3, Qt::AlignHCenter},
                {QStringLiteral("中文解释"), 1, 3, Qt::AlignLeft},
                {QStringLiteral("测试结果"), 1, 9, Qt::AlignHCenter}});
    int tested = 0;
    int wrong = 0;
    AddRows(WordListRules::TestResultRows(context_.state.Words, tested, wrong));
    lblResult->setText(WordListRules::ResultSummary(tested, wrong));
}

// Widths follow the list's width at the moment of filling.
void WordList::SetColumns(const std::vector<ListColumns::Column>& columns) {
    columns_ = columns;
    ListView1->clear();
    layout()->activate();
    ListColumns::SetColumns(ListView1, columns);
}

void WordList::AddRows(const std::vector<WordListRules::Row>& rows) {
    QList<QTreeWidgetItem*> items;
    for (const WordListRules::Row& row : rows) items << ListColumns::MakeRow(columns_, row.cells);
    ListView1->addTopLevelItems(items);
    if (sortColumn_ >= 0) ListView1->sortItems(sortColumn_, sortOrder_);
}

// Each click flips the order; the first one sorts descending.
void WordList::ListView1_ColumnClick(int column) {
    sortOrder_ = sortOrder_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    sortColumn_ = column;
    ListView1->sortItems(sortColumn_, sortOrder_);
}

// The pronunciation waits until the click has been handled.
void WordList::ListView1_Click() {
    Timer1->start();
}

void WordList::Timer1_Timer() {
    Timer1->stop();
    const QTreeWidgetItem* item = ListView1->currentItem();
    if (item) context_.sound.PlayWordSound(item->text(1));
}

void WordList::ShowReadView() {
    context_.host.ShowUserControl(1);
}

bool WordList::eventFilter(QObject* watched, QEvent* event) {
    if (watched != ListView1 || event->type() != QEvent::KeyPress || !ListView1->currentItem())
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Space) {
        ListView1_Click();
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        ShowReadView();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
