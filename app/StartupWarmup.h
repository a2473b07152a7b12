#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

#include "app/ToolbarPictures.h"
#include "views/ReadViewPictures.h"

// Work for the first window that can run beside the main thread. Made before
// the application object, it reads the system's font configuration while
// the application object connects to the display; once the application is
// ready it draws the pictures of the toolbar and the listen-and-read view.
class StartupWarmup {
public:
    StartupWarmup();
    ~StartupWarmup();
    StartupWarmup(const StartupWarmup&) = delete;
    StartupWarmup& operator=(const StartupWarmup&) = delete;

    // The application object exists and the program's font is set. Calling
    // it again does nothing.
    void ApplicationReady();

    // Wait for the pictures. The font configuration has been read by then,
    // so Qt's first text does not read it a second time.
    ToolbarPictures::Set DrawnToolbarPictures();
    ReadViewPictures::Set DrawnReadViewPictures();

    // Ends the work: what has begun is waited for, and the drawing is left
    // undone if the application was never said to be ready (pictures asked
    // for afterwards are drawn then). The application object must outlive
    // it, since the work uses Qt.
    void Finish();

private:
    void ReadConfigurationThenDraw();
    void DrawPictures();
    void WaitForPictures();

    std::mutex mutex_;
    std::condition_variable changed_;
    bool applicationReady_ = false;
    qreal devicePixelRatio_ = 1.0;  // of the screen the window opens on
    bool stopping_ = false;
    bool drawn_ = false;  // by the worker before it ends, or here
    ToolbarPictures::Set toolbarPictures_;
    ReadViewPictures::Set readViewPictures_;
    std::thread worker_;
};
