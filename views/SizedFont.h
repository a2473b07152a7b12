#pragma once

#include <QFont>

// The base font at a point size a pupil reads easily, bold or not.
QFont SizedFont(const QFont& base, int points, bool bold = false);
