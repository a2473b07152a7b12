#pragma once

#include <QWidget>

#include "publish/PublishRules.h"

class MessageService;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabWidget;

// The content editor's window: loads a word list, checks it against the
// source folders, copies pictures and pronunciations into destination
// folders in their scrambled form, and scrambles or unscrambles single files.
class FormPublish : public QWidget {
public:
    static inline const QString kTitle = QStringLiteral("英语Orvanel 内容发布");

    explicit FormPublish(MessageService& messages, QWidget* parent = nullptr);

    // Asks for the access code; a wrong one closes the window unseen.
    bool Open();
    bool LoadAllWords(const QString& path);

    QLineEdit* txtWordFile;
    QPushButton* cmdALL;
    QLabel* lblItemNum;
    QListWidget* List1;
    QPushButton* cmdCopy;
    QPushButton* cmdEncrypt;
    QTabWidget* SSTab1;
    QGroupBox* framePicture;
    QLineEdit* txtPicSrc;
    QPushButton* cmdPicSrc;
    QLineEdit* txtPicDest;
    QPushButton* cmdPicDest;
    QPushButton* cmdCheckPic;
    QPushButton* cmdCopyPic;
    QGroupBox* frameAudio;
    QLineEdit* txtAudioSrc1;
    QPushButton* cmdAudioSrc1;
    QLineEdit* txtAudioSrc2;
    QPushButton* cmdAudioSrc2;
    QLineEdit* txtAudioDest;
    QPushButton* cmdAudioDest;
    QPushButton* cmdCheckAudio;
    QPushButton* cmdCopyAudio;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLayout();
    void ConnectHandlers();

    void cmdALL_Click();
    void ChooseFolderInto(QLineEdit* box);
    void cmdCheckPic_Click();
    void cmdCopyPic_Click();
    void cmdCheckAudio_Click();
    void cmdCopyAudio_Click();
    void cmdCopy_Click();
    void cmdEncrypt_Click();
    void List1_DblClick(QListWidgetItem* item);

    void SetItemNum(const QString& text);
    void ShowList(const QStringList& words);
    QStringList ListedWords() const;
    bool DestinationReady(const QString& dir, const QStringList& sourceDirs);
    void ReportFailures(const QString& dir, const QStringList& words);
    QString StartDir(const QString& boxText) const;
    void Say(const QString& text);

    MessageService& messages_;
    PublishRules rules_;
    QString lastFolder_;
};
