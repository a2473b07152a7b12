#include "app/RunOrvanel.h"

#include <QApplication>
#include <QFont>
#include <QSessionManager>

#include "app/FormMain.h"
#include "app/InstanceLock.h"
#include "app/QtMessageService.h"
#include "app/RandomSource.h"
#include "app/SessionEnd.h"
#include "app/StartupWarmup.h"
#include "media/MediaStore.h"
#include "media/PulseRecorder.h"
#include "media/PulseSoundOutput.h"

int RunOrvanel(int argc, char* argv[], const QString& programDir, const std::function<void(FormMain&)>& shown) {
    // Before the application object, so that its start overlaps the reading
    // of the font configuration.
    StartupWarmup warmup;
    // The menus stay in the window on every desktop, where the pupil looks
    // for them.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 11));
    QtMessageService messages;
    const QString dir = programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir;

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
    if (lock.TryLock() == InstanceLock::Result::HeldElsewhere) {
        messages.Show(QStringLiteral("英语Orvanel 已经在运行了。"), QStringLiteral("英语Orvanel"), MsgButtons::Ok,
                      MsgIcon::Information);
        return 1;
    }

    PulseSoundOutput output;
    PulseRecorder recorder;
    RandomSource random;
    FormMain window(dir, messages, output, recorder, random, warmup);
    running = &window;
    messages.SetParent(&window);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window](QSessionManager&) { window.EndSession(); });
    if (!window.Start() || window.SessionEnded()) return window.SessionEnded() ? 0 : 1;
    window.show();
    if (shown) shown(window);
    const int code = app.exec();
    running = nullptr;
    return code;
}
