#include "quiz/ArrowChoice.h"

#include <QApplication>
#include <algorithm>
#include <vector>

void ChooseWithArrows(QWidget* owner, std::span<QRadioButton* const> options) {
    std::vector<QRadioButton*> list(options.begin(), options.end());
    QObject::connect(qApp, &QApplication::focusChanged, owner, [list](QWidget* old, QWidget* now) {
        const auto isOption = [&](QWidget* w) { return std::find(list.begin(), list.end(), w) != list.end(); };
        if (!isOption(old) || !isOption(now)) return;
        auto* option = static_cast<QRadioButton*>(now);
        if (!option->isChecked()) option->click();
    });
}
