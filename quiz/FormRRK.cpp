#include "quiz/FormRRK.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/LessonState.h"
#include "core/MessageService.h"
#include "media/MediaStore.h"
#include "media/ModulePlaySound.h"
#include "quiz/ArrowChoice.h"
#include "quiz/SpeakerButton.h"
#include "views/WordPicture.h"

FormRRK::FormRRK(LessonContext& context, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      imgSound(new SpeakerButton(context.store, this)),
      lblAns(new QLabel(this)),
      cmdOK(new QPushButton(QStringLiteral("确定"), this)),
      context_(context),
      group_(new QButtonGroup(this)) {
    setWindowTitle(QString());
    QFont big = font();
    big.setPointSize(14);

    auto* grid = new QGridLayout;
    grid->setSpacing(12);
    for (int i = 0; i < 5; ++i) {
        optAns[i] = new QRadioButton(this);
        optAns[i]->setFont(big);
        group_->addButton(optAns[i], i);
        connect(optAns[i], &QRadioButton::clicked, cmdOK, [this] { cmdOK->setEnabled(true); });
    }
    // The fifth option only clears the visible choice.
    optAns[4]->hide();
    ChooseWithArrows(this, std::span(optAns).first(4));
    for (int i = 0; i < 4; ++i) {
        imgWord[i] = new WordPicture(this);
        imgWord[i]->setMinimumSize(240, 168);
        imgWord[i]->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(imgWord[i], &WordPicture::clicked, this, [this, i] { imgWord_Click(i); });
        auto* cell = new QVBoxLayout;
        cell->addWidget(imgWord[i], 1);
        cell->addWidget(optAns[i]);
        grid->addLayout(cell, i / 2, i % 2);
    }

    connect(imgSound, &QToolButton::clicked, this, [this] { SpeakWord(); });
    lblAns->setFont(big);
    lblAns->setStyleSheet(QStringLiteral("color: #c00000;"));
    lblAns->setWordWrap(true);
    cmdOK->setFont(big);
    cmdOK->setDefault(true);
    cmdOK->setMinimumWidth(120);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });

    auto* top = new QHBoxLayout;
    top->addWidget(imgSound);
    top->addWidget(lblAns, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(grid, 1);
    layout->addLayout(bottom);
    resize(640, 600);
}

void FormRRK::SetTestWord(qint16 wordIndex) {
    const LessonState& state = context_.state;
    const int pool = static_cast<int>(state.Words.size());
    retAns = true;
    wordIndex_ = wordIndex;
    const bool known = wordIndex >= 0 && wordIndex < pool;
    english_ = known ? state.Words[wordIndex].English : QString();
    chinese_ = known ? state.Words[wordIndex].Chinese : QString();

    options_.BuildOptionTable(wordIndex, pool, context_.random);
    for (int i = 0; i < 4; ++i) {
        const qint16 slot = options_.Slot(i);
        optAns[i]->setVisible(slot >= 0);
        imgWord[i]->setVisible(slot >= 0);
        if (slot < 0) continue;
        const CWordType& word = state.Words[slot];
        optAns[i]->setText(word.Chinese);
        imgWord[i]->SetPicture(context_.store.LoadWordPicture(word.English), word.English);
    }
    optAns[4]->setChecked(true);
    cmdOK->setEnabled(false);
    lblAns->hide();
    SpeakWord();
}

void FormRRK::imgWord_Click(int index) {
    optAns[index]->setChecked(true);
    optAns[index]->setFocus();
    cmdOK->setEnabled(true);
}

int FormRRK::SelectedOption() const {
    for (int i = 0; i < 5; ++i)
        if (optAns[i]->isChecked()) return i;
    return 4;
}

void FormRRK::cmdOK_Click() {
    const int selected = SelectedOption();
    if (selected < 4 && options_.HoldsTestWord(selected)) {
        accept();
        return;
    }
    retAns = false;
    lblAns->setText(QStringLiteral("正确答案： ") + english_ + QStringLiteral(";") + chinese_);
    lblAns->show();
    context_.messages.Show(english_ + QStringLiteral(";") + chinese_, QStringLiteral("错啦，要努力喔！"), MsgButtons::Ok,
                           MsgIcon::Critical);
}

void FormRRK::SpeakWord() {
    context_.sound.PlayWordSound(english_.trimmed());
}
