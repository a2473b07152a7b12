#pragma once

#include <QString>
#include <QtGlobal>

class MediaStore;
class MessageService;
class SoundOutput;

// Pronunciations, the pupil's recordings and the games' feedback sounds,
// all played synchronously.
class ModulePlaySound {
public:
    ModulePlaySound(MediaStore& store, SoundOutput& output, MessageService& messages);

    void PlayWordSound(const QString& word);
    void PlayWavFile(const QString& word);
    void PlayMyVoice(const QString& word);
    void PlayFeedbackSound(qint16 kind);

    bool SoundBusy = false;

private:
    void PlayFromMemory(const QString& name);

    MediaStore& store_;
    SoundOutput& output_;
    MessageService& messages_;
};
