#pragma once

#include <QIcon>

// The pictures of the six toolbar buttons, drawn rather than shipped.
namespace ToolbarPictures {

QIcon BookUnit();
QIcon Learn();
QIcon ArrangeGame();
QIcon FlipGame();
QIcon Test();
QIcon Help();

}  // namespace ToolbarPictures
