#include "media/ModulePlaySound.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QThread>

#include "core/MessageService.h"
#include "media/MediaStore.h"
#include "media/ModuleCrpt.h"
#include "core/SoundOutput.h"

namespace {

const QString kWav = QStringLiteral(".wav");

}  // namespace

ModulePlaySound::ModulePlaySound(MediaStore& store, SoundOutput& output, MessageService& messages)
    : store_(store), output_(output), messages_(messages) {}

// The pronunciation is plain only for the time it plays. When the store
// cannot be changed, or the ".wav" still holds the scrambled form, the sound
// is unscrambled in memory and played from a file outside the store.
void ModulePlaySound::PlayWordSound(const QString& word) {
    const QString name = word.trimmed();
    if (!store_.WordFileExists(MediaStore::kVoice, name, kWav)) store_.DecryptWordAudio(name);
    if (store_.WordFileExists(MediaStore::kVoice, name, kWav) &&
        ModuleCrpt::FileForm(store_.WordFile(MediaStore::kVoice, name, kWav), ModuleCrpt::kWavStart) ==
            ModuleCrpt::HeaderForm::Plain)
        PlayWavFile(name);
    else
        PlayFromMemory(name);
    QThread::msleep(10);
    store_.EncryptWordAudio(name);
}

void ModulePlaySound::PlayFromMemory(const QString& name) {
    const QByteArray sound = store_.ReadPlainWordFile(MediaStore::kVoice, name, kWav, QStringLiteral(".abw"));
    if (sound.isEmpty() || SoundBusy) return;
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/orvanel-XXXXXX.wav"));
    if (!file.open() || file.write(sound) != sound.size() || !file.flush()) return;
    SoundBusy = true;
    output_.PlaySync(file.fileName());
    SoundBusy = false;
}

void ModulePlaySound::PlayWavFile(const QString& word) {
    if (SoundBusy) return;
    SoundBusy = true;
    const QString name = word.trimmed();
    if (store_.WordFileExists(MediaStore::kVoice, name, kWav))
        output_.PlaySync(store_.WordFile(MediaStore::kVoice, name, kWav));
    SoundBusy = false;
}

// The recording is looked up with the word exactly as given.
void ModulePlaySound::PlayMyVoice(const QString& word) {
    const QString path = store_.WordFile(MediaStore::kMyVoice, word, kWav);
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        messages_.Show(QStringLiteral("请先录音！"), QStringLiteral("跟读录音"), MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    output_.PlaySync(path);
}

void ModulePlaySound::PlayFeedbackSound(qint16 kind) {
    const QString name = kind == 1   ? QStringLiteral("SuccessWav1")
                         : kind == 2 ? QStringLiteral("FailWav0")
                                     : QStringLiteral("Notify0");
    if (store_.WordFileExists(MediaStore::kAppVoice, name, kWav))
        output_.PlaySync(store_.WordFile(MediaStore::kAppVoice, name, kWav));
    QThread::msleep(500);
}
