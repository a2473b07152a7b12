#pragma once

#include <QMainWindow>
#include <array>

#include "app/LessonServices.h"
#include "core/MainHost.h"
#include "quiz/TestHistory.h"

class QMenu;
class ClickableLabel;
class StartupWarmup;
class FormBookUnit;
class FormHelp;
class FormReview;
class QAction;
class QToolButton;
class Orvanel;
class SoundOutput;
class WordFFK;
class WordList;
class WordPicList;
class WordPPK2;
class WordRRK;

// The program's main window: it starts the lesson data, hosts the views
// on top of each other and switches between them, and saves at exit. The
// services come before the widget base, so every child widget is gone before
// they are destroyed (no Q_OBJECT here: moc wants QObject first).
class FormMain : public MainHost, private LessonServices, public QMainWindow {
public:
    // The warm-up is told here that the application is ready, and is
    // finished before the window goes.
    FormMain(const QString& programDir, MessageService& messages, SoundOutput& output, Recorder& recorder,
             RandomSource& random, StartupWarmup& warmup);
    ~FormMain() override;

    // The start-up sequence: reads the lesson, then builds the window's
    // menus, toolbar and views while the first word's pictures load; false
    // when the program has to end (the reason has been shown to the pupil
    // and nothing was written).
    bool Start();

    // The desktop session ends (the session manager's request, SIGTERM):
    // position and results are saved as Yes at exit saves them, without a
    // question nobody could answer.
    void EndSession();
    bool SessionEnded() const { return sessionEnded_; }

    void InitControls();
    void ShowUserControl(qint16 iDisplayCtrl) override;
    bool EndOtherCtrl();
    void mnuLEARN_Orvanel_Click() override;
    void ShowPPKHelp() override;
    // No menu on a right click: it would offer to hide the toolbar, and
    // nothing would bring it back.
    QMenu* createPopupMenu() override { return nullptr; }

    qint16 ViewMode() const { return viewMode_; }
    LessonState& State() { return state_; }
    MediaStore& Store() { return store_; }
    FormBookUnit& BookUnitDialog();
    FormHelp& HelpWindow();

    QWidget* MainFrame = nullptr;
    Orvanel* Orvanel1 = nullptr;
    // The other views are made when first shown, so the window comes up
    // sooner; until then they are null.
    WordList* WordList1 = nullptr;
    WordPPK2* WordPPK21 = nullptr;
    WordRRK* WordRRK1 = nullptr;
    WordFFK* WordFFK1 = nullptr;
    WordPicList* WordPicList1 = nullptr;
    FormReview* FormReview1 = nullptr;
    // The six commands and the 错词本, whose caption counts the words due.
    std::array<QToolButton*, 7> imgCommand{};
    ClickableLabel* lblMyWebName = nullptr;
    ClickableLabel* lblMyWeb = nullptr;

    QAction* mnuFILE_BookUnit = nullptr;
    QAction* mnuExit = nullptr;
    QAction* mnuLEARN_Orvanel = nullptr;
    QAction* mnuLEARN_WordList = nullptr;
    QAction* mnuGAME_PPK = nullptr;
    QAction* mnuGAME_FFK = nullptr;
    QAction* mnuTEST_SelectChinese = nullptr;
    QAction* mnuTEST_Result = nullptr;
    QAction* mnuTEST_History = nullptr;
    QAction* mnuTEST_WordErrNum = nullptr;
    QAction* mnuTEST_Review = nullptr;
    QAction* mnuSET_Difficult = nullptr;
    QAction* mnuSET_UserDataOut = nullptr;
    QAction* mnuSET_UserDataIn = nullptr;
    QAction* mnuHELP_HowToUse = nullptr;
    QAction* mnuHELP_OnLine = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateMenus();
    void CreateToolbar();
    void CreateViews();
    bool LoadLesson(bool& wordsLoaded);
    bool ReadLesson(bool& wordsLoaded);
    void HideAllViews();
    void StopReadAutoplay();
    void RefreshTitle();
    void ReportMissingMediaFolders();
    void RestoreUnitList(qint16 wordIndex);
    void SaveAndQuit();
    void FitViews();
    std::array<QWidget*, 7> Views() const;
    void RefreshReviewCaption();
    template <class View, class... Extra>
    View& Made(View*& view, Extra&... extra);

    void mnuFILE_BookUnit_Click();
    void mnuLEARN_WordList_Click();
    void mnuGAME_PPK_Click();
    void mnuGAME_FFK_Click();
    void mnuTEST_SelectChinese_Click();
    void mnuTEST_Result_Click();
    void mnuTEST_History_Click();
    void mnuTEST_WordErrNum_Click();
    void mnuTEST_Review_Click();
    void mnuHELP_HowToUse_Click();

    StartupWarmup& warmup_;
    TestHistory history_;
    qint16 viewMode_ = 0;
    bool started_ = false;
    bool sessionEnded_ = false;
    FormBookUnit* bookUnitDialog_ = nullptr;
    FormHelp* helpWindow_ = nullptr;
};
