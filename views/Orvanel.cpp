#include "views/Orvanel.h"

#include <QLabel>
#include <QVBoxLayout>

#include "app/LessonState.h"
#include "data/WordRecords.h"
#include "media/MediaStore.h"

Orvanel::Orvanel(LessonContext& context, QWidget* parent)
    : QWidget(parent),
      context_(context),
      imgWord_(new QLabel(this)),
      lblEnglish_(new QLabel(this)),
      lblChinese_(new QLabel(this)) {
    setAccessibleName(QStringLiteral("单词初记"));
    imgWord_->setAccessibleName(QStringLiteral("单词图片"));
    imgWord_->setAlignment(Qt::AlignCenter);
    imgWord_->setMinimumSize(400, 300);
    for (QLabel* label : {lblEnglish_, lblChinese_}) {
        label->setAlignment(Qt::AlignCenter);
        QFont font = label->font();
        font.setPointSize(28);
        label->setFont(font);
    }
    lblEnglish_->setAccessibleName(QStringLiteral("英文单词"));
    lblChinese_->setAccessibleName(QStringLiteral("中文意思"));
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(imgWord_);
    layout->addWidget(lblEnglish_);
    layout->addWidget(lblChinese_);
    layout->addStretch();
}

void Orvanel::InitUserControl() {
    context_.state.ReadViewEntered = false;
    context_.state.PrevEnglish = MediaStore::kDefaultPicture;
}

void Orvanel::LoadWord() {
    qint16 index = context_.state.CurWordIndex;
    ChangeWord(index);
}

void Orvanel::ChangeWord(qint16& wordIndex) {
    LessonState& state = context_.state;
    if (state.WordCount <= 0) return;
    if (wordIndex < 0 || wordIndex >= state.WordCount) wordIndex = 0;
    state.CurWordIndex = wordIndex;
    context_.words.SetCurrentWord();
    lblEnglish_->setText(state.CurEnglish);
    lblChinese_->setText(state.CurChinese);
    const QImage picture = context_.store.LoadWordPicture(state.CurEnglish);
    imgWord_->setPixmap(QPixmap::fromImage(picture.scaled(400, 300, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void Orvanel::StopAutoplay() {}
