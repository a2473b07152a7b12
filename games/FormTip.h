#pragma once

#include <QDialog>
#include <QString>

class MediaStore;
class ModulePlaySound;
class GamePicture;
class QLabel;
class QPushButton;
class QTimer;

// The letter game's tip: one word with its meaning and picture. It can be
// closed only once its button has come alive, a second after it opened.
class FormTip : public QDialog {
public:
    FormTip(MediaStore& store, ModulePlaySound& sound, QWidget* parent);

    void SetGameWord(const QString& vGameword, const QString& vChinese);
    void LoadWordPic();

    QLabel* lblEnglish;
    QLabel* lblChinese;
    GamePicture* imgWord;
    QPushButton* cmdOK;
    QTimer* Timer1;

protected:
    void reject() override;

private:
    void Timer1_Timer();
    void imgWord_Click();

    MediaStore& store_;
    ModulePlaySound& sound_;
    QString gameWord_;
    QString chinese_;
};
