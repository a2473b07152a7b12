#pragma once

#include <QIcon>

// The pictures of the listen-and-read view's image buttons, drawn rather
// than shipped: page arrows and the recorder panel's buttons.
namespace ReadViewPictures {

QIcon PageArrow(bool forward);
QIcon Speaker();
QIcon MyVoice();
QIcon Both();
QIcon Record();
QIcon ReadGood();
QIcon ReadBad();

}  // namespace ReadViewPictures
