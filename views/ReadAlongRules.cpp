#include "views/ReadAlongRules.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "core/LessonState.h"
#include "core/MessageService.h"
#include "media/MediaStore.h"
#include "media/ModulePlaySound.h"
#include "media/modRecordWav.h"
#include "views/BookWords.h"

namespace {

const QString kWav = QStringLiteral(".wav");
const QString kTitle = QStringLiteral("跟读录音");

}  // namespace

ReadAlongRules::ReadAlongRules(LessonState& state, LessonDatabase& db, MediaStore& store, ModulePlaySound& sound,
                               modRecordWav& recorder, MessageService& messages)
    : state_(state), db_(db), store_(store), sound_(sound), recorder_(recorder), messages_(messages), score_(store) {}

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
        const QString word = recordingWord_;
        StopThroughTemporaryFile();
        PlayMyRecording();
        CheerIfSure(word);
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
    ScoreRecording(recordingWord_);
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
    ScoreRecording(recordingWord_);
    SetRecording(false);
    CheerIfSure(recordingWord_);
}

void ReadAlongRules::StopMyRecord() {
    if (!recording_) return;
    StopThroughTemporaryFile();
    CheerIfSure(recordingWord_);
}

void ReadAlongRules::WordShown() {
    if (recording_ && state_.CurEnglish != recordingWord_) SaveMyRecord();
}

void ReadAlongRules::DeleteMyRecord() {
    scores_.erase(state_.CurEnglish.trimmed());
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
    MarkPlaying(Track::Standard);
    PictureClicked();
    MarkPlaying(Track::Mine);
    PlayMyRecording();
    MarkPlaying(Track::None);
}

void ReadAlongRules::MarkPlaying(Track track) {
    if (PlayingChanged) PlayingChanged(track);
}

// The unit's words, or the book's when the unit has too few to tell a
// word from the others.
QStringList ReadAlongRules::WordsToCompare() {
    QStringList words;
    for (const CWordType& word : state_.Words) words << word.English;
    if (words.size() >= ReadingScore::kFewestWords) return words;
    if (bookWordsOf_ != state_.CurBook) {
        bookWords_ = BookWords::Load(db_, state_);
        bookWordsOf_ = state_.CurBook;
    }
    return bookWords_ + words;
}

// A recording that cannot be read or compared leaves no score and no word
// about it: the pupil can still listen and judge.
void ReadAlongRules::ScoreRecording(const QString& word) {
    const QString key = word.trimmed();
    scores_.erase(key);
    if (!store_.WordFileExists(MediaStore::kMyVoice, key, kWav)) return;
    score_.UseWords(WordsToCompare());
    scores_[key] = score_.Score(key, store_.ReadPlainWordFile(MediaStore::kMyVoice, key, kWav, kWav));
}

const ReadingScore::Result* ReadAlongRules::CurrentScore() {
    const QString key = state_.CurEnglish.trimmed();
    if (recording_ || !store_.WordFileExists(MediaStore::kMyVoice, key, kWav)) return nullptr;
    if (!scores_.contains(key)) ScoreRecording(key);
    const auto& score = scores_[key];
    return score ? &*score : nullptr;
}

// Praise for a sure reading only; the others go without a sound.
void ReadAlongRules::CheerIfSure(const QString& word) {
    const auto found = scores_.find(word.trimmed());
    if (found != scores_.end() && found->second && found->second->stars == 3) sound_.PlayFeedbackSound(1);
}
