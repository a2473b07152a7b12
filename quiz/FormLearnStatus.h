#pragma once

#include <QDialog>

#include "core/LessonContext.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;

// Which units of a book have passed the letter game and the test. Browsing
// another book loads its units into the shared unit list; whoever opens
// the window loads the current book's units again afterwards.
class FormLearnStatus : public QDialog {
public:
    FormLearnStatus(LessonContext& context, QWidget* parent);

    // Loads the window afresh, then shows it modally.
    int exec() override;
    void FillDetailList(qint16 book);

    QLabel* lblTitle;
    QLabel* Label2;
    QListWidget* lstBook;
    QLabel* Label3;
    QTreeWidget* ListDetail;
    QPushButton* cmdOK;

    static constexpr int kTextPointSize = 13;
    static constexpr int kTitlePointSize = 18;

private:
    void Form_Load();

    LessonContext& context_;
};
