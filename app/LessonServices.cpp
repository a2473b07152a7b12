#include "app/LessonServices.h"

LessonServices::LessonServices(const QString& programDir, MessageService& messages, SoundOutput& output,
                               Recorder& recorder, RandomSource& random, MainHost& host)
    : messages_(messages),
      random_(random),
      store_(programDir),
      db_(state_, messages),
      catalogue_(state_, db_, messages),
      words_(state_, db_, messages, random),
      sound_(store_, output, messages),
      recorder_(recorder, messages),
      reviewRecords_(state_, db_),
      reviewBook_(reviewRecords_, dates_),
      context_{state_, db_, catalogue_, words_, store_, sound_, recorder_, messages, random, host,
               reviewBook_, dates_} {}
