#pragma once

#include <QDialog>
#include <array>

#include "core/LessonContext.h"
#include "quiz/OptionTable.h"

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;
class SpeakerButton;
class WordPicture;

// One word asked with four pictures and four meanings. The caller prepares
// it with SetTestWord, shows it modally and then reads retAns. It changes no
// counters and saves nothing; only a right pick closes it.
class FormRRK : public QDialog {
public:
    FormRRK(LessonContext& context, QWidget* parent);

    void SetTestWord(qint16 wordIndex);

    // False once the pupil has picked wrongly while the dialog was open.
    bool retAns = true;

    std::array<QRadioButton*, 5> optAns{};
    std::array<WordPicture*, 4> imgWord{};
    SpeakerButton* imgSound;
    QLabel* lblAns;
    QPushButton* cmdOK;

    // Only the right answer closes the question: Escape and the close box
    // do not skip it.
    void reject() override {}

private:
    void imgWord_Click(int index);
    void cmdOK_Click();
    int SelectedOption() const;
    void SpeakWord();

    LessonContext& context_;
    QButtonGroup* group_;
    OptionTable options_;
    qint16 wordIndex_ = -1;
    QString english_;
    QString chinese_;
};
