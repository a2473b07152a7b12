#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "games/FormTip.h"
#include "games/GamePicture.h"
#include "tests/support/GameFixture.h"
#include "tests/support/ModalDriver.h"

namespace {

class FormTipTest : public GameFixture {
protected:
    FormTip tip{store, sound, nullptr};
};

// Neither the button nor Escape closes the window before its second is up.
TEST_F(FormTipTest, OkCannotBePressedDuringTheFirstSecond) {
    QElapsedTimer clock;
    clock.start();
    FormTip fresh(store, sound, nullptr);
    fresh.SetGameWord("apple", "苹果");
    qint64 enabledAt = -1;
    WhenModal([&](QWidget* modal) {
        ASSERT_EQ(modal, &fresh);
        fresh.cmdOK->click();
        QTest::keyClick(&fresh, Qt::Key_Escape);
        EXPECT_TRUE(fresh.isVisible() || clock.elapsed() >= 1000);
        while (clock.elapsed() < 3000 && !fresh.cmdOK->isEnabled()) QTest::qWait(5);
        enabledAt = clock.elapsed();
        EXPECT_TRUE(fresh.cmdOK->hasFocus());
        fresh.cmdOK->click();
    });
    EXPECT_EQ(fresh.exec(), QDialog::Accepted);
    EXPECT_GE(enabledAt, 1000);
    EXPECT_LT(enabledAt, 3000);
}

// The word trimmed, its meaning and picture; the word's picture is scrambled
// again, a missing one shows the default, which stays plain for the next tip.
TEST_F(FormTipTest, ShowsTheWordTrimmedWithItsMeaningAndPictureOrTheDefault) {
    StorePicture("apple", 40, 30);
    StorePicture("ffe", 20, 10);
    const QByteArray scrambled = install.ReadFile("Common/pics/ffe.pet");
    const std::vector<std::tuple<QString, QString, QSize, QStringList>> rows = {
        {"  apple ", "苹果", {40, 30}, {"apple.pet", "ffe.pet"}},
        {"kite", "风筝", {20, 10}, {"apple.pet", "ffe.jpg"}},
        {"kite", "风筝", {20, 10}, {"apple.pet", "ffe.jpg"}}};
    for (const auto& [word, meaning, size, files] : rows) {
        FormTip shown(store, sound, nullptr);
        shown.SetGameWord(word, meaning);
        EXPECT_EQ(shown.lblEnglish->text(), word.trimmed());
        EXPECT_EQ(shown.imgWord->accessibleName(), word.trimmed());
        EXPECT_EQ(shown.lblChinese->text(), meaning);
        EXPECT_EQ(shown.imgWord->Picture().size(), size);
        EXPECT_EQ(QDir(install.DataDir() + "/pics").entryList(QDir::Files), files);
    }
    EXPECT_TRUE(install.ReadFile("Common/pics/ffe.jpg").startsWith("\xFF\xD8\xFF"));
    EXPECT_NE(install.ReadFile("Common/pics/ffe.jpg"), scrambled);
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

// Nothing smaller than the listen-and-read view's buttons (13 points); a long
// word and meaning are shown whole, and a tall picture still fills its frame.
TEST_F(FormTipTest, TextsAreLargeAndWholeAndThePictureFillsItsFrame) {
    StorePicture("Good afternoon", 30, 60);
    tip.SetGameWord("Good afternoon", "下午好；（下午见面时用语）你好");
    tip.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tip));
    for (QWidget* text : std::initializer_list<QWidget*>{tip.lblEnglish, tip.lblChinese, tip.cmdOK}) {
        SCOPED_TRACE(text->metaObject()->className());
        EXPECT_GE(text->font().pointSizeF(), 13.0);
        EXPECT_GE(text->width(), text->minimumSizeHint().width());
        EXPECT_GE(text->height(), text->hasHeightForWidth() ? text->heightForWidth(text->width()) : text->minimumSizeHint().height());
        EXPECT_TRUE(tip.rect().contains(text->geometry()));
    }
    const QImage shown = tip.imgWord->grab().toImage();  // inside the focus ring, the picture reaches both sides
    for (const QPoint at : {QPoint(8, shown.height() / 2), QPoint(shown.width() - 9, shown.height() / 2)})
        EXPECT_NEAR(qRed(shown.pixel(at)), 200, 30) << at.x() << "," << at.y();
}

}  // namespace
