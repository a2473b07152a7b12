#include "views/ClickableLabel.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include "views/ClickableLabelAccessible.h"

namespace {

// Room beside the text for the focus frame; a label's height is its
// text's, as a QLabel's is.
constexpr int kMargin = 2;

}  // namespace

ClickableLabel::ClickableLabel(const QString& text, QWidget* parent) : QWidget(parent) {
    // Screen readers are told it is a button, once for the whole program.
    static const bool announcedAsButton = (QAccessible::installFactory(ClickableLabelAccessible::Create), true);
    Q_UNUSED(announcedAsButton);
    setCursor(Qt::PointingHandCursor);
    // As a tool button: reached by Tab, while a click leaves the focus
    // where it was.
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    setText(text);
}

void ClickableLabel::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

void ClickableLabel::setAlignment(Qt::Alignment alignment) {
    alignment_ = alignment;
    update();
}

QSize ClickableLabel::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    return QSize(metrics.horizontalAdvance(text_) + 2 * kMargin, metrics.height());
}

QSize ClickableLabel::minimumSizeHint() const {
    return sizeHint();
}

void ClickableLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect().adjusted(kMargin, 0, -kMargin, 0);
    style()->drawItemText(&painter, area, int(alignment_), palette(), isEnabled(), text_, QPalette::WindowText);
    if (!hasFocus()) return;
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    frame.rect = style()->itemTextRect(fontMetrics(), area, int(alignment_), isEnabled(), text_)
                     .adjusted(-kMargin, 0, kMargin, 0)
                     .intersected(rect());
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

void ClickableLabel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit clicked();
        return;
    }
    QWidget::keyPressEvent(event);
}
