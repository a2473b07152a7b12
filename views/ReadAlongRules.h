#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <map>

#include "media/ReadingScore.h"

class LessonDatabase;
class MediaStore;
class MessageService;
class ModulePlaySound;
class modRecordWav;
struct LessonState;

// What the listen-and-read view does with sound: the standard
// pronunciation, the pupil's own recording and its replay. The view mirrors
// this state in its labels and its record timer after every action. Every
// recording that ends is scored, and the score stays with its word until
// the recording is deleted.
class ReadAlongRules {
public:
    static inline const QString kStartCaption = QStringLiteral("开始录音");
    static inline const QString kStopCaption = QStringLiteral("停止");
    static inline const QString kRecordedCaption = QStringLiteral("我的朗读");
    static inline const QString kNotRecordedCaption = QStringLiteral("尚未录音");

    // Which of the two sounds of "循环比对" is playing.
    enum class Track { None, Standard, Mine };

    static inline const QString kNoVoiceNote = QStringLiteral("没有听到声音，请大声一点再录一次。");

    ReadAlongRules(LessonState& state, LessonDatabase& db, MediaStore& store, ModulePlaySound& sound,
                   modRecordWav& recorder, MessageService& messages);

    // Recording
    bool Recording() const { return recording_; }
    QString RecordCaption() const { return recording_ ? kStopCaption : kStartCaption; }
    // Shown in black while a recording runs or the word has one, else red.
    bool MyAudioRecorded() const;
    QString MyAudioCaption() const { return MyAudioRecorded() ? kRecordedCaption : kNotRecordedCaption; }

    void StartMyRecord();
    // The record control: starts a recording, or ends it and plays it back.
    void RecordClicked();
    // The time limit: saved without playback.
    void SaveMyRecord();
    // A listening action ends a running recording first, without playback.
    void StopMyRecord();
    // The shown word changed: a running recording is saved under the word
    // it was started for.
    void WordShown();
    // "Try again": the word's recording is deleted, if there is one.
    void DeleteMyRecord();

    // Listening
    void PictureClicked();
    void StandardAudioClicked();
    void MyAudioClicked();
    void BothAudioClicked();
    bool Speaking() const { return speaking_; }

    // The score of the shown word's recording, scored now if it was made
    // before; none without a recording or when it could not be scored.
    const ReadingScore::Result* CurrentScore();

    // Told when a recording starts or ends, before any sound is played, so
    // the controls show the change while the sound plays.
    std::function<void()> RecordingChanged;
    // Told before each of "循环比对"'s two sounds starts, and after both.
    std::function<void(Track)> PlayingChanged;

private:
    QString RecordingFile(const QString& word) const;
    QString TemporaryFile() const;
    void StopThroughTemporaryFile();
    void SetRecording(bool recording);
    void PlayMyRecording();
    void MarkPlaying(Track track);
    void ScoreRecording(const QString& word);
    void CheerIfSure(const QString& word);
    QStringList WordsToCompare();

    LessonState& state_;
    LessonDatabase& db_;
    MediaStore& store_;
    ModulePlaySound& sound_;
    modRecordWav& recorder_;
    MessageService& messages_;
    bool recording_ = false;
    QString recordingWord_;
    bool speaking_ = false;
    ReadingScore score_;
    // By trimmed spelling; an entry without a value is a recording that
    // could not be scored.
    std::map<QString, std::optional<ReadingScore::Result>> scores_;
    qint16 bookWordsOf_ = -1;
    QStringList bookWords_;
};
