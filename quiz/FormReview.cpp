#include "quiz/FormReview.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "core/MainHost.h"
#include "core/MessageService.h"
#include "media/MediaStore.h"
#include "media/ModulePlaySound.h"
#include "quiz/ArrowChoice.h"
#include "quiz/ReviewBook.h"
#include "quiz/SpeakerButton.h"
#include "views/SizedFont.h"
#include "views/WordPicture.h"

namespace {

const QString kHearPrompt = QStringLiteral("听一听，选出这个单词的图片");
const QString kSeePrompt = QStringLiteral("看一看图片，选出它的英语单词");
const QString kConfirm = QStringLiteral("确定");
const QString kNext = QStringLiteral("下一个");

}  // namespace

FormReview::FormReview(LessonContext& context, QWidget* parent)
    : QWidget(parent),
      lblProgress(new QLabel(this)),
      lblPrompt(new QLabel(this)),
      imgSound(new SpeakerButton(context.store, this)),
      imgWord(new WordPicture(this)),
      lblAns(new QLabel(this)),
      cmdOK(new QPushButton(kConfirm, this)),
      cmdExit(new QPushButton(QStringLiteral("结束复习"), this)),
      context_(context),
      rules_(context.review, context.random) {
    lblProgress->setFont(SizedFont(font(), 16));
    lblPrompt->setFont(SizedFont(font(), 22, true));
    lblPrompt->setStyleSheet(QStringLiteral("color: #1a4f9c;"));
    imgWord->setFocusPolicy(Qt::NoFocus);
    imgWord->setFixedSize(300, 210);
    lblAns->setFont(SizedFont(font(), 20));
    lblAns->setStyleSheet(QStringLiteral("color: #c00000;"));
    lblAns->setWordWrap(true);
    lblAns->hide();

    auto* group = new QButtonGroup(this);
    auto* grid = new QGridLayout;
    grid->setSpacing(14);
    for (int i = 0; i < 5; ++i) {
        optAns[i] = new QRadioButton(this);
        optAns[i]->setFont(SizedFont(font(), 20));
        group->addButton(optAns[i], i);
        connect(optAns[i], &QRadioButton::clicked, cmdOK, [this] { cmdOK->setEnabled(!showingAnswer_); });
    }
    // The fifth option only clears the visible choice.
    optAns[4]->hide();
    ChooseWithArrows(this, std::span(optAns).first(4));
    for (int i = 0; i < 4; ++i) {
        imgOpt[i] = new WordPicture(this);
        imgOpt[i]->setFixedSize(220, 150);
        connect(imgOpt[i], &WordPicture::clicked, this, [this, i] { Choose(i); });
        connect(imgOpt[i], &WordPicture::doubleClicked, this, [this, i] {
            Choose(i);
            if (cmdOK->isEnabled()) cmdOK->click();
        });
        auto* cell = new QVBoxLayout;
        cell->setSpacing(4);
        cell->addWidget(imgOpt[i], 0, Qt::AlignHCenter);
        cell->addWidget(optAns[i], 0, Qt::AlignHCenter);
        grid->addLayout(cell, i / 2, i % 2);
    }
    for (int i = 0; i < 4; ++i) {
        auto* key = new QShortcut(QKeySequence(Qt::Key_1 + i), this);
        key->setContext(Qt::WidgetWithChildrenShortcut);
        connect(key, &QShortcut::activated, this, [this, i] { Choose(i); });
    }
    auto* repeat = new QShortcut(QKeySequence(Qt::Key_Space), this);
    repeat->setContext(Qt::WidgetWithChildrenShortcut);
    connect(repeat, &QShortcut::activated, this, [this] {
        if (imgSound->isVisible()) SpeakWord();
    });

    for (QPushButton* button : {cmdOK, cmdExit}) {
        button->setFont(SizedFont(font(), 16));
        button->setMinimumSize(140, 48);
    }
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    connect(imgSound, &QToolButton::clicked, this, [this] { SpeakWord(); });

    auto* top = new QHBoxLayout;
    top->addWidget(lblPrompt);
    top->addWidget(imgSound);
    top->addStretch();
    top->addWidget(lblProgress);
    auto* answer = new QVBoxLayout;
    answer->addWidget(imgWord, 0, Qt::AlignHCenter);
    answer->addWidget(lblAns);
    answer->addStretch();
    auto* middle = new QHBoxLayout;
    middle->addLayout(grid, 3);
    middle->addSpacing(20);
    middle->addLayout(answer, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdExit);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 20, 40, 20);
    layout->addLayout(top);
    layout->addSpacing(10);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);
}

bool FormReview::AnyWordDue() {
    if (context_.review.DueCount() > 0) return true;
    context_.messages.Show(ReviewBook::kNothingDue, ReviewBook::kTitle);
    return false;
}

void FormReview::StartReview() {
    if (!rules_.Start()) return;
    ShowNext();
}

void FormReview::ShowNext() {
    showingAnswer_ = false;
    if (!rules_.AskNext()) {
        FinishReview();
        return;
    }
    ShowQuestion();
    if (isVisible() && rules_.Current().kind == ReviewRules::Kind::HearPickPicture) SpeakWord();
}

QString FormReview::AskedEnglish() const {
    return context_.review.Textbook()[rules_.Current().word].English;
}

void FormReview::ShowQuestion() {
    const ReviewRules::Question& question = rules_.Current();
    const auto& textbook = context_.review.Textbook();
    const bool hear = question.kind == ReviewRules::Kind::HearPickPicture;
    lblPrompt->setText(hear ? kHearPrompt : kSeePrompt);
    lblProgress->setText(QStringLiteral("第%1个，共%2个").arg(rules_.Position()).arg(rules_.QuestionCount()));
    imgSound->setVisible(hear);
    imgWord->setVisible(!hear);
    if (!hear) imgWord->SetPicture(context_.store.LoadWordPicture(AskedEnglish()), AskedEnglish());
    for (int i = 0; i < 4; ++i) {
        const int word = question.options[i];
        optAns[i]->setVisible(word >= 0);
        imgOpt[i]->setVisible(word >= 0 && hear);
        if (word < 0) continue;
        const QString& english = textbook[word].English;
        // The number is the key that picks the option.
        optAns[i]->setText(hear ? QString::number(i + 1) : QStringLiteral("%1  %2").arg(i + 1).arg(english));
        if (hear) imgOpt[i]->SetPicture(context_.store.LoadWordPicture(english), english);
    }
    optAns[4]->setChecked(true);
    lblAns->hide();
    cmdOK->setText(kConfirm);
    cmdOK->setEnabled(false);
    optAns[0]->setFocus();
}

void FormReview::Choose(int slot) {
    if (showingAnswer_ || !rules_.InSession() || !optAns[slot]->isVisible()) return;
    optAns[slot]->setChecked(true);
    optAns[slot]->setFocus();
    cmdOK->setEnabled(true);
}

int FormReview::SelectedOption() const {
    for (int i = 0; i < 5; ++i)
        if (optAns[i]->isChecked()) return i;
    return 4;
}

void FormReview::cmdOK_Click() {
    if (showingAnswer_) {
        ShowNext();
        return;
    }
    const int selected = SelectedOption();
    if (selected >= 4 || !rules_.InSession()) return;
    if (rules_.Judge(selected)) {
        context_.sound.PlayFeedbackSound(1);
        ShowNext();
        return;
    }
    context_.sound.PlayFeedbackSound(2);
    ShowRightAnswer();
    SpeakWord();
}

// The right picture with its spelling and meaning; Enter goes on.
void FormReview::ShowRightAnswer() {
    showingAnswer_ = true;
    const auto& word = context_.review.Textbook()[rules_.Current().word];
    imgWord->SetPicture(context_.store.LoadWordPicture(word.English), word.English);
    imgWord->show();
    imgSound->show();
    lblAns->setText(QStringLiteral("正确答案：%1  %2").arg(word.English, word.Chinese));
    lblAns->show();
    cmdOK->setText(kNext);
    cmdOK->setEnabled(true);
    cmdOK->setFocus();
}

void FormReview::FinishReview() {
    QString summary = QStringLiteral("这次复习了%1个单词，%2个一次就答对了。")
                          .arg(rules_.Reviewed())
                          .arg(rules_.RightFirstTime());
    const QString next = context_.review.NextReviewText();
    if (!next.isEmpty()) summary += QLatin1Char('\n') + next;
    context_.messages.Show(summary, ReviewBook::kTitle);
    context_.host.ShowUserControl(1);
}

bool FormReview::EndReview() {
    if (!rules_.InSession()) return true;
    if (context_.messages.Show(QStringLiteral("还没有复习完，你确定要结束复习吗?"), ReviewBook::kTitle,
                               MsgButtons::OkCancel) == MsgAnswer::Cancel)
        return false;
    rules_.Stop();
    return true;
}

void FormReview::cmdExit_Click() {
    if (EndReview()) context_.host.ShowUserControl(1);
}

void FormReview::SpeakWord() {
    if (rules_.InSession()) context_.sound.PlayWordSound(AskedEnglish());
}

void FormReview::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous() || !rules_.InSession() || showingAnswer_) return;
    if (rules_.Current().kind == ReviewRules::Kind::HearPickPicture) SpeakWord();
}

// Enter confirms the choice or goes on, wherever the focus is in the view.
void FormReview::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && cmdOK->isEnabled()) {
        cmdOK->click();
        return;
    }
    QWidget::keyPressEvent(event);
}
