#include "quiz/SpeakerButton.h"

#include <QPixmap>

#include "media/MediaStore.h"

SpeakerButton::SpeakerButton(MediaStore& store, QWidget* parent) : QToolButton(parent) {
    const QPixmap speaker(store.AppPicsPath(QStringLiteral("sound.bmp")));
    if (speaker.isNull())
        setText(QStringLiteral("🔊"));
    else
        setIcon(QIcon(speaker));
    setIconSize(QSize(48, 48));
    setAutoRaise(true);
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(QStringLiteral("再听一遍"));
    setToolTip(QStringLiteral("再听一遍"));
}
