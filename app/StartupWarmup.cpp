#include "app/StartupWarmup.h"

#include <fontconfig/fontconfig.h>
#include <langinfo.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <clocale>
#include <cstring>
#include <system_error>

namespace {

// Whether the application object, while it is being made, will leave alone
// what fontconfig reads: the environment (Qt takes the desktop's start-up id
// out of it while it connects to the display) and the locale (Qt sets the
// same one again, but switches one whose characters are not UTF-8).
bool EnvironmentSettled() {
    if (QCoreApplication::instance()) return true;
    return !qEnvironmentVariableIsSet("DESKTOP_STARTUP_ID") && std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
}

// Without a second thread the work is simply not done ahead: Qt reads the
// font configuration when it first needs it, and the pictures are drawn
// when asked for.
template <class Work>
void StartThread(std::thread& thread, Work work) {
    try {
        thread = std::thread(std::move(work));
    } catch (const std::system_error&) {
    }
}

}  // namespace

StartupWarmup::StartupWarmup() {
    if (!QCoreApplication::instance()) std::setlocale(LC_ALL, "");
    if (EnvironmentSettled()) StartThread(worker_, [this] { ReadConfigurationThenDraw(); });
}

StartupWarmup::~StartupWarmup() {
    Finish();
}

void StartupWarmup::ApplicationReady() {
    {
        const std::lock_guard lock(mutex_);
        if (applicationReady_) return;
        applicationReady_ = true;
        if (const QScreen* screen = QGuiApplication::primaryScreen()) devicePixelRatio_ = screen->devicePixelRatio();
    }
    changed_.notify_all();
    if (!worker_.joinable()) StartThread(worker_, [this] { ReadConfigurationThenDraw(); });
}

// Until the application is ready this thread may use nothing of Qt: the
// first thread that does would become Qt's main thread.
void StartupWarmup::ReadConfigurationThenDraw() {
    FcInit();
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return applicationReady_ || stopping_; });
    if (!applicationReady_) return;
    lock.unlock();
    DrawPictures();
}

void StartupWarmup::DrawPictures() {
    toolbarPictures_ = ToolbarPictures::DrawAll(devicePixelRatio_);
    readViewPictures_ = ReadViewPictures::DrawAll(devicePixelRatio_);
    drawn_ = true;
}

void StartupWarmup::WaitForPictures() {
    ApplicationReady();
    if (worker_.joinable()) worker_.join();
    if (!drawn_) DrawPictures();
}

ToolbarPictures::Set StartupWarmup::DrawnToolbarPictures() {
    WaitForPictures();
    return toolbarPictures_;
}

ReadViewPictures::Set StartupWarmup::DrawnReadViewPictures() {
    WaitForPictures();
    return readViewPictures_;
}

void StartupWarmup::Finish() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable()) worker_.join();
}
