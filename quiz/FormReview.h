#pragma once

#include <QWidget>
#include <array>

#include "core/LessonContext.h"
#include "quiz/ReviewRules.h"

class QLabel;
class QPushButton;
class QRadioButton;
class SpeakerButton;
class WordPicture;

// The daily review of the 错词本: each due word picture-first, either heard
// and picked out of four pictures or seen and picked out of four spellings.
class FormReview : public QWidget {
public:
    FormReview(LessonContext& context, QWidget* parent);

    // False, after telling the pupil, when no word is due today.
    bool AnyWordDue();
    // Starts a session with today's words (the first question is spoken
    // when the view is shown).
    void StartReview();
    // True when the view may be left; asks first in the middle of a
    // session. Every graded answer is stored already.
    bool EndReview();

    QLabel* lblProgress;
    QLabel* lblPrompt;
    SpeakerButton* imgSound;
    WordPicture* imgWord;
    std::array<WordPicture*, 4> imgOpt{};
    std::array<QRadioButton*, 5> optAns{};
    QLabel* lblAns;
    QPushButton* cmdOK;
    QPushButton* cmdExit;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowNext();
    void ShowQuestion();
    void cmdOK_Click();
    void cmdExit_Click();
    void Choose(int slot);
    void ShowRightAnswer();
    void FinishReview();
    void SpeakWord();
    int SelectedOption() const;
    QString AskedEnglish() const;

    LessonContext& context_;
    ReviewRules rules_;
    bool showingAnswer_ = false;
};
