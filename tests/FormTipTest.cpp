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

// Large enough for a young pupil: nothing smaller than the listen-and-read
// view's buttons (13 points), given in points so it follows the desktop's
// text size; a long word and meaning are shown whole, and a tall picture
// still fills its frame.
TEST_F(FormTipTest, TextsAreLargeAndWholeAndThePictureFillsItsFrame) {
    StorePicture("Good afternoon", 30, 60);
    tip.SetGameWord("Good afternoon", "下午好；（下午见面时用语）你好");
    tip.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tip));
    for (QWidget* text : std::initializer_list<QWidget*>{tip.lblEnglish, tip.lblChinese, tip.cmdOK}) {
        SCOPED_TRACE(text->metaObject()->className());
        EXPECT_GE(text->font().pointSizeF(), 13.0);
        EXPECT_GE(text->width(), text->minimumSizeHint().width());
        EXPECT_GE(text->height(), text->hasHeightForWidth() ? text->heightForWidth(text->width())
                                                            : text->minimumSizeHint().height());
        EXPECT_TRUE(tip.rect().contains(text->geometry()));
    }
    // Inside the focus ring, the picture reaches both sides.
    const QImage shown = tip.imgWord->grab().toImage();
    for (const QPoint at : {QPoint(8, shown.height() / 2), QPoint(shown.width() - 9, shown.height() / 2)})
        EXPECT_NEAR(qRed(shown.pixel(at)), 200, 30) << at.x() << "," << at.y();
}

}  // namespace
