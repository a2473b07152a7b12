#pragma once

#include <QDialog>

class MediaStore;
class QPushButton;
class QTextBrowser;

// A small window showing one help text from the program's AppPics folder.
class FormHelp : public QDialog {
public:
    FormHelp(const MediaStore& store, QWidget* parent);

    void Load_Help();
    void Load_PPKHelp();

    QTextBrowser* txtHelp;
    QPushButton* cmdOK;

private:
    void LoadHelpFile(const QString& fileName);

    const MediaStore& store_;
};
