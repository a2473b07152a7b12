#pragma once

class Catalogue;
class DateSource;
class LessonDatabase;
class MainHost;
class MediaStore;
class MessageService;
class ModulePlaySound;
class modRecordWav;
class RandomSource;
class ReviewBook;
class WordRecords;
struct LessonState;

// What a view or dialog works with: the shared state, the data modules, the
// media store, sound, the recorder, message boxes, the main window, the review
// schedule and the calendar. Everything here is owned by the main window.
struct LessonContext {
    LessonState& state;
    LessonDatabase& db;
    Catalogue& catalogue;
    WordRecords& words;
    MediaStore& store;
    ModulePlaySound& sound;
    modRecordWav& recorder;
    MessageService& messages;
    RandomSource& random;
    MainHost& host;
    ReviewBook& review;
    DateSource& dates;
};
