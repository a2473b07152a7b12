#include "app/FormBookUnit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "core/LessonState.h"
#include "core/MainHost.h"
#include "core/MessageService.h"
#include "data/Catalogue.h"
#include "data/LessonDatabase.h"
#include "data/WordRecords.h"

FormBookUnit::FormBookUnit(LessonContext& context, QWidget* parent)
    : QDialog(parent),
      Label1(new QLabel(QStringLiteral("选择教材:"), this)),
      lstBook(new QListWidget(this)),
      Label2(new QLabel(QStringLiteral("选择单元:"), this)),
      lstUnit(new QListWidget(this)),
      lblBookUnit(new QLabel(QStringLiteral("Select: Series + Book + Unit"), this)),
      lblNotSaved(new QLabel(QStringLiteral("学习结果没有保存，所以现在还不能换单元。可以再按“确定”试一次，"
                                            "或者按“取消”继续学习现在的单元。"),
                             this)),
      cmdOK(new QPushButton(QStringLiteral("确定"), this)),
      cmdCancle(new QPushButton(QStringLiteral("取消"), this)),
      context_(context) {
    setWindowTitle(QStringLiteral("选择教材"));
    lstBook->setAccessibleName(Label1->text());
    lstUnit->setAccessibleName(Label2->text());
    cmdOK->setAccessibleName(cmdOK->text());
    cmdCancle->setAccessibleName(cmdCancle->text());
    Label1->setBuddy(lstBook);
    Label2->setBuddy(lstUnit);
    lblNotSaved->setWordWrap(true);
    lblNotSaved->setStyleSheet(QStringLiteral("color: #c00000;"));
    lblNotSaved->hide();
    SetFonts();

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Label2, 0, 1);
    grid->addWidget(lstBook, 1, 0);
    grid->addWidget(lstUnit, 1, 1);
    grid->addWidget(lblBookUnit, 2, 0, 1, 2);
    grid->addWidget(lblNotSaved, 3, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancle);
    grid->addLayout(buttons, 4, 0, 1, 2);
    resize(680, 480);

    connect(lstBook, &QListWidget::currentRowChanged, this, [this] { lstBook_Click(); });
    connect(lstUnit, &QListWidget::currentRowChanged, this, [this] { ShowSelection(); });
    connect(lstUnit, &QListWidget::itemDoubleClicked, this, [this] { cmdOK_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancle, &QPushButton::clicked, this, &QDialog::reject);
}

// Large enough for a young pupil: the lists as large as the listen-and-read
// view's check boxes and buttons, or larger.
void FormBookUnit::SetFonts() {
    const auto sized = [this](int points, bool bold) {
        QFont font = this->font();
        font.setPointSize(points);
        font.setBold(bold);
        return font;
    };
    for (QLabel* label : {Label1, Label2}) label->setFont(sized(14, true));
    for (QListWidget* list : {lstBook, lstUnit}) list->setFont(sized(15, false));
    for (QLabel* label : {lblBookUnit, lblNotSaved}) label->setFont(sized(14, false));
    for (QPushButton* button : {cmdOK, cmdCancle}) {
        button->setFont(sized(14, true));
        button->setMinimumSize(110, 40);
    }
}

int FormBookUnit::exec() {
    Form_Load();
    return QDialog::exec();
}

void FormBookUnit::Form_Load() {
    const LessonState& state = context_.state;
    const QSignalBlocker blockBooks(lstBook);
    lstBook->clear();
    for (qint16 i = 0; i < state.BookCount; ++i) lstBook->addItem(context_.catalogue.GetBookName(i));
    FillUnitList(state.CurBook);
    setWindowTitle(state.VersionName + QStringLiteral("--选择教程"));
    lstBook->setCurrentRow(state.CurBook);
    const QSignalBlocker blockUnits(lstUnit);
    lstUnit->setCurrentRow(state.CurUnit);
    ShowSelection();
    lblNotSaved->hide();
}

void FormBookUnit::FillUnitList(int book) {
    const QSignalBlocker block(lstUnit);
    lstUnit->clear();
    listedBook_ = book;
    if (!context_.catalogue.LoadUnits(static_cast<qint16>(book))) return;
    const LessonState& state = context_.state;
    for (int i = 0; i < state.UnitCount; ++i) lstUnit->addItem(state.BookUnits[i].UnitName);
}

void FormBookUnit::ShowSelection() {
    const QListWidgetItem* book = lstBook->currentItem();
    const QListWidgetItem* unit = lstUnit->currentItem();
    lblBookUnit->setText((book ? book->text() : QString()) + QStringLiteral("  ") +
                         (unit ? unit->text() : QString()));
}

void FormBookUnit::lstBook_Click() {
    const int book = lstBook->currentRow();
    if (book < 0 || book == listedBook_) return;
    FillUnitList(book);
    {
        const QSignalBlocker block(lstUnit);
        if (lstUnit->count() > 0) lstUnit->setCurrentRow(0);
    }
    ShowSelection();
}

void FormBookUnit::cmdOK_Click() {
    LessonState& state = context_.state;
    if (lstBook->currentRow() < 0 || lstUnit->currentRow() < 0) {
        context_.messages.Show(QStringLiteral("请先选择一个单元。"), state.VersionName);
        return;
    }
    // Results that stay only in memory would be lost with the words they
    // belong to: the unit changes only once they are written.
    if (!context_.words.SaveAllResults()) {
        lblNotSaved->show();
        return;
    }
    lblNotSaved->hide();
    context_.catalogue.SavePendingMarks();
    const qint16 previousBook = state.CurBook, previousUnit = state.CurUnit, previousCount = state.WordCount;
    state.CurBook = static_cast<qint16>(lstBook->currentRow());
    state.CurUnit = static_cast<qint16>(lstUnit->currentRow());
    state.CurWordIndex = 0;
    if (!context_.words.LoadUnitWords(state.CurBook, state.CurUnit)) {
        // The words in memory are still the previous unit's: keep pointing at it.
        state.CurBook = previousBook;
        state.CurUnit = previousUnit;
        state.WordCount = previousCount;
        return;
    }
    context_.db.SavePosition();
    context_.host.mnuLEARN_Orvanel_Click();
    accept();
}
