#include "app/StartupWarmup.h"

#include <fontconfig/fontconfig.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <clocale>

namespace {

// Qt takes the desktop's start-up id out of the environment while it
// connects to the display, and fontconfig reads the environment: with an
// id to take, the reading waits for the application object.
bool EnvironmentSettled() {
    return QCoreApplication::instance() || !qEnvironmentVariableIsSet("DESKTOP_STARTUP_ID");
}

}  // namespace

StartupWarmup::StartupWarmup() {
    // The application object sets this same locale again, which then
    // changes nothing the reading depends on.
    if (!QCoreApplication::instance()) std::setlocale(LC_ALL, "");
    if (EnvironmentSettled()) worker_ = std::thread([this] { ReadConfigurationThenDraw(); });
}

StartupWarmup::~StartupWarmup() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    Finish();
}

void StartupWarmup::ApplicationReady() {
    {
        const std::lock_guard lock(mutex_);
        if (applicationReady_) return;
        applicationReady_ = true;
    }
    changed_.notify_all();
    if (!worker_.joinable()) worker_ = std::thread([this] { ReadConfigurationThenDraw(); });
    bus_ = std::thread([] { QDBusConnection::sessionBus(); });
}

void StartupWarmup::ReadConfigurationThenDraw() {
    FcInit();
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return applicationReady_ || stopping_; });
    if (!applicationReady_) return;
    lock.unlock();
    toolbarPictures_ = ToolbarPictures::DrawAll();
    readViewPictures_ = ReadViewPictures::DrawAll();
}

void StartupWarmup::WaitForPictures() {
    ApplicationReady();
    if (worker_.joinable()) worker_.join();
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
    if (worker_.joinable()) worker_.join();
    if (bus_.joinable()) bus_.join();
}
