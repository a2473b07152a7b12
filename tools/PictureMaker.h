#pragma once

#include <QImage>
#include <QString>

// Draws the installation's pictures: word pictures, the default picture,
// the game boards and the sound switch.
namespace PictureMaker {

QImage WordPicture(const QString& english, const QString& chinese, const QString& emoji);
QImage DefaultPicture();
QImage Background(int number);
QImage SpeakerIcon(bool on);

}  // namespace PictureMaker
