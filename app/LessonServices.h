#pragma once

#include "core/DateSource.h"
#include "core/LessonContext.h"
#include "core/LessonState.h"
#include "data/Catalogue.h"
#include "data/LessonDatabase.h"
#include "data/ReviewRecords.h"
#include "data/WordRecords.h"
#include "media/MediaStore.h"
#include "media/ModulePlaySound.h"
#include "media/modRecordWav.h"
#include "core/TickSource.h"
#include "quiz/ReviewBook.h"

class Recorder;
class SoundOutput;

// The shared state and the services that windows and views hold references
// to. The main window inherits this ahead of its widget base, so the services
// are made before the first widget and destroyed after the last one: a view's
// destructor may still stop a timer, a sound or a recording.
class LessonServices {
protected:
    LessonServices(const QString& programDir, MessageService& messages, SoundOutput& output,
                   Recorder& recorder, RandomSource& random, MainHost& host);

    LessonState state_;
    MessageService& messages_;
    RandomSource& random_;
    MediaStore store_;
    LessonDatabase db_;
    Catalogue catalogue_;
    WordRecords words_;
    ModulePlaySound sound_;
    modRecordWav recorder_;
    TickSource ticks_;
    DateSource dates_;
    ReviewRecords reviewRecords_;
    ReviewBook reviewBook_;
    LessonContext context_;
};
