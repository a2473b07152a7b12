#include <QApplication>
#include <QFont>
#include <QLockFile>

#include "app/FormMain.h"
#include "app/QtMessageService.h"
#include "app/RandomSource.h"
#include "media/MediaStore.h"
#include "media/PulseRecorder.h"
#include "media/PulseSoundOutput.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 11));
    QtMessageService messages;
    const QString programDir = QCoreApplication::applicationDirPath();

    // Two running copies would scramble and unscramble the same files
    // against each other.
    QLockFile lock(MediaStore(programDir).AppPicsPath(QStringLiteral("orvanel.lock")));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(100) && lock.error() == QLockFile::LockFailedError) {
        messages.Show(QStringLiteral("英语Orvanel 已经在运行了。"), QStringLiteral("英语Orvanel"), MsgButtons::Ok,
                      MsgIcon::Information);
        return 1;
    }

    PulseSoundOutput output;
    PulseRecorder recorder;
    RandomSource random;
    FormMain window(programDir, messages, output, recorder, random);
    messages.SetParent(&window);
    if (!window.Start()) return 1;
    window.show();
    return app.exec();
}
