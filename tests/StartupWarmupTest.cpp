#include <gtest/gtest.h>

#include <QFont>
#include <QProcess>
#include <future>

#include "app/StartupWarmup.h"
#include "app/ToolbarPictures.h"
#include "tests/support/QtApp.h"

namespace {

std::vector<QImage> Pictures(const ToolbarPictures::Set& set) {
    return {set.bookUnit, set.learn, set.arrangeGame, set.flipGame, set.test, set.help};
}
std::vector<QImage> Pictures(const ReadViewPictures::Set& set) {
    return {set.pagePrev, set.pageNext, set.speaker, set.myVoice, set.both, set.record, set.readGood, set.readBad};
}
// Text is drawn in white: the thread that drew had a usable font.
int WhitePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == qRgb(255, 255, 255);
    return count;
}

// Run without an application object yet, as the program starts: in a shared run, in a child.
bool RanElsewhere() {
    if (!QCoreApplication::instance()) return false;
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_SCALE_FACTOR", "DESKTOP_STARTUP_ID", "LC_ALL"}) environment.remove(name);
    QProcess child;
    child.setProcessEnvironment(environment);
    child.start("/proc/self/exe", {QString("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name())});
    EXPECT_TRUE(child.waitForFinished(120000));
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();
    return true;
}

TEST(StartupWarmupTest, PicturesDrawnBesideTheStartMatchThoseDrawnOnTheMainThread) {
    if (RanElsewhere()) return;
    StartupWarmup warmup;
    EnsureQtApp();
    QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 11));
    warmup.ApplicationReady();
    const std::vector<QImage> toolbar = Pictures(warmup.DrawnToolbarPictures());
    const std::vector<QImage> read = Pictures(warmup.DrawnReadViewPictures());
    EXPECT_TRUE(toolbar == Pictures(ToolbarPictures::DrawAll(1.0)) && read == Pictures(ReadViewPictures::DrawAll(1.0)));
    for (const QImage& picture : toolbar) EXPECT_EQ(picture.size(), QSize(48, 48));
    for (const QImage& picture : read) EXPECT_EQ(picture.size(), QSize(64, 64));
    EXPECT_GT(WhitePixels(toolbar[2]), 10);  // the letter tiles
    EXPECT_GT(WhitePixels(toolbar[5]), 20);  // the question mark
    EXPECT_TRUE(Pictures(warmup.DrawnToolbarPictures())[5] == toolbar[5]) << "asked again, the same";
    warmup.Finish();
}

TEST(StartupWarmupTest, OnAScaledScreenThePicturesAreDrawnWithItsPixels) {
    if (RanElsewhere()) return;
    qputenv("QT_SCALE_FACTOR", "2");
    StartupWarmup warmup;
    EnsureQtApp();
    warmup.ApplicationReady();
    const QImage help = warmup.DrawnToolbarPictures().help;
    EXPECT_EQ(help.size(), QSize(96, 96));
    EXPECT_EQ(help.deviceIndependentSize(), QSizeF(48, 48));
    EXPECT_EQ(warmup.DrawnReadViewPictures().speaker.size(), QSize(128, 128));
    EXPECT_GT(WhitePixels(help), 4 * 20);
}

// Qt changes both while it makes the application object: nothing is read before.
void DrawsWith(const char* name, const char* value) {
    if (RanElsewhere()) return;
    qputenv(name, value);
    StartupWarmup warmup;
    EnsureQtApp();
    warmup.ApplicationReady();
    EXPECT_GT(WhitePixels(warmup.DrawnToolbarPictures().help), 20);
}
TEST(StartupWarmupTest, WithADesktopStartupIdTheWorkWaitsForTheApplication) {
    DrawsWith("DESKTOP_STARTUP_ID", "orvanel-test_TIME0");
}
TEST(StartupWarmupTest, WithALocaleThatIsNotUtf8TheWorkWaitsForTheApplication) {
    DrawsWith("LC_ALL", "C");
}

// The program ends early (another copy runs); on a second thread, so that a hang fails.
TEST(StartupWarmupTest, EndsWhenTheProgramStopsBeforeTheApplicationIsReady) {
    if (RanElsewhere()) return;
    for (int withApplication = 0; withApplication < 2; ++withApplication) {
        if (withApplication) EnsureQtApp();
        auto ended = std::async(std::launch::async, [] { StartupWarmup().Finish(); });
        EXPECT_EQ(ended.wait_for(std::chrono::seconds(30)), std::future_status::ready) << withApplication;
    }
}

TEST(StartupWarmupTest, PicturesAskedForEarlyOrAfterAnEarlyFinishAreDrawnThen) {
    EnsureQtApp();
    StartupWarmup early, finished;
    finished.Finish();
    for (const QImage& picture : Pictures(early.DrawnReadViewPictures())) EXPECT_FALSE(picture.isNull());
    for (const QImage& picture : Pictures(early.DrawnToolbarPictures())) EXPECT_FALSE(picture.isNull());
    EXPECT_GT(WhitePixels(finished.DrawnToolbarPictures().help), 20);
}

}  // namespace
