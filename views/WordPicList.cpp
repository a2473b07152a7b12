#include "views/WordPicList.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "core/LessonState.h"
#include "core/MainHost.h"
#include "core/MessageService.h"
#include "media/MediaStore.h"
#include "media/ModulePlaySound.h"
#include "views/FocusHandBack.h"
#include "views/WordPicture.h"

WordPicList::WordPicList(LessonContext& context, QWidget* parent)
    : QWidget(parent),
      cmdNextGroup(new QPushButton(QStringLiteral("下一组      >>"), this)),
      cmdPrevGroup(new QPushButton(QStringLiteral("<<      上一组"), this)),
      cmdReturn(new QPushButton(QStringLiteral("返回普通视图"), this)),
      context_(context) {
    for (int i = 0; i < PicListRules::kSlots; ++i) {
        imgWord[i] = new WordPicture(this);
        connect(imgWord[i], &WordPicture::clicked, this, [this, i] { imgWord_Click(i); });
        connect(imgWord[i], &WordPicture::doubleClicked, this, [this, i] { imgWord_DblClick(i); });
        lblWord[i] = new QLabel(QStringLiteral("English"), this);
        lblWord[i]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        lblWord[i]->setStyleSheet(QStringLiteral("color: #1a4f9c;"));
        lblWord[i]->setCursor(Qt::PointingHandCursor);
        lblWord[i]->installEventFilter(this);
    }
    // Pictures first, then the buttons, in reading order.
    for (int i = 1; i < PicListRules::kSlots; ++i) setTabOrder(imgWord[i - 1], imgWord[i]);
    setTabOrder(imgWord[7], cmdPrevGroup);
    setTabOrder(cmdPrevGroup, cmdNextGroup);
    setTabOrder(cmdNextGroup, cmdReturn);
    // A click leaves the keys with the pictures.
    for (QPushButton* button : {cmdPrevGroup, cmdNextGroup, cmdReturn}) button->setFocusPolicy(Qt::TabFocus);

    connect(cmdNextGroup, &QPushButton::clicked, this, [this] { cmdNextGroup_Click(); });
    connect(cmdPrevGroup, &QPushButton::clicked, this, [this] { cmdPrevGroup_Click(); });
    connect(cmdReturn, &QPushButton::clicked, this, [this] { context_.host.ShowUserControl(1); });
    PlaceControls();
}

void WordPicList::LoadPics() {
    const LessonState& state = context_.state;
    if (state.CurBook != shownBook_ || state.CurUnit != shownUnit_) {
        rules_.GroupStart = 0;
        shownBook_ = state.CurBook;
        shownUnit_ = state.CurUnit;
    }
    const int wordCount = std::min<int>(state.WordCount, static_cast<int>(state.Words.size()));
    rules_.ComputeGroupCount(wordCount);
    // Only the slots the group leaves empty are hidden: hiding a slot that
    // has the focus would pass it on to a button.
    for (int i = rules_.GroupCount; i < PicListRules::kSlots; ++i) {
        HandFocusBack(imgWord[i], imgWord[0]);
        imgWord[i]->hide();
        lblWord[i]->hide();
    }
    for (int i = 0; i < rules_.GroupCount; ++i) {
        const QString word = state.Words[rules_.GroupStart + i].English;
        imgWord[i]->SetPicture(context_.store.LoadWordPicture(word), word);
        imgWord[i]->SetBorder(false);
        imgWord[i]->show();
        lblWord[i]->setText(word);
        lblWord[i]->show();
    }
    UpdateGroupButtons();
    imgWord[0]->SetBorder(true);
}

void WordPicList::UpdateGroupButtons() {
    SetUsable(cmdNextGroup, rules_.NextGroupEnabled(context_.state.WordCount), imgWord[0]);
    SetUsable(cmdPrevGroup, rules_.PrevGroupEnabled(), imgWord[0]);
}

void WordPicList::cmdNextGroup_Click() {
    if (!rules_.NextGroup(context_.state.WordCount)) {
        NothingMore();
        return;
    }
    LoadPics();
}

void WordPicList::cmdPrevGroup_Click() {
    if (!rules_.PrevGroup()) {
        NothingMore();
        return;
    }
    LoadPics();
}

void WordPicList::NothingMore() {
    context_.messages.Show(QStringLiteral("没有了！"), QStringLiteral("选择单词"), MsgButtons::Ok, MsgIcon::Information);
}

void WordPicList::imgWord_Click(int index) {
    context_.sound.PlayWordSound(context_.state.Words[rules_.GroupStart + index].English);
}

void WordPicList::imgWord_DblClick(int index) {
    context_.state.CurWordIndex = static_cast<qint16>(rules_.GroupStart + index);
    context_.host.ShowUserControl(1);
}

bool WordPicList::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int i = 0; i < PicListRules::kSlots; ++i)
            if (watched == lblWord[i]) {
                imgWord_Click(i);
                return true;
            }
    }
    return QWidget::eventFilter(watched, event);
}

void WordPicList::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceControls();
}

// The layout in twips (15 to a pixel), scaled as a whole to the view and
// centred, so that the pictures fill the space at any window size.
void WordPicList::PlaceControls() {
    const QSize design = PicListRules::LayoutTwips();
    const double scale =
        std::max(0.1, std::min(width() * 15.0 / design.width(), height() * 15.0 / design.height()));
    const double left = (width() - design.width() * scale / 15.0) / 2.0;
    const double top = (height() - design.height() * scale / 15.0) / 2.0;
    const auto place = [&](QWidget* widget, const QRect& twips) {
        widget->setGeometry(qRound(left + twips.x() * scale / 15.0), qRound(top + twips.y() * scale / 15.0),
                            qRound(twips.width() * scale / 15.0), qRound(twips.height() * scale / 15.0));
    };
    QFont labelFont = font();
    labelFont.setPointSizeF(std::max(9.0, 15.0 * scale));
    labelFont.setBold(true);
    QFont buttonFont = font();
    buttonFont.setPointSizeF(std::max(9.0, 11.0 * scale));
    for (int i = 0; i < PicListRules::kSlots; ++i) {
        place(imgWord[i], PicListRules::PictureTwips(i));
        place(lblWord[i], PicListRules::LabelTwips(i));
        lblWord[i]->setFont(labelFont);
    }
    place(cmdPrevGroup, PicListRules::PrevButtonTwips());
    place(cmdNextGroup, PicListRules::NextButtonTwips());
    place(cmdReturn, PicListRules::ReturnButtonTwips());
    for (QPushButton* button : {cmdPrevGroup, cmdNextGroup, cmdReturn}) button->setFont(buttonFont);
}
