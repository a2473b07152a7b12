#include "games/FormTip.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "games/GamePicture.h"
#include "media/MediaStore.h"
#include "media/ModulePlaySound.h"

FormTip::FormTip(MediaStore& store, ModulePlaySound& sound, QWidget* parent)
    : QDialog(parent),
      lblEnglish(new QLabel(QStringLiteral("English"), this)),
      lblChinese(new QLabel(QStringLiteral("Chinese"), this)),
      imgWord(new GamePicture(this)),
      cmdOK(new QPushButton(QStringLiteral("OK"), this)),
      Timer1(new QTimer(this)),
      store_(store),
      sound_(sound) {
    setWindowTitle(QStringLiteral("提示信息"));
    setModal(true);

    // Sizes in points, so that they grow with the desktop's text size as
    // the rest of the program does; none is smaller than the listen-and-read
    // view's buttons.
    QFont english(QStringLiteral("Arial"));
    english.setPointSize(36);
    english.setBold(true);
    lblEnglish->setFont(english);
    lblEnglish->setAlignment(Qt::AlignCenter);
    lblEnglish->setStyleSheet(QStringLiteral("color: #1d3557;"));
    QFont chinese = font();
    chinese.setPointSize(22);
    lblChinese->setFont(chinese);
    lblChinese->setAlignment(Qt::AlignCenter);
    lblChinese->setWordWrap(true);

    imgWord->setFixedSize(320, 240);
    imgWord->SetCornerRadius(12);
    imgWord->SetClickHandler([this] { imgWord_Click(); });

    QFont button = font();
    button.setPointSize(16);
    cmdOK->setFont(button);
    cmdOK->setMinimumSize(140, 48);
    cmdOK->setEnabled(false);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(12);
    layout->addWidget(imgWord, 0, Qt::AlignHCenter);
    layout->addWidget(lblEnglish);
    layout->addWidget(lblChinese);
    layout->addWidget(cmdOK, 0, Qt::AlignHCenter);

    // The delay runs from the moment the window exists, once.
    Timer1->setInterval(1000);
    Timer1->setSingleShot(true);
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    Timer1->start();
}

void FormTip::SetGameWord(const QString& vGameword, const QString& vChinese) {
    gameWord_ = vGameword.trimmed();
    chinese_ = vChinese;
    lblChinese->setText(chinese_);
    lblEnglish->setText(gameWord_);
    LoadWordPic();
}

void FormTip::LoadWordPic() {
    imgWord->SetPicture(store_.LoadWordPicture(gameWord_));
    imgWord->setAccessibleName(gameWord_);
    lblChinese->setText(chinese_);
}

void FormTip::Timer1_Timer() {
    Timer1->stop();
    cmdOK->setEnabled(true);
    cmdOK->setFocus();
}

void FormTip::imgWord_Click() {
    sound_.PlayWordSound(gameWord_);
}

// Escape and the close box wait for the button like the pupil does.
void FormTip::reject() {
    if (cmdOK->isEnabled()) QDialog::reject();
}
