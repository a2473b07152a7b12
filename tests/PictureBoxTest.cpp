#include "games/FlipCard.h"
#include "games/FormTip.h"
#include "games/GamePicture.h"
#include "games/WordFFK.h"
#include "games/WordPPK2.h"
#include "quiz/FormRRK.h"
#include "tests/support/ScriptedTickSource.h"
#include "tests/support/ViewFixture.h"
#include "views/ClickableLabel.h"
#include "views/Orvanel.h"
#include "views/PictureBox.h"
#include "views/ReadViewPictures.h"
#include "views/WordPicList.h"
#include "views/WordPicture.h"

// Left half red, right half blue.
QImage Halves(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QPainter(&picture).fillRect(width / 2, 0, width - width / 2, height, Qt::blue);
    return picture;
}

TEST(PictureBoxFitted, GrowsThePictureCentredAndKeepsItsProportions) {
    const QImage fitted = PictureBox::Fitted(Halves(400, 300), QSize(900, 600));
    ASSERT_EQ(fitted.size(), QSize(900, 600));
    // 800 × 600 centred: white bars of 50 pixels at the sides.
    const std::vector<std::pair<QPoint, QRgb>> rows = {{{20, 300}, qRgb(255, 255, 255)}, {{880, 300}, qRgb(255, 255, 255)}, {{60, 300}, qRgb(255, 0, 0)},
        {{440, 10}, qRgb(255, 0, 0)}, {{460, 590}, qRgb(0, 0, 255)}, {{840, 300}, qRgb(0, 0, 255)}};
    for (const auto& [at, colour] : rows) EXPECT_EQ(fitted.pixel(at), colour) << at.x() << "," << at.y();
}

// The page arrows point each its own way: the wide end of the next one is at the left, of the previous one at the right.
TEST(ReadViewPictures, ThePageArrowsPointOppositeWays) {
    EnsureQtApp();
    const ReadViewPictures::Set set = ReadViewPictures::DrawAll(1.0);
    const auto opaque = [](const QImage& arrow, int x) { return qAlpha(arrow.pixel(x, 12)) > 200; };
    EXPECT_EQ(QList<bool>({opaque(set.pageNext, 20), opaque(set.pageNext, 44), opaque(set.pagePrev, 20), opaque(set.pagePrev, 44)}),
              QList<bool>({true, false, false, true}));
}

// A fine pattern shrunk eightfold comes out as its average, not as the pixels picked.
TEST(PictureBoxFitted, ALargeReductionAveragesInsteadOfPicking) {
    QImage stripes(1600, 1200, QImage::Format_RGB32);
    for (int y = 0; y < stripes.height(); ++y)
        for (int x = 0; x < stripes.width(); ++x) stripes.setPixel(x, y, x % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    const QImage fitted = PictureBox::Fitted(stripes, QSize(200, 150));
    for (const QPoint at : {QPoint(10, 10), QPoint(100, 75), QPoint(190, 140)})
        EXPECT_NEAR(qGray(fitted.pixel(at)), 128, 20) << at.x() << "," << at.y();
}

TEST(PictureBox, ShowsThePictureAtTheSizeItEndsWith) {
    EnsureQtApp();
    PictureBox box(nullptr);
    box.resize(100, 100);
    box.SetPicture(Halves(400, 300));
    for (const QSize size : {QSize(300, 200), QSize(600, 450)}) {  // not yet shown: no resize event comes between
        box.resize(size);
        ASSERT_EQ(box.Image().size(), size);
    }
    EXPECT_EQ(std::make_pair(box.Image().pixel(100, 225), box.Image().pixel(500, 225)), std::make_pair(qRgb(255, 0, 0), qRgb(0, 0, 255)));
    // Drawn into (as a transition does), the drawing stays until the box is given another picture or size.
    box.Image().fill(Qt::green);
    EXPECT_EQ(box.Image().pixel(5, 5), qRgb(0, 255, 0));
    PictureBox other(nullptr);
    other.resize(600, 450);
    other.ShowSameAs(box);
    EXPECT_EQ(other.Image().pixel(5, 5), qRgb(0, 255, 0)) << "the same frame, not the picture fitted again";
    box.SetPicture(Halves(40, 30));
    EXPECT_EQ(box.Image().pixel(500, 225), qRgb(0, 0, 255));
}

// Every kind of control that shows a word's picture, each in its real view,
// as a screen reader finds it: role, name, and what pressing it does.
class PictureAccessibilityTest : public ViewFixture {
protected:
    void SetUp() override {
        CreateUnits({{{0, 0, "apple", "苹果"}, {0, 0, "bird", "鸟"}, {0, 0, "cat", "猫"}}});
        for (int n = 1; n <= 3; ++n) install.WriteFile(QString("Bin/AppPics/Background%1.jpg").arg(n), TempInstall::MakeJpeg(80, 60));
    }
    template <class Window>
    Window* Show(std::unique_ptr<Window> window) {
        Window* shown = window.get();
        shown->resize(1000, 640), shown->show();
        windows.push_back(std::move(window));
        return shown;
    }
    // A card of a fresh deal that shows the picture, or the spelling, of its word.
    FlipCard* Dealt(bool picture) {
        auto* game = Show(std::make_unique<WordFFK>(context, nullptr));
        game->StartGameFFK();
        board = game->PicGame;
        for (int i = 0; i < 16; ++i)
            if (game->PicWord[i]->isVisible() && game->PicWord[i]->imgWord->isVisible() == picture) {
                dealt = game->Rules().CardWord(i);
                return game->PicWord[i];
            }
        return nullptr;
    }
    ScriptedTickSource ticks;
    std::vector<std::unique_ptr<QWidget>> windows;
    QString dealt;
    QWidget* board = nullptr;
};

TEST_F(PictureAccessibilityTest, EveryPictureIsAnImageOrAButtonNamedByItsWord) {
    // pressed: whether pressing it did what a click does; null where nothing to check.
    struct Heard { QWidget* control; QAccessible::Role role; QString name; std::function<bool()> pressed; };
    auto* read = Show(std::make_unique<Orvanel>(context, ticks, ReadViewPictures::DrawAll(1.0), nullptr));
    read->InitUserControl();
    const auto spoke = [&](const QString& word) { return std::function<bool()>([&, word] { return Spoken() == QStringList{word}; }); };
    FormRRK* question = nullptr;
    int at = 0;
    const std::vector<std::pair<const char*, std::function<Heard()>>> rows = {
        {"default main picture", [&] { return Heard{read->Picture1, QAccessible::Button, "", nullptr}; }},
        {"main picture", [&] { qint16 i = 1; read->ChangeWord(i); return Heard{read->Picture1, QAccessible::Button, "bird", spoke("bird")}; }},
        {"thumbnail", [&] { qint16 i = 0; read->ChangeWord(i);
             return Heard{read->ArrImages[2], QAccessible::Button, "cat", [&] { return QTest::qWaitFor([&] { return state.CurWordIndex == 2; }, 1000); }}; }},
        {"list slot", [&] { auto* list = Show(std::make_unique<WordPicList>(context, nullptr)); list->LoadPics();
             return Heard{list->imgWord[1], QAccessible::Button, "bird", spoke("bird")}; }},
        {"picture card", [&] { FlipCard* card = Dealt(true); return Heard{card, QAccessible::Button, dealt, [card] { return card->Highlighted(); }}; }},
        {"text card", [&] { FlipCard* card = Dealt(false); return Heard{card, QAccessible::Button, dealt, [card] { return card->Highlighted(); }}; }},
        {"card's picture", [&] { return Heard{Dealt(true)->imgWord, QAccessible::Graphic, dealt, nullptr}; }},
        {"board", [&] { Dealt(true); return Heard{board, QAccessible::Pane, "游戏板", nullptr}; }},
        {"question picture", [&] {  // three words leave one of the four places empty
             question = Show(std::make_unique<FormRRK>(context, nullptr));
             question->SetTestWord(0);
             while (question->imgWord[at]->isHidden()) ++at;
             return Heard{question->imgWord[at], QAccessible::Button, question->imgWord[at]->Word(), [&] { return question->optAns[at]->isChecked(); }}; }},
        {"tip picture", [&] { auto* tip = Show(std::make_unique<FormTip>(store, sound, nullptr)); tip->SetGameWord(" cat ", "猫");
             return Heard{tip->imgWord, QAccessible::Button, "cat", spoke("cat")}; }},
        {"letter game speaker", [&] { return Heard{Show(std::make_unique<WordPPK2>(context, nullptr))->imgStandardAudio, QAccessible::Button, "读单词", nullptr}; }},
    };
    for (const auto& [name, show] : rows) {
        SCOPED_TRACE(name);
        const Heard expected = show();
        output.played.clear();
        ASSERT_NE(expected.control, nullptr);
        QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(expected.control);
        ASSERT_NE(heard, nullptr);
        EXPECT_EQ(std::make_tuple(heard->role(), heard->text(QAccessible::Name), bool(heard->state().invisible)),
                  std::make_tuple(expected.role, expected.name, false));
        QAccessibleActionInterface* actions = heard->actionInterface();
        const bool pressable = actions && actions->actionNames().contains(QAccessibleActionInterface::pressAction());
        EXPECT_EQ(pressable, expected.role == QAccessible::Button);
        if (!expected.pressed || !pressable) continue;
        actions->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_TRUE(expected.pressed()) << "pressing it does what a click does";
    }
    // The question's fifth option only clears the choice: nobody hears it.
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(question->optAns[4])->state().invisible);
}

// A screen reader hears a button named by the text it shows now; a left click
// released inside, Return, Enter, Space and the reader's press work it.
TEST(ClickableLabelTest, ItIsAButtonForTheScreenReaderTheMouseAndTheKeyboard) {
    EnsureQtApp();
    QWidget window;
    window.resize(300, 100);
    auto* label = new ClickableLabel(QStringLiteral("标准发音"), &window);
    label->setGeometry(10, 10, 200, 40);
    QSignalSpy clicks{label, &ClickableLabel::clicked};
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(label);
    EXPECT_EQ(heard->role(), QAccessible::Button);
    for (const QString& text : {QStringLiteral("标准发音"), QStringLiteral("尚未录音"), QString()}) {
        label->setText(text);
        EXPECT_EQ(heard->text(QAccessible::Name), text);
    }
    ASSERT_TRUE(heard->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    heard->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(199, 39));
    QTest::mouseClick(label, Qt::RightButton);
    QTest::mousePress(label, Qt::LeftButton);
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(200, 30));
    EXPECT_EQ(clicks.count(), 2) << "released outside, or another button";
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_A}) QTest::keyClick(label, key);
    EXPECT_EQ(clicks.count(), 5);
}
