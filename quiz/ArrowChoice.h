#pragma once

#include <QRadioButton>
#include <span>

// With the arrow keys the choice follows the focus from option to option,
// so that a pupil chooses with the arrows and judges with Enter.
void ChooseWithArrows(QWidget* owner, std::span<QRadioButton* const> options);
