#include "app/FormMain.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QToolBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/FormBookUnit.h"
#include "app/FormHelp.h"
#include "core/MessageService.h"
#include "app/ToolbarPictures.h"
#include "app/StartupWarmup.h"
#include "core/WebPage.h"
#include "games/WordFFK.h"
#include "games/WordPPK2.h"
#include "quiz/FormHistory.h"
#include "quiz/FormLearnStatus.h"
#include "quiz/FormReview.h"
#include "quiz/ReviewBook.h"
#include "quiz/WordRRK.h"
#include "views/ClickableLabel.h"
#include "views/Orvanel.h"
#include "views/OrvanelRules.h"
#include "views/WordList.h"
#include "views/WordPicList.h"

namespace {

const QString kAppTitle = QStringLiteral("英语Orvanel");

}  // namespace

FormMain::FormMain(const QString& programDir, MessageService& messages, SoundOutput& output, Recorder& recorder,
                   RandomSource& random, StartupWarmup& warmup)
    : LessonServices(programDir, messages, output, recorder, random, *this),
      warmup_(warmup),
      history_(state_, db_, messages_) {
    warmup_.ApplicationReady();
    setWindowTitle(kAppTitle);
    resize(900, 700);
}

FormMain::~FormMain() {
    warmup_.Finish();
}

void FormMain::CreateMenus() {
    QMenu* mnuFILE = menuBar()->addMenu(QStringLiteral("文件"));
    mnuFILE_BookUnit = mnuFILE->addAction(QStringLiteral("选择词库"), this, [this] { mnuFILE_BookUnit_Click(); });
    mnuFILE->addSeparator();
    mnuExit = mnuFILE->addAction(QStringLiteral("退出"), this, [this] { close(); });

    QMenu* mnuLEARN = menuBar()->addMenu(QStringLiteral("单词初记"));
    mnuLEARN_Orvanel = mnuLEARN->addAction(QStringLiteral("Orvanel"), this, [this] { mnuLEARN_Orvanel_Click(); });
    mnuLEARN_WordList = mnuLEARN->addAction(QStringLiteral("单词列表"), this, [this] { mnuLEARN_WordList_Click(); });

    QMenu* mnuGAME = menuBar()->addMenu(QStringLiteral("单词游戏"));
    mnuGAME_PPK = mnuGAME->addAction(QStringLiteral("单词排排看"), this, [this] { mnuGAME_PPK_Click(); });
    mnuGAME_FFK = mnuGAME->addAction(QStringLiteral("单词连连看"), this, [this] { mnuGAME_FFK_Click(); });

    QMenu* mnuTEST = menuBar()->addMenu(QStringLiteral("单词测试"));
    mnuTEST_SelectChinese =
        mnuTEST->addAction(QStringLiteral("看单词选中文"), this, [this] { mnuTEST_SelectChinese_Click(); });
    mnuTEST_Result = mnuTEST->addAction(QStringLiteral("单元测试结果"), this, [this] { mnuTEST_Result_Click(); });
    mnuTEST_History = mnuTEST->addAction(QStringLiteral("测试历史"), this, [this] { mnuTEST_History_Click(); });
    mnuTEST_History->setEnabled(false);
    mnuTEST_WordErrNum =
        mnuTEST->addAction(QStringLiteral("单词测试详情"), this, [this] { mnuTEST_WordErrNum_Click(); });
    mnuTEST_WordErrNum->setEnabled(false);
    mnuTEST_Review = mnuTEST->addAction(ReviewBook::kTitle, this, [this] { mnuTEST_Review_Click(); });

    QMenu* mnuSET = menuBar()->addMenu(QStringLiteral("工具"));
    mnuSET_Difficult = mnuSET->addAction(QStringLiteral("游戏难度设置"));
    mnuSET_UserDataOut = mnuSET->addAction(QStringLiteral("导出用户数据"));
    mnuSET_UserDataIn = mnuSET->addAction(QStringLiteral("导入用户数据"));
    mnuSET->setEnabled(false);

    QMenu* mnuHELP = menuBar()->addMenu(QStringLiteral("帮助"));
    mnuHELP_HowToUse = mnuHELP->addAction(QStringLiteral("如何使用？"), this, [this] { mnuHELP_HowToUse_Click(); });
    mnuHELP_OnLine = mnuHELP->addAction(QStringLiteral("在线帮助"), this,
                                        [] { WebPage::OpenWebPage(WebPage::kOnlineHelp); });
}

void FormMain::CreateToolbar() {
    QToolBar* toolbar = addToolBar(QStringLiteral("工具栏"));
    toolbar->setMovable(false);
    toolbar->setIconSize(QSize(48, 48));
    const ToolbarPictures::Set pictures = warmup_.DrawnToolbarPictures();
    const struct {
        QString caption;
        const QImage& picture;
        QAction* command;
    } buttons[] = {
        {QStringLiteral("选择词库"), pictures.bookUnit, mnuFILE_BookUnit},
        {QStringLiteral("Orvanel"), pictures.learn, mnuLEARN_Orvanel},
        {QStringLiteral("单词排排看"), pictures.arrangeGame, mnuGAME_PPK},
        {QStringLiteral("单词连连看"), pictures.flipGame, mnuGAME_FFK},
        {QStringLiteral("单元测试"), pictures.test, mnuTEST_SelectChinese},
        {QStringLiteral("帮助"), pictures.help, mnuHELP_HowToUse},
        {QStringLiteral("错词本"), pictures.review, mnuTEST_Review},
    };
    for (size_t i = 0; i < imgCommand.size(); ++i) {
        auto* button = new QToolButton(toolbar);
        button->setText(buttons[i].caption);
        button->setIcon(QIcon(QPixmap::fromImage(buttons[i].picture)));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAccessibleName(buttons[i].caption);
        button->setFixedSize(96, 78);
        QAction* command = buttons[i].command;
        connect(button, &QToolButton::clicked, this, [this, command] {
            StopReadAutoplay();
            command->trigger();
        });
        toolbar->addWidget(button);
        imgCommand[i] = button;
    }
    // Counted once the window shows, so the start does not wait on the
    // review records; a window left open over midnight counts the new day.
    QTimer::singleShot(0, this, [this] { RefreshReviewCaption(); });
    auto* minute = new QTimer(this);
    connect(minute, &QTimer::timeout, this, [this] { RefreshReviewCaption(); });
    minute->start(60 * 1000);
}

void FormMain::RefreshReviewCaption() {
    QToolButton* button = imgCommand.back();
    if (!button) return;
    button->setText(reviewBook_.ButtonCaption());
    button->setAccessibleName(button->text());
}

void FormMain::CreateViews() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    MainFrame = new QWidget(central);
    MainFrame->setAccessibleName(QStringLiteral("学习区"));
    MainFrame->installEventFilter(this);
    layout->addWidget(MainFrame, 1);

    auto* footer = new QHBoxLayout;
    footer->setContentsMargins(8, 2, 8, 4);
    // Plain clickable text: cheaper to make than a rich-text link, and
    // reachable from the keyboard.
    lblMyWebName = new ClickableLabel(WebPage::kMakerName, central);
    lblMyWeb = new ClickableLabel(QString(), central);
    QPalette blue = lblMyWeb->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    lblMyWeb->setPalette(blue);
    for (ClickableLabel* label : {lblMyWebName, lblMyWeb})
        connect(label, &ClickableLabel::clicked, this, [] { WebPage::OpenWebPage(WebPage::kMakerHome); });
    footer->addStretch();
    footer->addWidget(lblMyWebName);
    footer->addWidget(lblMyWeb);
    layout->addLayout(footer);
    setCentralWidget(central);

    Orvanel1 = new Orvanel(context_, ticks_, warmup_.DrawnReadViewPictures(), MainFrame);
    HideAllViews();
}

// The lesson's settings, units and words, read within one open of the file;
// false when the start cannot go on.
bool FormMain::LoadLesson(bool& wordsLoaded) {
    return db_.InOneOpen([&] { return ReadLesson(wordsLoaded); });
}

bool FormMain::ReadLesson(bool& wordsLoaded) {
    if (!db_.LoadSettings()) return false;
    // A stored position outside the lists falls back to the first book or unit.
    if (state_.CurBook < 0 || state_.CurBook >= state_.BookCount) state_.CurBook = 0;
    catalogue_.LoadUnits(state_.CurBook);
    if (db_.Refused()) return false;
    if (state_.CurUnit < 0 || state_.CurUnit >= state_.UnitCount) state_.CurUnit = 0;
    wordsLoaded = words_.LoadUnitWords(state_.CurBook, state_.CurUnit);
    return !db_.Refused();
}

bool FormMain::Start() {
    db_.BuildConnString(store_.AppPicsDir());
    bool wordsLoaded = false;
    if (!LoadLesson(wordsLoaded)) return false;
    ReportMissingMediaFolders();
    // The first word's pictures load on a second thread while the window
    // is being built.
    if (wordsLoaded)
        store_.PrefetchPictures(OrvanelRules(state_, random_).EntrancePictures(devicePixelRatio()));
    CreateMenus();
    // The first text: the toolbar waits for its pictures, and with them
    // for the font configuration.
    CreateToolbar();
    CreateViews();
    if (!wordsLoaded) {
        if (BookUnitDialog().exec() != QDialog::Accepted) {
            if (!sessionEnded_)
                messages_.Show(QStringLiteral("没有选择单元，程序将退出。"), kAppTitle, MsgButtons::Ok,
                               MsgIcon::Information);
            return false;
        }
        // The dialog reads the units of every book it shows.
        catalogue_.LoadUnits(state_.CurBook);
    }
    RefreshTitle();
    lblMyWeb->setText(WebPage::kMakerHome);
    InitControls();
    mnuLEARN_Orvanel_Click();
    started_ = true;
    return true;
}

// Without its media folders the program still runs, but the pupil should know
// why no picture shows and no word is heard.
void FormMain::ReportMissingMediaFolders() {
    const QStringList missing = store_.MissingFolders();
    if (missing.isEmpty()) return;
    messages_.Show(QStringLiteral("找不到存放图片和声音的文件夹：\n%1\n单词的图片和读音将不能显示和播放。")
                       .arg(missing.join(QLatin1Char('\n'))),
                   kAppTitle, MsgButtons::Ok, MsgIcon::Warning);
}

void FormMain::InitControls() {
    HideAllViews();
    FitViews();
    Orvanel1->InitUserControl();
    Orvanel1->LoadWord();
}

std::array<QWidget*, 7> FormMain::Views() const {
    return {Orvanel1, WordPPK21, WordList1, WordPicList1, WordRRK1, WordFFK1, FormReview1};
}

void FormMain::FitViews() {
    const QRect area(QPoint(0, 0), MainFrame->size());
    for (QWidget* view : Views())
        if (view) view->setGeometry(area);
}

// A view made late fills the frame like the others and stays hidden until
// shown.
template <class View, class... Extra>
View& FormMain::Made(View*& view, Extra&... extra) {
    if (!view) {
        view = new View(context_, extra..., MainFrame);
        view->setGeometry(QRect(QPoint(0, 0), MainFrame->size()));
        view->hide();
    }
    return *view;
}

bool FormMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == MainFrame && event->type() == QEvent::Resize) FitViews();
    return QMainWindow::eventFilter(watched, event);
}

void FormMain::HideAllViews() {
    for (QWidget* view : Views())
        if (view) view->setVisible(false);
}

void FormMain::StopReadAutoplay() {
    Orvanel1->StopAutoplay();
}

void FormMain::RefreshTitle() {
    const bool unitKnown = state_.CurUnit >= 0 && state_.CurUnit < static_cast<int>(state_.BookUnits.size());
    setWindowTitle(state_.VersionName + QStringLiteral("Orvanel -- ") + catalogue_.GetBookName(state_.CurBook) +
                   QStringLiteral("  ") + (unitKnown ? state_.BookUnits[state_.CurUnit].UnitName : QString()));
}

void FormMain::ShowUserControl(qint16 iDisplayCtrl) {
    HideAllViews();
    viewMode_ = iDisplayCtrl;
    switch (iDisplayCtrl) {
    case 1:
        Orvanel1->setVisible(true);
        state_.EffectRunning = false;
        state_.ReadViewEntered = true;
        Orvanel1->ChangeWord(state_.CurWordIndex);
        break;
    case 2:
        Made(WordList1).setVisible(true);
        break;
    case 3:
        words_.PrepareArrangeRun();
        reviewBook_.BeginRun(AnswerSource::Game);
        Made(WordPPK21).setVisible(true);
        WordPPK21->InitGamePPK();
        break;
    case 4:
        words_.ResetRunFlags();
        reviewBook_.BeginRun(AnswerSource::Test);
        Made(WordRRK1, Made(WordList1)).SetTestWord();
        WordRRK1->setVisible(true);
        break;
    case 6:
        words_.ResetRunFlags();
        Made(WordFFK1).StartGameFFK();
        WordFFK1->setVisible(true);
        break;
    case 8:
        Made(WordPicList1).setVisible(true);
        WordPicList1->LoadPics();
        break;
    case 9:
        Made(FormReview1).StartReview();
        FormReview1->setVisible(true);
        break;
    default:
        break;
    }
    RefreshReviewCaption();
}

bool FormMain::EndOtherCtrl() {
    if (viewMode_ == 3) return WordPPK21->EndGame();
    if (viewMode_ == 4) return WordRRK1->EndTest();
    if (viewMode_ == 9) return FormReview1->EndReview();
    return true;
}

FormBookUnit& FormMain::BookUnitDialog() {
    if (!bookUnitDialog_) bookUnitDialog_ = new FormBookUnit(context_, this);
    return *bookUnitDialog_;
}

FormHelp& FormMain::HelpWindow() {
    if (!helpWindow_) helpWindow_ = new FormHelp(store_, this);
    return *helpWindow_;
}

void FormMain::ShowPPKHelp() {
    HelpWindow().Load_PPKHelp();
    HelpWindow().exec();
}

void FormMain::mnuFILE_BookUnit_Click() {
    const bool leavesRun = viewMode_ == 3 || viewMode_ == 4;
    if (!EndOtherCtrl()) return;
    // The pupil has agreed to leave the test or the game: it has ended, so
    // nothing asks again and nothing of it stays on screen over other words.
    if (leavesRun) ShowUserControl(0);
    const qint16 studied = state_.CurWordIndex;
    const bool chosen = BookUnitDialog().exec() == QDialog::Accepted;
    RestoreUnitList(chosen ? state_.CurWordIndex : studied);
    if (viewMode_ == 0) ShowUserControl(1);
    RefreshTitle();
}

// Browsing other books reads their units into the shared list, which also
// sets the word index back to the first word. The current book's units come
// back, and the index again names the word the view shows.
void FormMain::RestoreUnitList(qint16 wordIndex) {
    catalogue_.LoadUnits(state_.CurBook);
    state_.CurWordIndex = wordIndex;
}

void FormMain::mnuLEARN_Orvanel_Click() {
    if (!EndOtherCtrl()) return;
    ShowUserControl(1);
}

void FormMain::mnuLEARN_WordList_Click() {
    if (!EndOtherCtrl()) return;
    StopReadAutoplay();
    ShowUserControl(8);
}

void FormMain::mnuGAME_PPK_Click() {
    if (!EndOtherCtrl()) return;
    ShowUserControl(3);
}

void FormMain::mnuGAME_FFK_Click() {
    if (!EndOtherCtrl()) return;
    ShowUserControl(6);
}

void FormMain::mnuTEST_SelectChinese_Click() {
    if (!EndOtherCtrl()) return;
    ShowUserControl(4);
}

// The window browses books through the shared unit list; the current
// book's units come back when it closes.
void FormMain::mnuTEST_Result_Click() {
    const qint16 studied = state_.CurWordIndex;
    FormLearnStatus window(context_, this);
    window.exec();
    RestoreUnitList(studied);
}

void FormMain::mnuTEST_History_Click() {
    if (history_.LoadHistory() > 0) FormHistory(history_.HistoryList, this).exec();
}

void FormMain::mnuTEST_Review_Click() {
    if (!EndOtherCtrl()) return;
    // Told so when nothing is due today.
    if (!Made(FormReview1).AnyWordDue()) return;
    ShowUserControl(9);
}

void FormMain::mnuTEST_WordErrNum_Click() {
    if (!EndOtherCtrl()) return;
    Orvanel1->StopAutoplay();
    ShowUserControl(2);
    Made(WordList1).FillWordErrNum();
}

void FormMain::mnuHELP_HowToUse_Click() {
    HelpWindow().Load_Help();
    HelpWindow().exec();
}

void FormMain::closeEvent(QCloseEvent* event) {
    if (messages_.Show(QStringLiteral("真的要退出吗?"), kAppTitle, MsgButtons::YesNo, MsgIcon::Question) !=
        MsgAnswer::Yes) {
        event->ignore();
        return;
    }
    SaveAndQuit();
    event->accept();
}

// Before the start has finished there is nothing of the pupil's to save.
void FormMain::EndSession() {
    sessionEnded_ = true;
    if (started_) SaveAndQuit();
}

// Position and results are one save: a failing database tells the pupil
// once, and the program still ends. Unit marks still waiting follow it.
void FormMain::SaveAndQuit() {
    state_.ReadViewEntered = true;
    state_.EffectRunning = false;
    if (db_.InOneTransaction([this] { return db_.SavePosition() && words_.SaveAllResults(); }))
        catalogue_.SavePendingMarks();
}
