#include "app/RunOrvanel.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QScreen>
#include <QSessionManager>
#include <QTimer>
#include <cstdio>
#include <optional>

#include "app/FormMain.h"
#include "app/PupilFolder.h"
#include "app/QtMessageService.h"
#include "app/QtTranslations.h"
#include "core/RandomSource.h"
#include "app/RunningInstance.h"
#include "app/SessionEnd.h"
#include "app/StartupWarmup.h"
#include "media/InstanceLock.h"
#include "media/MediaStore.h"
#include "media/PulseRecorder.h"
#include "media/PulseSoundOutput.h"

namespace {

const QString kTitle = QStringLiteral("英语Orvanel");

void Tell(MessageService& messages, const QString& text, MsgIcon icon) {
    messages.Show(text, kTitle, MsgButtons::Ok, icon);
}

// Says on the terminal and in a message box what came of bringing the
// pupil's folder up to date; false when the program cannot go on. A folder
// just made is explained once the window shows.
bool ReportPreparation(MessageService& messages, const PupilFolder& pupil, PupilFolder::Outcome outcome) {
    using Outcome = PupilFolder::Outcome;
    switch (outcome) {
    case Outcome::UpToDate:
    case Outcome::Updated:
        return true;
    case Outcome::Made:
        std::printf("The pupil's own data is in %s\n", qPrintable(pupil.Path()));
        std::fflush(stdout);
        return true;
    case Outcome::UpdateFailed:
        std::fprintf(stderr, "orvanel: %s\n", qPrintable(pupil.Error()));
        Tell(messages, pupil.Message(outcome), MsgIcon::Warning);
        return true;
    case Outcome::CannotMake:
    case Outcome::ContentUnreadable:
        std::fprintf(stderr, "orvanel: %s\n", qPrintable(pupil.Error()));
        Tell(messages, pupil.Message(outcome), MsgIcon::Critical);
        return false;
    }
    return false;
}

// A screen scaled to 150 % or 200 % may be smaller than the window's
// natural size: the window then shrinks to the screen's free area.
void FitToScreen(QWidget& window) {
    const QScreen* screen = window.screen();
    if (!screen) return;
    const QRect free = screen->availableGeometry();
    // Room for the title bar and borders, which exist only once shown.
    const QSize frame(16, 48);
    const QSize size = window.size().boundedTo(free.size() - frame);
    if (size == window.size()) return;
    window.resize(size);
    window.move(free.topLeft() + QPoint((free.width() - size.width() - frame.width()) / 2, 0));
}

}  // namespace

int RunOrvanel(int argc, char* argv[], const QString& programDir, const std::function<void(FormMain&)>& shown) {
    // Before the application object, so that its start overlaps the reading
    // of the font configuration.
    StartupWarmup warmup;
    // The menus stay in the window on every desktop, where the pupil looks
    // for them.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.orvanel.Orvanel"));
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1x%1/org.orvanel.Orvanel.png").arg(size));
    QApplication::setWindowIcon(icon);
    QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 11));
    LoadQtTranslations(app);
    QtMessageService messages;
    QString dir = programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir;

    // Installed in the system's folders, the program runs on the pupil's
    // own copy of the content; a self-contained installation runs in place.
    std::optional<PupilFolder> pupil;
    if (programDir.isEmpty()) {
        const QString content = PupilFolder::InstalledContent(dir);
        if (!content.isEmpty()) {
            pupil.emplace(content, PupilFolder::DefaultPath());
            if (!pupil->MakeLockFolder()) {
                Tell(messages, pupil->Message(PupilFolder::Outcome::CannotMake), MsgIcon::Critical);
                return 1;
            }
            dir = pupil->BinDir();
        }
    }

    // Set up first, so that a request to end that comes during the start is
    // kept until the event loop can act on it.
    FormMain* running = nullptr;
    SessionEnd sessionEnd([&running] {
        if (running) running->EndSession();
        QCoreApplication::exit(0);
    });

    // Two running copies would scramble and unscramble the same files
    // against each other.
    InstanceLock lock(MediaStore(dir).AppPicsPath(QStringLiteral("orvanel.lock")));
    RunningInstance instance(dir);
    if (lock.TryLock() == InstanceLock::Result::HeldElsewhere) {
        if (instance.AskToShow()) return 0;
        Tell(messages, QStringLiteral("英语Orvanel 已经在运行了。"), MsgIcon::Information);
        return 1;
    }
    const PupilFolder::Outcome outcome = pupil ? pupil->Prepare() : PupilFolder::Outcome::UpToDate;
    if (pupil && !ReportPreparation(messages, *pupil, outcome)) return 1;

    PulseSoundOutput output;
    PulseRecorder recorder;
    RandomSource random;
    FormMain window(dir, messages, output, recorder, random, warmup);
    running = &window;
    messages.SetParent(&window);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window](QSessionManager&) { window.EndSession(); });
    if (!window.Start() || window.SessionEnded()) return window.SessionEnded() ? 0 : 1;
    FitToScreen(window);
    window.show();
    instance.Answer(&window);
    if (outcome == PupilFolder::Outcome::Made)
        QTimer::singleShot(0, &window, [&] { Tell(messages, pupil->Message(outcome), MsgIcon::Information); });
    if (shown) shown(window);
    const int code = app.exec();
    running = nullptr;
    return code;
}
