#include "views/SizedFont.h"

QFont SizedFont(const QFont& base, int points, bool bold) {
    QFont font = base;
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}
