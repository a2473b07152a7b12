#pragma once

#include <QWidget>
#include <array>

#include "core/LessonContext.h"
#include "quiz/RecognitionRules.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class SpeakerButton;
class WordList;
class WordPicture;

// The word recognition test: every word of the unit is shown and spoken,
// and the pupil picks its Chinese meaning out of four until it is right.
class WordRRK : public QWidget {
public:
    // resultList lists the run's results when it ends with errors.
    WordRRK(LessonContext& context, WordList& resultList, QWidget* parent);

    void SetTestWord();
    // Saves what was answered; true when the view may be left (the pupil is
    // asked first when words are left).
    bool EndTest();
    bool IsTestComplete() const;
    int GetErrNum() const;

    QLabel* lblTestWord;
    QGroupBox* Frame1;
    std::array<QRadioButton*, 5> optAns{};
    QPushButton* cmdOK;
    QPushButton* cmdEnglishVisible;
    QPushButton* cmdExit;
    WordPicture* imgWord;
    SpeakerButton* imgSound;
    QLabel* lblAns;
    QLabel* lblTestedNum;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void cmdOK_Click();
    void cmdExit_Click();
    void cmdEnglishVisible_Click();
    void FinishTest();
    void SaveTestResults();
    int SelectedOption() const;
    void SpeakTestWord();

    LessonContext& context_;
    WordList& resultList_;
    RecognitionRules rules_;
};
