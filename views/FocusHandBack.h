#pragma once

class QWidget;

// A control about to be disabled or hidden would pass the focus on to the
// next one in the tab order; the view's keeper (its picture) takes it instead.
void HandFocusBack(QWidget* control, QWidget* keeper);

// Enables or disables control, handing the focus back first when it goes.
void SetUsable(QWidget* control, bool usable, QWidget* keeper);
