#pragma once

#include <QDialog>

#include "core/LessonContext.h"

class QLabel;
class QListWidget;
class QPushButton;

// The dialog in which the pupil chooses the book and unit to study.
class FormBookUnit : public QDialog {
public:
    FormBookUnit(LessonContext& context, QWidget* parent);

    // Loads the lists afresh, then shows the dialog modally.
    int exec() override;

    QLabel* Label1;
    QListWidget* lstBook;
    QLabel* Label2;
    QListWidget* lstUnit;
    QLabel* lblBookUnit;
    // Why the unit did not change, while that is so.
    QLabel* lblNotSaved;
    QPushButton* cmdOK;
    QPushButton* cmdCancle;

private:
    void Form_Load();
    void SetFonts();
    void FillUnitList(int book);
    void ShowSelection();
    void lstBook_Click();
    void cmdOK_Click();

    LessonContext& context_;
    int listedBook_ = -1;
};
