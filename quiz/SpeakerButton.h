#pragma once

#include <QToolButton>

class MediaStore;

// The speaker with which the pupil hears the test word again.
class SpeakerButton : public QToolButton {
public:
    SpeakerButton(MediaStore& store, QWidget* parent);
};
