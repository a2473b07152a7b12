#include "publish/FormPublish.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/MessageService.h"
#include "core/WebPage.h"
#include "media/ModuleCrpt.h"

namespace {

const QString kAccessCode = QStringLiteral("rj");
const QString kLackingPictures = QStringLiteral("缺乏图片文件的单词");
const QString kLackingAudio = QStringLiteral("缺乏音频文件的单词");
constexpr int kFailuresNamed = 20;

QPushButton* Button(const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setAccessibleName(caption);
    return button;
}

// A folder box is named after the button that fills it.
QLineEdit* FolderBox(const QPushButton* chooser, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setAccessibleName(chooser->text());
    box->setMinimumWidth(300);
    return box;
}

QString BoxText(const QLineEdit* box) {
    return box->text().trimmed();
}

}  // namespace

FormPublish::FormPublish(MessageService& messages, QWidget* parent)
    : QWidget(parent), txtWordFile(new QLineEdit(this)), cmdALL(Button(QStringLiteral("Load words from Text"), this)),
      lblItemNum(new QLabel(this)), List1(new QListWidget(this)), cmdCopy(Button(QStringLiteral("复制到剪贴板"), this)),
      cmdEncrypt(Button(QStringLiteral("数据库加解密"), this)), SSTab1(new QTabWidget(this)),
      framePicture(new QGroupBox(QStringLiteral("Picture"))), txtPicSrc(nullptr),
      cmdPicSrc(Button(QStringLiteral("Source Dir"), framePicture)), txtPicDest(nullptr),
      cmdPicDest(Button(QStringLiteral("Destination"), framePicture)),
      cmdCheckPic(Button(QStringLiteral("检查图片是否全部存在"), framePicture)),
      cmdCopyPic(Button(QStringLiteral("提取图片"), framePicture)), frameAudio(new QGroupBox(QStringLiteral("Audio"))),
      txtAudioSrc1(nullptr), cmdAudioSrc1(Button(QStringLiteral("Source"), frameAudio)), txtAudioSrc2(nullptr),
      cmdAudioSrc2(Button(QStringLiteral("Source2"), frameAudio)), txtAudioDest(nullptr),
      cmdAudioDest(Button(QStringLiteral("Destination"), frameAudio)),
      cmdCheckAudio(Button(QStringLiteral("检查音频是否全部存在"), frameAudio)),
      cmdCopyAudio(Button(QStringLiteral("提取音频"), frameAudio)), messages_(messages) {
    txtPicSrc = FolderBox(cmdPicSrc, framePicture);
    txtPicDest = FolderBox(cmdPicDest, framePicture);
    txtAudioSrc1 = FolderBox(cmdAudioSrc1, frameAudio);
    txtAudioSrc2 = FolderBox(cmdAudioSrc2, frameAudio);
    txtAudioDest = FolderBox(cmdAudioDest, frameAudio);
    setWindowTitle(kTitle);
    txtWordFile->setPlaceholderText(QStringLiteral("Load Word From This Text File"));
    txtWordFile->setAccessibleName(txtWordFile->placeholderText());
    SetItemNum(QStringLiteral("Display"));
    BuildLayout();
    ConnectHandlers();
}

void FormPublish::BuildLayout() {
    auto* pictureGrid = new QGridLayout(framePicture);
    pictureGrid->addWidget(cmdPicSrc, 0, 0);
    pictureGrid->addWidget(txtPicSrc, 0, 1);
    pictureGrid->addWidget(cmdPicDest, 1, 0);
    pictureGrid->addWidget(txtPicDest, 1, 1);
    pictureGrid->addWidget(cmdCheckPic, 2, 0, 1, 2);
    pictureGrid->addWidget(cmdCopyPic, 3, 0, 1, 2);
    pictureGrid->setRowStretch(4, 1);

    auto* audioGrid = new QGridLayout(frameAudio);
    audioGrid->addWidget(cmdAudioSrc1, 0, 0);
    audioGrid->addWidget(txtAudioSrc1, 0, 1);
    audioGrid->addWidget(cmdAudioSrc2, 1, 0);
    audioGrid->addWidget(txtAudioSrc2, 1, 1);
    audioGrid->addWidget(cmdAudioDest, 2, 0);
    audioGrid->addWidget(txtAudioDest, 2, 1);
    audioGrid->addWidget(cmdCheckAudio, 3, 0, 1, 2);
    audioGrid->addWidget(cmdCopyAudio, 4, 0, 1, 2);
    audioGrid->setRowStretch(5, 1);

    for (QGroupBox* frame : {framePicture, frameAudio}) {
        auto* page = new QWidget;
        auto* pageLayout = new QVBoxLayout(page);
        pageLayout->addWidget(frame);
        SSTab1->addTab(page, frame == framePicture ? QStringLiteral("Pictures") : QStringLiteral("Audio"));
    }

    auto* wordFileRow = new QHBoxLayout;
    wordFileRow->addWidget(txtWordFile, 1);
    wordFileRow->addWidget(cmdALL);
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(lblItemNum);
    listColumn->addWidget(List1, 1);
    listColumn->addWidget(cmdCopy);
    auto* folderColumn = new QVBoxLayout;
    folderColumn->addWidget(SSTab1);
    folderColumn->addStretch(1);
    folderColumn->addWidget(cmdEncrypt, 0, Qt::AlignRight);
    auto* columns = new QHBoxLayout;
    columns->addLayout(listColumn, 2);
    columns->addLayout(folderColumn, 3);
    auto* window = new QVBoxLayout(this);
    window->addLayout(wordFileRow);
    window->addLayout(columns, 1);
    List1->setMinimumWidth(220);
    resize(820, 520);
}

void FormPublish::ConnectHandlers() {
    connect(cmdALL, &QPushButton::clicked, this, [this] { cmdALL_Click(); });
    for (auto [button, box] : {std::pair{cmdPicSrc, txtPicSrc}, std::pair{cmdPicDest, txtPicDest},
                               std::pair{cmdAudioSrc1, txtAudioSrc1}, std::pair{cmdAudioSrc2, txtAudioSrc2},
                               std::pair{cmdAudioDest, txtAudioDest}})
        connect(button, &QPushButton::clicked, this, [this, box = box] { ChooseFolderInto(box); });
    connect(cmdCheckPic, &QPushButton::clicked, this, [this] { cmdCheckPic_Click(); });
    connect(cmdCopyPic, &QPushButton::clicked, this, [this] { cmdCopyPic_Click(); });
    connect(cmdCheckAudio, &QPushButton::clicked, this, [this] { cmdCheckAudio_Click(); });
    connect(cmdCopyAudio, &QPushButton::clicked, this, [this] { cmdCopyAudio_Click(); });
    connect(cmdCopy, &QPushButton::clicked, this, [this] { cmdCopy_Click(); });
    connect(cmdEncrypt, &QPushButton::clicked, this, [this] { cmdEncrypt_Click(); });
    connect(List1, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { List1_DblClick(item); });
    List1->installEventFilter(this);
}

// Enter on a listed word does what the double click does.
bool FormPublish::eventFilter(QObject* watched, QEvent* event) {
    if (watched == List1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && List1->currentItem()) {
            List1_DblClick(List1->currentItem());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool FormPublish::Open() {
    const auto code = messages_.AskText(QStringLiteral("password:"), kTitle, QString());
    if (!code || *code != kAccessCode) {
        close();
        return false;
    }
    show();
    return true;
}

bool FormPublish::LoadAllWords(const QString& path) {
    if (!rules_.LoadAllWords(path)) {
        messages_.Show(QStringLiteral("不能读取单词文件“%1”，单词列表没有改变。").arg(path), kTitle, MsgButtons::Ok,
                       MsgIcon::Warning);
        return false;
    }
    ShowList(rules_.PublishWords());
    SetItemNum(QStringLiteral("Display"));
    return true;
}

void FormPublish::cmdALL_Click() {
    const auto path = messages_.ChooseFile(QStringLiteral("选择单词文件"), StartDir(BoxText(txtWordFile)),
                                           QStringLiteral("文本文件 (*.txt);;所有文件 (*)"));
    if (!path) return;
    lastFolder_ = QFileInfo(*path).absolutePath();
    txtWordFile->setText(*path);
    LoadAllWords(*path);
}

// Boxes hold the folder followed by a separator.
void FormPublish::ChooseFolderInto(QLineEdit* box) {
    const auto folder = messages_.ChooseFolder(QStringLiteral("选择文件夹"), StartDir(BoxText(box)));
    if (!folder) return;
    lastFolder_ = QDir::cleanPath(*folder);
    box->setText(lastFolder_.endsWith(QLatin1Char('/')) ? lastFolder_ : lastFolder_ + QLatin1Char('/'));
}

void FormPublish::cmdCheckPic_Click() {
    SetItemNum(kLackingPictures);
    ShowList(rules_.CheckPictures(BoxText(txtPicSrc)));
    SetItemNum(kLackingPictures + QStringLiteral(":\n") + QString::number(List1->count()));
    Say(QStringLiteral("check picture finished！"));
}

void FormPublish::cmdCopyPic_Click() {
    const QString dest = BoxText(txtPicDest);
    if (!DestinationReady(dest, {BoxText(txtPicSrc)})) return;
    SetItemNum(kLackingPictures);
    const auto outcome = rules_.CopyPictures(BoxText(txtPicSrc), dest);
    ShowList(outcome.missing);
    if (!outcome.failed.isEmpty())
        ReportFailures(dest, outcome.failed);
    else
        Say(QStringLiteral("ok"));
}

void FormPublish::cmdCheckAudio_Click() {
    SetItemNum(kLackingAudio);
    ShowList(rules_.CheckAudio(BoxText(txtAudioSrc1), BoxText(txtAudioSrc2)));
    SetItemNum(kLackingAudio + QStringLiteral(":") + QString::number(List1->count()));
    Say(QStringLiteral("check audio finished！"));
}

void FormPublish::cmdCopyAudio_Click() {
    const QString dest = BoxText(txtAudioDest);
    if (!DestinationReady(dest, {BoxText(txtAudioSrc1), BoxText(txtAudioSrc2)})) return;
    SetItemNum(kLackingAudio);
    const auto outcome = rules_.CopyAudio(BoxText(txtAudioSrc1), BoxText(txtAudioSrc2), dest);
    ShowList(outcome.missing);
    if (!outcome.failed.isEmpty())
        ReportFailures(dest, outcome.failed);
    else if (outcome.missing.isEmpty())
        Say(QStringLiteral("check audio finished！"));
    else
        Say(QStringLiteral("还有单词没有音频文件"));
}

void FormPublish::cmdCopy_Click() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(PublishRules::ClipboardText(ListedWords()));
    Say(QStringLiteral("OK"));
}

void FormPublish::cmdEncrypt_Click() {
    const auto path = messages_.ChooseFile(QStringLiteral("选择要加密或解密的文件"), lastFolder_,
                                           QStringLiteral("所有文件 (*)"));
    if (!path) return;
    lastFolder_ = QFileInfo(*path).absolutePath();
    if (!ModuleCrpt::ScrambleHeader(*path)) {
        messages_.Show(QStringLiteral("文件“%1”不能改写，没有加密或解密。").arg(*path), kTitle, MsgButtons::Ok,
                       MsgIcon::Warning);
        return;
    }
    Say(QStringLiteral("OK"));
}

void FormPublish::List1_DblClick(QListWidgetItem* item) {
    const QString word = item->text().trimmed();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(word);
    WebPage::OpenWebPage(PublishRules::ImageSearchAddress(word));
    delete List1->takeItem(List1->row(item));
}

// The list is named by what the label says it holds.
void FormPublish::SetItemNum(const QString& text) {
    lblItemNum->setText(text);
    List1->setAccessibleName(text);
}

void FormPublish::ShowList(const QStringList& words) {
    List1->clear();
    List1->addItems(words);
}

QStringList FormPublish::ListedWords() const {
    QStringList words;
    for (int i = 0; i < List1->count(); ++i) words << List1->item(i)->text();
    return words;
}

// The copy scrambles what it writes, so a destination among the sources
// would scramble the editor's own files.
bool FormPublish::DestinationReady(const QString& dir, const QStringList& sourceDirs) {
    QString text;
    if (dir.isEmpty()) {
        text = QStringLiteral("还没有选择目标文件夹（Destination），没有复制任何文件。");
    } else if (!PublishRules::IsWritableFolder(dir)) {
        text = QStringLiteral("目标文件夹“%1”不存在或不能写入，没有复制任何文件。").arg(dir);
    } else if (const QString source = PublishRules::SourceClashingWith(dir, sourceDirs); !source.isEmpty()) {
        text = QStringLiteral("目标文件夹“%1”和源文件夹“%2”是同一个文件夹，或者一个在另一个里面。"
                              "为了不改动源文件，没有复制任何文件，请另选一个目标文件夹。")
                   .arg(dir, source);
    } else {
        return true;
    }
    messages_.Show(text, kTitle, MsgButtons::Ok, MsgIcon::Warning);
    return false;
}

void FormPublish::ReportFailures(const QString& dir, const QStringList& words) {
    QString named = words.mid(0, kFailuresNamed).join(QStringLiteral("、"));
    if (words.size() > kFailuresNamed) named += QStringLiteral(" 等 %1 个单词").arg(words.size());
    messages_.Show(QStringLiteral("下列单词的文件没能复制或加密到“%1”，这些单词原有的文件没有改动：\n%2").arg(dir, named),
                   kTitle, MsgButtons::Ok, MsgIcon::Warning);
}

// A dialog opens where the box points, else where the last one was closed.
QString FormPublish::StartDir(const QString& boxText) const {
    if (boxText.isEmpty()) return lastFolder_;
    const QFileInfo info(boxText);
    return info.isDir() ? boxText : info.absolutePath();
}

void FormPublish::Say(const QString& text) {
    messages_.Show(text, kTitle, MsgButtons::Ok, MsgIcon::Information);
}
