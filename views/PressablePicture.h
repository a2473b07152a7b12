#pragma once

// A control that shows a word's picture, as a screen reader is to hear it:
// an image, or a button where pressing it does what a click does.
class PressablePicture {
public:
    virtual bool CanBePressed() const = 0;
    virtual void Press() = 0;

protected:
    ~PressablePicture() = default;
};
