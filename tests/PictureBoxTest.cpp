#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <QAccessible>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <functional>

#include "games/FlipCard.h"
#include "games/FormTip.h"
#include "games/GamePicture.h"
#include "games/WordFFK.h"
#include "games/WordPPK2.h"
#include "quiz/FormRRK.h"
#include "tests/support/QtApp.h"
#include "tests/support/ScriptedTickSource.h"
#include "tests/support/ViewFixture.h"
#include "views/Orvanel.h"
#include "views/PictureBox.h"
#include "views/ReadViewPictures.h"
#include "views/WordPicList.h"
#include "views/WordPicture.h"

namespace {

// Left half red, right half blue.
QImage Halves(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QPainter(&picture).fillRect(width / 2, 0, width - width / 2, height, Qt::blue);
    return picture;
}

int Grey(QRgb pixel) {
    return qGray(pixel);
}

}  // namespace

TEST(PictureBoxFitted, GrowsThePictureCentredAndKeepsItsProportions) {
    const QImage fitted = PictureBox::Fitted(Halves(400, 300), QSize(900, 600));
    ASSERT_EQ(fitted.size(), QSize(900, 600));
    // 800 × 600 centred: white bars of 50 pixels at the sides.
    EXPECT_EQ(fitted.pixel(20, 300), qRgb(255, 255, 255));
    EXPECT_EQ(fitted.pixel(880, 300), qRgb(255, 255, 255));
    EXPECT_EQ(fitted.pixel(60, 300), qRgb(255, 0, 0));
    EXPECT_EQ(fitted.pixel(440, 10), qRgb(255, 0, 0));
    EXPECT_EQ(fitted.pixel(460, 590), qRgb(0, 0, 255));
    EXPECT_EQ(fitted.pixel(840, 300), qRgb(0, 0, 255));
}

// A fine pattern shrunk eightfold must come out as its average, not as
// whichever of its pixels happen to be picked.
TEST(PictureBoxFitted, ALargeReductionAveragesInsteadOfPicking) {
    QImage stripes(1600, 1200, QImage::Format_RGB32);
    for (int y = 0; y < stripes.height(); ++y)
        for (int x = 0; x < stripes.width(); ++x) stripes.setPixel(x, y, x % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    const QImage fitted = PictureBox::Fitted(stripes, QSize(200, 150));
    for (const QPoint at : {QPoint(10, 10), QPoint(100, 75), QPoint(190, 140)})
        EXPECT_NEAR(Grey(fitted.pixel(at)), 128, 20) << at.x() << "," << at.y();
}

TEST(PictureBox, ShowsThePictureAtTheSizeItEndsWith) {
    EnsureQtApp();
    PictureBox box(nullptr);
    box.resize(100, 100);
    box.SetPicture(Halves(400, 300));
    box.resize(300, 200);
    box.resize(600, 450);
    ASSERT_EQ(box.Image().size(), QSize(600, 450));
    EXPECT_EQ(box.Image().pixel(100, 225), qRgb(255, 0, 0));
    EXPECT_EQ(box.Image().pixel(500, 225), qRgb(0, 0, 255));

    // Drawn into (as a transition does), the drawing stays until the box
    // is given another picture or size.
    box.Image().fill(Qt::green);
    EXPECT_EQ(box.Image().pixel(5, 5), qRgb(0, 255, 0));
    PictureBox other(nullptr);
    other.resize(600, 450);
    other.ShowSameAs(box);
    EXPECT_EQ(other.Image().pixel(5, 5), qRgb(0, 255, 0)) << "the same frame, not the picture fitted again";
    box.SetPicture(Halves(40, 30));
    EXPECT_EQ(box.Image().pixel(500, 225), qRgb(0, 0, 255));
}

namespace {

// Every control that shows a word's picture, each in its real view, as a
// screen reader finds it.
class PictureAccessibilityTest : public ViewFixture {
public:
    struct Heard {
        QWidget* control;
        QAccessible::Role role;
        QString name;
        // Whether pressing it through the screen reader did what a click
        // does; null where there is nothing to check.
        std::function<bool()> pressed;
    };

    void SetUp() override {
        CreateUnits({{{0, 0, "apple", "苹果"}, {0, 0, "bird", "鸟"}, {0, 0, "cat", "猫"}}});
        for (int n = 1; n <= 3; ++n)
            install.WriteFile(QString("Bin/AppPics/Background%1.jpg").arg(n), TempInstall::MakeJpeg(80, 60));
    }

    Heard MainPicture() {
        qint16 second = 1;
        ReadView()->ChangeWord(second);
        output.played.clear();
        return {readView_->Picture1, QAccessible::Button, "bird", [this] { return Spoken() == QStringList{"bird"}; }};
    }

    Heard DefaultMainPicture() { return {ReadView()->Picture1, QAccessible::Button, "", nullptr}; }

    Heard Thumbnail() {
        qint16 first = 0;
        ReadView()->ChangeWord(first);
        return {readView_->ArrImages[2], QAccessible::Button, "cat",
                [this] { return QTest::qWaitFor([this] { return state.CurWordIndex == 2; }, 1000); }};
    }

    Heard ListSlot() {
        auto* list = Show(std::make_unique<WordPicList>(context, nullptr));
        list->LoadPics();
        return {list->imgWord[1], QAccessible::Button, "bird", [this] { return Spoken() == QStringList{"bird"}; }};
    }

    Heard PictureCard() { return Card(Dealt(true)); }
    Heard TextCard() { return Card(Dealt(false)); }
    Heard CardsPicture() { return {Dealt(true)->imgWord, QAccessible::Graphic, dealtWord_, nullptr}; }

    Heard Board() {
        Dealt(true);
        return {game_->PicGame, QAccessible::Pane, "游戏板", nullptr};
    }

    Heard QuestionPicture() {
        question_ = Show(std::make_unique<FormRRK>(context, nullptr));
        question_->SetTestWord(0);
        // Three words leave one of the four places empty.
        int at = 0;
        while (question_->imgWord[at]->isHidden()) ++at;
        return {question_->imgWord[at], QAccessible::Button, question_->imgWord[at]->Word(),
                [this, at] { return question_->optAns[at]->isChecked(); }};
    }

    Heard TipPicture() {
        auto* tip = Show(std::make_unique<FormTip>(store, sound, nullptr));
        tip->SetGameWord(" cat ", "猫");
        output.played.clear();
        return {tip->imgWord, QAccessible::Button, "cat", [this] { return Spoken() == QStringList{"cat"}; }};
    }

    Heard LetterGameSpeaker() {
        return {Show(std::make_unique<WordPPK2>(context, nullptr))->imgStandardAudio, QAccessible::Button, "读单词",
                nullptr};
    }

    template <class Window>
    Window* Show(std::unique_ptr<Window> window) {
        Window* shown = window.get();
        shown->resize(1000, 640);
        shown->show();
        windows_.push_back(std::move(window));
        return shown;
    }

    Orvanel* ReadView() {
        if (!readView_) {
            readView_ = Show(std::make_unique<Orvanel>(context, ticks, ReadViewPictures::DrawAll(1.0), nullptr));
            readView_->InitUserControl();
        }
        return readView_;
    }

    // A card of a fresh deal that shows the picture, or the spelling, of its word.
    FlipCard* Dealt(bool picture) {
        game_ = Show(std::make_unique<WordFFK>(context, nullptr));
        game_->StartGameFFK();
        for (int i = 0; i < 16; ++i)
            if (game_->PicWord[i]->isVisible() && game_->PicWord[i]->imgWord->isVisible() == picture) {
                dealtWord_ = game_->Rules().CardWord(i);
                return game_->PicWord[i];
            }
        return nullptr;
    }

    Heard Card(FlipCard* card) {
        return {card, QAccessible::Button, dealtWord_, [card] { return card->Highlighted(); }};
    }

    ScriptedTickSource ticks;
    std::vector<std::unique_ptr<QWidget>> windows_;
    Orvanel* readView_ = nullptr;
    WordFFK* game_ = nullptr;
    FormRRK* question_ = nullptr;
    QString dealtWord_;
};
struct PictureKind {
    const char* name;
    PictureAccessibilityTest::Heard (PictureAccessibilityTest::*show)();
};

void PrintTo(const PictureKind& kind, std::ostream* out) {
    *out << kind.name;
}

class PictureKindTest : public PictureAccessibilityTest, public ::testing::WithParamInterface<PictureKind> {};

TEST_P(PictureKindTest, IsAnImageOrAButtonNamedByItsWord) {
    const Heard expected = (this->*GetParam().show)();
    ASSERT_NE(expected.control, nullptr);
    QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(expected.control);
    ASSERT_NE(heard, nullptr);
    EXPECT_EQ(heard->role(), expected.role);
    EXPECT_EQ(heard->text(QAccessible::Name), expected.name);
    EXPECT_FALSE(heard->state().invisible);
    QAccessibleActionInterface* actions = heard->actionInterface();
    const bool pressable = actions && actions->actionNames().contains(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(pressable, expected.role == QAccessible::Button);
    if (!expected.pressed) return;
    ASSERT_TRUE(pressable);
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(expected.pressed()) << "pressing it does what a click does";
}

using T = PictureAccessibilityTest;
INSTANTIATE_TEST_SUITE_P(
    EveryKind, PictureKindTest,
    ::testing::Values(PictureKind{"MainPicture", &T::MainPicture}, PictureKind{"DefaultMainPicture", &T::DefaultMainPicture},
                      PictureKind{"Thumbnail", &T::Thumbnail}, PictureKind{"ListSlot", &T::ListSlot},
                      PictureKind{"PictureCard", &T::PictureCard}, PictureKind{"TextCard", &T::TextCard},
                      PictureKind{"CardsPicture", &T::CardsPicture}, PictureKind{"Board", &T::Board},
                      PictureKind{"QuestionPicture", &T::QuestionPicture}, PictureKind{"TipPicture", &T::TipPicture},
                      PictureKind{"LetterGameSpeaker", &T::LetterGameSpeaker}),
    [](const auto& info) { return std::string(info.param.name); });

// The picture question's fifth option only clears the choice: nobody hears it.
TEST_F(PictureAccessibilityTest, ThePictureQuestionsHiddenOptionIsNotAnnounced) {
    QuestionPicture();
    QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(question_->optAns[4]);
    ASSERT_NE(heard, nullptr);
    EXPECT_TRUE(heard->state().invisible);
}

}  // namespace
