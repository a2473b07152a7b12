#include <gtest/gtest.h>

#include <malloc.h>

#include "app/FormMain.h"
#include "tests/support/QtApp.h"
#include "tests/support/RecordingSoundOutput.h"
#include "tests/support/ScriptedMessageService.h"
#include "tests/support/ScriptedRandom.h"
#include "tests/support/ScriptedRecorder.h"
#include "tests/support/TempInstall.h"

namespace {

// A child widget that, like a view stopping its sound or timer, still uses
// the shared state while it is destroyed.
class StateReadingWidget : public QWidget {
public:
    StateReadingWidget(LessonState& state, QString& seen, QWidget* parent)
        : QWidget(parent), state_(state), seen_(seen) {}
    ~StateReadingWidget() override { seen_ = state_.Words.empty() ? QString() : state_.Words.front().English; }

private:
    LessonState& state_;
    QString& seen_;
};

TEST(FormMainLifetimeTest, ServicesOutliveTheChildWidgets) {
    EnsureQtApp();
    // Freed memory is overwritten, so a use after the services died would not
    // read back the old text by chance.
    mallopt(M_PERTURB, 0xa5);
    TempInstall install;
    install.CreateDatabase({{"Unit 1"}}, {{0, 0, "hello", "你好"}});
    ScriptedMessageService messages;
    RecordingSoundOutput output;
    ScriptedRecorder recorder;
    ScriptedRandom random;
    QString seen;
    {
        FormMain window(install.BinDir(), messages, output, recorder, random);
        ASSERT_TRUE(window.Start());
        new StateReadingWidget(window.State(), seen, window.MainFrame);
    }
    mallopt(M_PERTURB, 0);
    EXPECT_EQ(seen, "hello");
}

}  // namespace
