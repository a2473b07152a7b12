#include "games/FormTip.h"
#include "games/GamePicture.h"
#include "tests/support/GameFixture.h"
#include "tests/support/ModalDriver.h"

using FormTipTest = GameFixture;

// Neither the button nor Escape closes the window before its second is up; Space on the picture speaks.
TEST_F(FormTipTest, OkCannotBePressedDuringTheFirstSecondAndThePictureSpeaks) {
    install.WriteFile("Common/voice/apple.wav", TempInstall::MakeWav(0.05));
    QElapsedTimer clock;
    clock.start();
    FormTip tip(store, sound, nullptr);
    tip.SetGameWord("apple", "苹果");
    qint64 enabledAt = -1;
    WhenModal([&](QWidget* modal) {
        ASSERT_EQ(modal, &tip);
        tip.cmdOK->click();
        QTest::keyClick(&tip, Qt::Key_Escape);
        EXPECT_TRUE(tip.isVisible() || clock.elapsed() >= 1000);
        QTest::keyClick(tip.imgWord, Qt::Key_Space);
        EXPECT_EQ(Spoken(), QStringList{"apple"});
        while (clock.elapsed() < 3000 && !tip.cmdOK->isEnabled()) QTest::qWait(5);
        enabledAt = clock.elapsed();
        EXPECT_TRUE(tip.cmdOK->hasFocus());
        tip.cmdOK->click();
    });
    EXPECT_EQ(tip.exec(), QDialog::Accepted);
    EXPECT_TRUE(enabledAt >= 1000 && enabledAt < 3000) << enabledAt;
    EXPECT_TRUE(install.Exists("Common/voice/apple.abw"));
}

// The word's picture is scrambled again, a missing one shows the default, which stays plain for the next tip.
TEST_F(FormTipTest, ShowsTheWordTrimmedWithItsMeaningAndPictureOrTheDefault) {
    AddPicture("apple");
    AddPicture("ffe", TempInstall::MakeJpeg(20, 10));
    const QByteArray scrambled = install.ReadFile("Common/pics/ffe.pet");
    const std::vector<std::tuple<QString, QString, QString>> rows = {{"  apple ", "苹果", "apple 苹果 40x30 apple.pet,ffe.pet"},
        {"kite", "风筝", "kite 风筝 20x10 apple.pet,ffe.jpg"}, {"kite", "风筝", "kite 风筝 20x10 apple.pet,ffe.jpg"}};
    for (const auto& [word, meaning, seen] : rows) {
        FormTip shown(store, sound, nullptr);
        shown.SetGameWord(word, meaning);
        const QSize size = shown.imgWord->Picture().size();
        EXPECT_EQ(QString("%1 %2 %3x%4 ").arg(shown.lblEnglish->text(), shown.lblChinese->text()).arg(size.width()).arg(size.height()) +
                      QDir(install.DataDir() + "/pics").entryList(QDir::Files).join(','), seen);
        EXPECT_EQ(shown.imgWord->accessibleName(), word.trimmed());
    }
    EXPECT_TRUE(install.ReadFile("Common/pics/ffe.jpg").startsWith("\xFF\xD8\xFF"));
    EXPECT_NE(install.ReadFile("Common/pics/ffe.jpg"), scrambled);
}

// Nothing smaller than the listen-and-read view's buttons (13 points); a long
// word and meaning are shown whole, and a tall picture still fills its frame.
TEST_F(FormTipTest, TextsAreLargeAndWholeAndThePictureFillsItsFrame) {
    FormTip tip(store, sound, nullptr);
    AddPicture("Good afternoon", TempInstall::MakeJpeg(30, 60));
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
