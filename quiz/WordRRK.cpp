#include "quiz/WordRRK.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/LessonState.h"
#include "core/MainHost.h"
#include "core/MessageService.h"
#include "data/Catalogue.h"
#include "media/MediaStore.h"
#include "media/ModulePlaySound.h"
#include "quiz/ArrowChoice.h"
#include "quiz/ReviewBook.h"
#include "quiz/SpeakerButton.h"
#include "views/WordList.h"
#include "views/SizedFont.h"
#include "views/WordPicture.h"

namespace {

const QString kHideEnglish = QStringLiteral("隐藏英语单词");
const QString kShowEnglish = QStringLiteral("显示英语单词");
const QString kTestTitle = QStringLiteral("单词认知测试");

}  // namespace

WordRRK::WordRRK(LessonContext& context, WordList& resultList, QWidget* parent)
    : QWidget(parent),
      lblTestWord(new QLabel(QStringLiteral("English Word"), this)),
      Frame1(new QGroupBox(this)),
      cmdOK(new QPushButton(QStringLiteral("确定"), this)),
      cmdEnglishVisible(new QPushButton(kHideEnglish, this)),
      cmdExit(new QPushButton(QStringLiteral("结束测试"), this)),
      imgWord(new WordPicture(this)),
      imgSound(new SpeakerButton(context.store, this)),
      lblAns(new QLabel(QStringLiteral("正确答案："), this)),
      lblTestedNum(new QLabel(this)),
      context_(context),
      resultList_(resultList),
      rules_(context.state, context.words, context.db, context.random) {
    lblTestWord->setFont(SizedFont(font(), 36, true));
    lblTestWord->setStyleSheet(QStringLiteral("color: #1a4f9c;"));
    lblTestWord->setAlignment(Qt::AlignCenter);
    lblTestWord->setMinimumHeight(80);

    Frame1->setAccessibleName(QStringLiteral("选择中文意思"));
    auto* group = new QButtonGroup(this);
    auto* options = new QVBoxLayout(Frame1);
    options->setSpacing(14);
    for (int i = 0; i < 5; ++i) {
        optAns[i] = new QRadioButton(Frame1);
        optAns[i]->setFont(SizedFont(font(), 20));
        group->addButton(optAns[i], i);
        connect(optAns[i], &QRadioButton::clicked, cmdOK, [this] { cmdOK->setEnabled(true); });
        if (i < 4) options->addWidget(optAns[i]);
    }
    // The fifth option only clears the visible choice.
    optAns[4]->hide();
    ChooseWithArrows(this, std::span(optAns).first(4));

    imgWord->setFocusPolicy(Qt::NoFocus);
    imgWord->setFixedSize(300, 210);
    imgWord->hide();
    lblAns->setFont(SizedFont(font(), 18));
    lblAns->setStyleSheet(QStringLiteral("color: #c00000;"));
    lblAns->setWordWrap(true);
    lblAns->hide();
    lblTestedNum->setFont(SizedFont(font(), 16));

    for (QPushButton* button : {cmdOK, cmdEnglishVisible, cmdExit}) {
        button->setFont(SizedFont(font(), 14));
        button->setMinimumSize(140, 44);
    }
    cmdOK->setEnabled(false);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    connect(cmdEnglishVisible, &QPushButton::clicked, this, [this] { cmdEnglishVisible_Click(); });
    connect(imgSound, &QToolButton::clicked, this, [this] { SpeakTestWord(); });

    auto* wordRow = new QHBoxLayout;
    wordRow->addStretch();
    wordRow->addWidget(lblTestWord);
    wordRow->addWidget(imgSound);
    wordRow->addStretch();

    auto* answerColumn = new QVBoxLayout;
    answerColumn->addWidget(imgWord, 0, Qt::AlignHCenter);
    answerColumn->addWidget(lblAns);
    answerColumn->addStretch();
    auto* middle = new QHBoxLayout;
    middle->addWidget(Frame1, 3);
    middle->addSpacing(20);
    middle->addLayout(answerColumn, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblTestedNum);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdEnglishVisible);
    buttons->addWidget(cmdExit);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 20, 40, 20);
    layout->addLayout(wordRow);
    layout->addSpacing(10);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);
    setTabOrder(optAns[0], cmdOK);
}

void WordRRK::SetTestWord() {
    optAns[4]->setChecked(true);
    lblAns->hide();
    if (!rules_.AskNextWord()) {
        FinishTest();
        return;
    }
    const LessonState& state = context_.state;
    const CWordType& word = state.Words[rules_.TestWord()];
    lblTestWord->setText(word.English);
    for (int i = 0; i < 4; ++i) {
        const qint16 slot = rules_.Options().Slot(i);
        optAns[i]->setVisible(slot >= 0);
        if (slot >= 0) optAns[i]->setText(state.Words[slot].Chinese);
    }
    cmdOK->setEnabled(false);
    imgWord->hide();
    imgWord->SetPicture(context_.store.LoadWordPicture(word.English), word.English);
}

int WordRRK::SelectedOption() const {
    for (int i = 0; i < 5; ++i)
        if (optAns[i]->isChecked()) return i;
    return 4;
}

void WordRRK::cmdOK_Click() {
    const int selected = SelectedOption();
    const QString asked = context_.state.Words[rules_.TestWord()].English;
    const bool right = rules_.JudgeAnswer(selected);
    // Only the first answer to a word in a run is graded.
    context_.review.Grade(AnswerSource::Test, asked, right);
    if (!right) {
        SpeakTestWord();
        const QString answer = QStringLiteral("正确答案是： ") + context_.state.Words[rules_.TestWord()].Chinese;
        lblAns->setText(answer);
        lblAns->show();
        imgWord->show();
        context_.messages.Show(answer, QStringLiteral("错啦！"));
        return;
    }
    cmdOK->setEnabled(false);
    lblTestedNum->setText(QStringLiteral("%1/%2").arg(context_.state.TestedCount).arg(context_.state.WordCount));
    SetTestWord();
    SpeakTestWord();
}

void WordRRK::FinishTest() {
    Frame1->setEnabled(false);
    SaveTestResults();
    const int errors = GetErrNum();
    if (errors > 0) {
        context_.messages.Show(QStringLiteral("本次共测试了%1个单词,有%2次错误！还要继续努力喔！")
                                   .arg(context_.state.WordCount)
                                   .arg(errors),
                               kTestTitle);
        context_.host.ShowUserControl(2);
        resultList_.FillWordTestResultList();
        return;
    }
    context_.catalogue.MergeUnitStatus(2);
    context_.messages.Show(QStringLiteral("你好棒喔！全对了耶！！"), kTestTitle);
    if (EndTest()) context_.host.ShowUserControl(1);
}

bool WordRRK::EndTest() {
    if (!IsTestComplete() &&
        context_.messages.Show(QStringLiteral("还没有完成测试，你确定要结束单元测试吗?"), QStringLiteral("单词测试"),
                               MsgButtons::OkCancel) == MsgAnswer::Cancel) {
        SaveTestResults();
        return false;
    }
    SaveTestResults();
    return true;
}

bool WordRRK::IsTestComplete() const {
    return rules_.IsTestComplete();
}

int WordRRK::GetErrNum() const {
    return rules_.GetErrNum();
}

void WordRRK::SaveTestResults() {
    rules_.SaveTestResults();
}

void WordRRK::cmdExit_Click() {
    if (EndTest()) context_.host.ShowUserControl(1);
}

void WordRRK::cmdEnglishVisible_Click() {
    if (cmdEnglishVisible->text() == kHideEnglish) {
        lblTestWord->hide();
        cmdEnglishVisible->hide();
        SetTestWord();
        SpeakTestWord();
        cmdEnglishVisible->setText(kShowEnglish);
    } else {
        lblTestWord->show();
        cmdEnglishVisible->setText(kHideEnglish);
    }
}

void WordRRK::SpeakTestWord() {
    context_.sound.PlayWordSound(lblTestWord->text().trimmed());
}

void WordRRK::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) return;
    Frame1->setEnabled(true);
    SpeakTestWord();
    cmdEnglishVisible->show();
    lblTestedNum->clear();
}

// Enter judges the chosen option, wherever the focus is in the view.
void WordRRK::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && cmdOK->isEnabled()) {
        cmdOK->click();
        return;
    }
    QWidget::keyPressEvent(event);
}
