#include "app/StartupWarmup.h"
#include "tests/support/QtApp.h"

namespace {

std::vector<QImage> Pictures(const ToolbarPictures::Set& set) { return {set.bookUnit, set.learn, set.arrangeGame, set.flipGame, set.test, set.help}; }
std::vector<QImage> Pictures(const ReadViewPictures::Set& set) {
    return {set.pagePrev, set.pageNext, set.speaker, set.myVoice, set.both, set.record, set.readGood, set.readBad};
}
// Text is drawn in white: the thread that drew had a usable font.
int WhitePixels(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const auto* pixels = reinterpret_cast<const QRgb*>(rgb.constBits());
    return static_cast<int>(std::count(pixels, pixels + rgb.width() * rgb.height(), qRgb(255, 255, 255)));
}

// Run without an application object yet, as the program starts: in a shared run, in a child.
bool RanElsewhere() {
    if (!QCoreApplication::instance()) return false;
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_SCALE_FACTOR", "DESKTOP_STARTUP_ID", "LC_ALL"}) environment.remove(name);
    QProcess child; child.setProcessEnvironment(environment);
    child.start("/proc/self/exe", {QString("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name())});
    EXPECT_TRUE(child.waitForFinished(120000));
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();
    return true;
}

TEST(StartupWarmupTest, PicturesDrawnBesideTheStartMatchThoseDrawnOnTheMainThread) {
    if (RanElsewhere()) return;
    StartupWarmup warmup;  // before the application object, as the program makes it
    EnsureQtApp();
    QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 11));
    warmup.ApplicationReady();
    const std::vector<QImage> toolbar = Pictures(warmup.DrawnToolbarPictures()), read = Pictures(warmup.DrawnReadViewPictures());
    EXPECT_TRUE(toolbar == Pictures(ToolbarPictures::DrawAll(1.0)) && read == Pictures(ReadViewPictures::DrawAll(1.0)));
    for (const QImage& picture : toolbar) EXPECT_EQ(picture.size(), QSize(48, 48));
    for (const QImage& picture : read) EXPECT_EQ(picture.size(), QSize(64, 64));
    EXPECT_GT(WhitePixels(toolbar[2]), 10);  // the letter tiles
    EXPECT_GT(WhitePixels(toolbar[5]), 20);  // the question mark
}

// Qt changes both while it makes the application object: nothing is read before.
void DrawsWith(const char* name, const char* value) {
    if (RanElsewhere()) return;
    qputenv(name, value);
    StartupWarmup warmup; EnsureQtApp();
    EXPECT_GT(WhitePixels(warmup.DrawnToolbarPictures().help), 20);
}
TEST(StartupWarmupTest, WithADesktopStartupIdTheWorkWaitsForTheApplication) { DrawsWith("DESKTOP_STARTUP_ID", "x_TIME0"); }
TEST(StartupWarmupTest, WithALocaleThatIsNotUtf8TheWorkWaitsForTheApplication) { DrawsWith("LC_ALL", "C"); }

// The program ends early (another copy runs), before or after the application object; a hang fails.
TEST(StartupWarmupTest, EndsWhenTheProgramStopsBeforeTheApplicationIsReady) {
    if (RanElsewhere()) return;
    for (int withApplication = 0; withApplication < 2; ++withApplication) {
        if (withApplication) EnsureQtApp();
        auto ended = std::async(std::launch::async, [] { StartupWarmup().Finish(); });
        EXPECT_EQ(ended.wait_for(std::chrono::seconds(30)), std::future_status::ready) << withApplication;
    }
}

}  // namespace
