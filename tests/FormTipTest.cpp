#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "games/FormTip.h"
#include "games/GamePicture.h"
#include "tests/support/GameFixture.h"
#include "tests/support/ModalDriver.h"

namespace {

class FormTipTest : public GameFixture {
protected:
    FormTip tip{store, sound, nullptr};
};

TEST_F(FormTipTest, OkCannotBePressedDuringTheFirstSecond) {
    StorePicture("apple");
    QElapsedTimer clock;
    clock.start();
    FormTip fresh(store, sound, nullptr);
    fresh.SetGameWord("apple", "苹果");
    bool closedEarly = false;
    bool enabledEarly = false;
    qint64 enabledAt = -1;
    WhenModal([&](QWidget* modal) {
        ASSERT_EQ(modal, &fresh);
        // Neither the button nor Escape closes the window before its time.
        fresh.cmdOK->click();
        QTest::keyClick(&fresh, Qt::Key_Escape);
        closedEarly = !fresh.isVisible() && clock.elapsed() < 1000;
        while (clock.elapsed() < 3000 && !fresh.cmdOK->isEnabled()) QTest::qWait(10);
        enabledAt = clock.elapsed();
        EXPECT_TRUE(fresh.cmdOK->hasFocus());
        fresh.cmdOK->click();
    });
    // Sampled while waiting: never enabled before a second has passed.
    QObject guard;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, &guard, [&] {
        if (fresh.cmdOK->isEnabled() && clock.elapsed() < 1000) enabledEarly = true;
    });
    sampler.start(5);
    EXPECT_EQ(fresh.exec(), QDialog::Accepted);
    EXPECT_FALSE(closedEarly);
    EXPECT_FALSE(enabledEarly);
    EXPECT_GE(enabledAt, 1000);
    EXPECT_LT(enabledAt, 3000);
    EXPECT_EQ(fresh.windowTitle(), "提示信息");
}

TEST_F(FormTipTest, ShowsTheWordTrimmedWithItsMeaningAndPicture) {
    StorePicture("apple", 40, 30);
    StorePicture("ffe", 20, 10);
    tip.SetGameWord("  apple ", "苹果");
    EXPECT_EQ(tip.lblEnglish->text(), "apple");
    EXPECT_EQ(tip.lblChinese->text(), "苹果");
    EXPECT_EQ(tip.imgWord->Picture().size(), QSize(40, 30));
    EXPECT_EQ(tip.imgWord->accessibleName(), "apple");
    // The word's picture is scrambled again, the default was not needed.
    EXPECT_TRUE(install.Exists("Common/pics/apple.pet"));
    EXPECT_FALSE(install.Exists("Common/pics/apple.jpg"));
    EXPECT_FALSE(install.Exists("Common/pics/ffe.jpg"));
}

TEST_F(FormTipTest, AMissingPictureShowsTheDefaultWhichStaysPlain) {
    StorePicture("ffe", 20, 10);
    const QByteArray scrambled = install.ReadFile("Common/pics/ffe.pet");
    tip.SetGameWord("kite", "风筝");
    EXPECT_EQ(tip.imgWord->Picture().size(), QSize(20, 10));
    EXPECT_TRUE(install.Exists("Common/pics/ffe.jpg"));
    EXPECT_FALSE(install.Exists("Common/pics/ffe.pet"));
    EXPECT_TRUE(install.ReadFile("Common/pics/ffe.jpg").startsWith("\xFF\xD8\xFF"));
    EXPECT_NE(install.ReadFile("Common/pics/ffe.jpg"), scrambled);
    // A second tip finds the plain default as it is.
    FormTip again(store, sound, nullptr);
    again.SetGameWord("kite", "风筝");
    EXPECT_EQ(again.imgWord->Picture().size(), QSize(20, 10));
    EXPECT_TRUE(install.Exists("Common/pics/ffe.jpg"));
}

TEST_F(FormTipTest, ClickingOrPressingSpaceOnThePictureSpeaksTheWord) {
    StorePicture("apple");
    install.WriteFile("Common/voice/apple.wav", TempInstall::MakeWav(0.05));
    tip.SetGameWord(" apple", "苹果");
    tip.show();
    QTest::mouseClick(tip.imgWord, Qt::LeftButton);
    QTest::keyClick(tip.imgWord, Qt::Key_Space);
    EXPECT_EQ(Spoken(), (QStringList{"apple", "apple"}));
    EXPECT_TRUE(install.Exists("Common/voice/apple.abw"));
    EXPECT_TRUE(tip.isVisible());
}

}  // namespace
