#pragma once

class QString;
class QWidget;

// Setting a style sheet polishes the widget again even when it is the same
// one; controls whose look follows every move set it only when it changes.
void ChangeStyleSheet(QWidget* widget, const QString& sheet);
