#include <gtest/gtest.h>

#include <QFont>
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

// Pictures drawn on the other thread are exactly those the main thread draws.
void ExpectSame(const std::vector<QImage>& drawn, const std::vector<QImage>& expected, const QSize& size) {
    ASSERT_EQ(drawn.size(), expected.size());
    for (size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_EQ(drawn[i].size(), size) << i;
        EXPECT_TRUE(drawn[i] == expected[i]) << "picture " << i << " differs";
    }
}

int WhitePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == qRgb(255, 255, 255);
    return count;
}

// ctest runs each test in a process of its own, so here the warm-up starts
// before the application object, as it does in the program.
TEST(StartupWarmupTest, PicturesDrawnBesideTheStartMatchThoseDrawnOnTheMainThread) {
    StartupWarmup warmup;
    EnsureQtApp();
    QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 11));
    warmup.ApplicationReady();

    const std::vector<QImage> drawn = Pictures(warmup.DrawnToolbarPictures());
    ExpectSame(drawn, Pictures(ToolbarPictures::DrawAll(1.0)), QSize(48, 48));
    ExpectSame(Pictures(warmup.DrawnReadViewPictures()), Pictures(ReadViewPictures::DrawAll(1.0)), QSize(64, 64));
    // The letter tiles and the question mark are text in white: the other
    // thread had a usable font.
    EXPECT_GT(WhitePixels(drawn[2]), 10);
    EXPECT_GT(WhitePixels(drawn[5]), 20);
    // Asked again, the same pictures.
    EXPECT_TRUE(Pictures(warmup.DrawnToolbarPictures())[5] == drawn[5]);
    warmup.Finish();
}

TEST(StartupWarmupTest, OnAScaledScreenThePicturesAreDrawnWithItsPixels) {
    qputenv("QT_SCALE_FACTOR", "2");
    StartupWarmup warmup;
    EnsureQtApp();
    warmup.ApplicationReady();
    const QImage toolbar = warmup.DrawnToolbarPictures().help;
    const QImage speaker = warmup.DrawnReadViewPictures().speaker;
    EXPECT_EQ(toolbar.size(), QSize(96, 96));
    EXPECT_EQ(toolbar.deviceIndependentSize(), QSizeF(48, 48));
    EXPECT_EQ(speaker.size(), QSize(128, 128));
    EXPECT_GT(WhitePixels(toolbar), 4 * 20);
    warmup.Finish();
}

TEST(StartupWarmupTest, WithADesktopStartupIdTheWorkWaitsForTheApplication) {
    // Launched from a desktop menu: Qt takes the id out of the environment
    // while the application object is made, so nothing is read before it.
    qputenv("DESKTOP_STARTUP_ID", "orvanel-test_TIME0");
    StartupWarmup warmup;
    EnsureQtApp();
    qunsetenv("DESKTOP_STARTUP_ID");
    warmup.ApplicationReady();
    const std::vector<QImage> drawn = Pictures(warmup.DrawnToolbarPictures());
    EXPECT_GT(WhitePixels(drawn[5]), 20);
}

TEST(StartupWarmupTest, WithALocaleThatIsNotUtf8TheWorkWaitsForTheApplication) {
    // Qt switches such a locale's characters while the application object is
    // made; the font configuration is read only afterwards.
    qputenv("LC_ALL", "C");
    StartupWarmup warmup;
    EnsureQtApp();
    warmup.ApplicationReady();
    const std::vector<QImage> drawn = Pictures(warmup.DrawnToolbarPictures());
    EXPECT_GT(WhitePixels(drawn[5]), 20);
}

// Made, finished and dropped on a second thread, so that a hang fails the
// test.
bool EndsUntold() {
    auto ended = std::async(std::launch::async, [] {
        StartupWarmup warmup;
        warmup.Finish();
    });
    return ended.wait_for(std::chrono::seconds(30)) == std::future_status::ready;
}

TEST(StartupWarmupTest, EndsWhenTheProgramStopsBeforeTheApplicationIsReady) {
    // The program ends early (another copy is running): nothing may wait for
    // an application that is never said to be ready.
    EXPECT_TRUE(EndsUntold());
    EnsureQtApp();
    EXPECT_TRUE(EndsUntold());
}

TEST(StartupWarmupTest, PicturesAskedForAfterAnEarlyFinishAreDrawnThen) {
    EnsureQtApp();
    StartupWarmup warmup;
    warmup.Finish();
    EXPECT_GT(WhitePixels(warmup.DrawnToolbarPictures().help), 20);
}

TEST(StartupWarmupTest, PicturesAskedForBeforeBeingToldTheApplicationIsReady) {
    EnsureQtApp();
    StartupWarmup warmup;
    for (const QImage& picture : Pictures(warmup.DrawnReadViewPictures())) EXPECT_FALSE(picture.isNull());
    for (const QImage& picture : Pictures(warmup.DrawnToolbarPictures())) EXPECT_FALSE(picture.isNull());
}

}  // namespace
