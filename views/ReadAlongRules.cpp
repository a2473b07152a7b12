#include "views/ReadAlongRules.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "app/LessonState.h"
#include "app/MessageService.h"
#include "media/MediaStore.h"
#include "media/ModulePlaySound.h"
#include "media/modRecordWav.h"

namespace {

const QString kWav = QStringLiteral(".wav");
const QString kTitle = QStringLiteral("跟读录音");

}  // namespace

ReadAlongRules::ReadAlongRules(LessonState& state, MediaStore& store, ModulePlaySound& sound, modRecordWav& recorder,
                               MessageService& messages)
    : state_(state), store_(store), sound_(sound), recorder_(recorder), messages_(messages) {}

QString ReadAlongRules::RecordingFile(const QString& word) const {
    return store_.WordFile(MediaStore::kMyVoice, word, kWav);
}

// No word can be spelled like this, so it never stands for a recording.
QString ReadAlongRules::TemporaryFile() const {
    return store_.FolderPath(MediaStore::kMyVoice) + QStringLiteral("/.recording.wav");
}

bool ReadAlongRules::MyAudioRecorded() const {
    return recording_ || store_.WordFileExists(MediaStore::kMyVoice, state_.CurEnglish, kWav);
}

void ReadAlongRules::StartMyRecord() {
    recorder_.StartRecord(QStringLiteral("2"), QStringLiteral("16"), QStringLiteral("44100"));
}

void ReadAlongRules::RecordClicked() {
    if (recording_) {
        StopThroughTemporaryFile();
        PlayMyRecording();
        return;
    }
    recordingWord_ = state_.CurEnglish;
    StartMyRecord();
    // A start that failed has said why; the control stays ready to start.
    SetRecording(recorder_.Recording());
}

// The recording replaces the word's file only once it has been saved whole,
// so a failed save keeps the earlier recording.
void ReadAlongRules::StopThroughTemporaryFile() {
    // Cleared first: a message box on the way must not let the time limit
    // stop the same recording again.
    recording_ = false;
    const QString temporary = TemporaryFile();
    QFile::remove(temporary);
    recorder_.StopRecord(temporary);
    if (QFileInfo(temporary).isFile()) {
        const QString target = RecordingFile(recordingWord_);
        if (target.isEmpty() ||
            std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) != 0) {
            QFile::remove(temporary);
            messages_.Show(QStringLiteral("录音没能保存。"), kTitle, MsgButtons::Ok, MsgIcon::Critical);
        }
    }
    SetRecording(false);
}

void ReadAlongRules::SetRecording(bool recording) {
    recording_ = recording;
    if (RecordingChanged) RecordingChanged();
}

void ReadAlongRules::SaveMyRecord() {
    if (!recording_) return;
    recording_ = false;
    recorder_.StopRecord(RecordingFile(recordingWord_));
    SetRecording(false);
}

void ReadAlongRules::StopMyRecord() {
    if (recording_) StopThroughTemporaryFile();
}

void ReadAlongRules::WordShown() {
    if (recording_ && state_.CurEnglish != recordingWord_) SaveMyRecord();
}

void ReadAlongRules::DeleteMyRecord() {
    if (!store_.WordFileExists(MediaStore::kMyVoice, state_.CurEnglish, kWav)) return;
    if (!QFile::remove(RecordingFile(state_.CurEnglish)))
        messages_.Show(QStringLiteral("录音没能删除。"), kTitle, MsgButtons::Ok, MsgIcon::Critical);
}

void ReadAlongRules::PictureClicked() {
    if (speaking_) return;
    speaking_ = true;
    const int index = state_.CurWordIndex;
    if (index >= 0 && index < static_cast<int>(state_.Words.size())) sound_.PlayWordSound(state_.Words[index].English);
    speaking_ = false;
}

void ReadAlongRules::PlayMyRecording() {
    sound_.PlayMyVoice(state_.CurEnglish);
}

void ReadAlongRules::StandardAudioClicked() {
    StopMyRecord();
    PictureClicked();
}

void ReadAlongRules::MyAudioClicked() {
    StopMyRecord();
    PlayMyRecording();
}

void ReadAlongRules::BothAudioClicked() {
    StopMyRecord();
    PictureClicked();
    PlayMyRecording();
}
