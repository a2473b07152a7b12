#include "tools/PictureMaker.h"

#include <QCryptographicHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace PictureMaker {
namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;

// The same word always gets the same soft colour.
QColor PastelFor(const QString& word) {
    const QByteArray digest = QCryptographicHash::hash(word.toUtf8(), QCryptographicHash::Sha1);
    const int hue = (static_cast<unsigned char>(digest[0]) * 256 + static_cast<unsigned char>(digest[1])) % 360;
    return QColor::fromHsv(hue, 60, 250);
}

QImage Canvas(const QColor& base) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient gradient(0, 0, 0, kHeight);
    gradient.setColorAt(0, base.lighter(108));
    gradient.setColorAt(1, base.darker(106));
    p.fillRect(image.rect(), gradient);
    return image;
}

QImage Emoji(const QString& emoji, int size) {
    // Colour emoji come as fixed-size bitmaps: draw at their own size, then scale.
    QImage glyph(160, 160, QImage::Format_ARGB32_Premultiplied);
    glyph.fill(Qt::transparent);
    QPainter p(&glyph);
    QFont font(QStringLiteral("Noto Color Emoji"));
    font.setPixelSize(109);
    p.setFont(font);
    p.drawText(glyph.rect(), Qt::AlignCenter, emoji);
    p.end();
    return glyph.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void FitText(QPainter& p, const QRectF& box, const QString& text, const QString& family, int largest,
             const QColor& colour, bool bold) {
    QFont font(family);
    font.setBold(bold);
    int size = largest;
    for (; size > 12; size -= 2) {
        font.setPixelSize(size);
        if (QFontMetricsF(font).horizontalAdvance(text) <= box.width()) break;
    }
    font.setPixelSize(size);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, text);
}

QImage Card(const QString& title, const QString& subtitle, const QColor& base) {
    QImage image = Canvas(base);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF card(30, 30, kWidth - 60, kHeight - 60);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 30));
    p.drawRoundedRect(card.translated(4, 5), 22, 22);
    p.setBrush(Qt::white);
    p.setPen(QPen(base.darker(130), 3));
    p.drawRoundedRect(card, 22, 22);
    FitText(p, QRectF(card.left() + 20, card.top() + 30, card.width() - 40, 110), title,
            QStringLiteral("DejaVu Sans"), 72, base.darker(260), true);
    FitText(p, QRectF(card.left() + 20, card.top() + 145, card.width() - 40, 70), subtitle,
            QStringLiteral("WenQuanYi Micro Hei"), 44, QColor(90, 90, 90), false);
    return image;
}

}  // namespace

QImage WordPicture(const QString& english, const QString& chinese, const QString& emoji) {
    const QColor base = PastelFor(english);
    if (emoji.isEmpty()) return Card(english, chinese, base);
    QImage image = Canvas(base);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(kWidth / 2.0, kHeight / 2.0, 140);
    glow.setColorAt(0, QColor(255, 255, 255, 170));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QPointF(kWidth / 2.0, kHeight / 2.0), 140, 140);
    const QImage glyph = Emoji(emoji, 220);
    p.drawImage((kWidth - glyph.width()) / 2, (kHeight - glyph.height()) / 2, glyph);
    return image;
}

QImage DefaultPicture() {
    return Card(QStringLiteral("?"), QStringLiteral("暂时没有图片"), QColor(200, 215, 235));
}

QImage Background(int number) {
    const QColor bases[] = {QColor(214, 234, 214), QColor(214, 226, 242), QColor(244, 232, 210),
                            QColor(232, 220, 240)};
    const QColor base = bases[(number - 1) % 4];
    QImage image(800, 600, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 800, 600);
    gradient.setColorAt(0, base.lighter(106));
    gradient.setColorAt(1, base.darker(108));
    p.fillRect(image.rect(), gradient);
    // A faint pattern so the board does not look empty, quiet enough for tiles.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 60));
    for (int y = 0; y < 600; y += 50)
        for (int x = (y / 50) % 2 * 25; x < 800; x += 50) p.drawEllipse(QPointF(x, y), 6 + number, 6 + number);
    return image;
}

QImage SpeakerIcon(bool on) {
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(QColor(240, 240, 240));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath speaker;
    speaker.moveTo(6, 15);
    speaker.lineTo(13, 15);
    speaker.lineTo(21, 7);
    speaker.lineTo(21, 33);
    speaker.lineTo(13, 25);
    speaker.lineTo(6, 25);
    speaker.closeSubpath();
    p.setPen(QPen(QColor(40, 60, 90), 1.5));
    p.setBrush(QColor(60, 110, 180));
    p.drawPath(speaker);
    p.setBrush(Qt::NoBrush);
    if (on) {
        p.setPen(QPen(QColor(60, 110, 180), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(17, 13, 10, 14), -50 * 16, 100 * 16);
        p.drawArc(QRectF(15, 8, 18, 24), -50 * 16, 100 * 16);
    } else {
        p.setPen(QPen(QColor(210, 50, 40), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(25, 14), QPointF(35, 26));
        p.drawLine(QPointF(35, 14), QPointF(25, 26));
    }
    return image;
}

}  // namespace PictureMaker
