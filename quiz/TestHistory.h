#pragma once

#include <QtGlobal>
#include <vector>

#include "core/CHisType.h"

class LessonDatabase;
class MessageService;
struct LessonState;

// The newest records of the lesson database's test history. The program
// only reads them.
class TestHistory {
public:
    static constexpr int kMaxRecords = 50;

    TestHistory(const LessonState& state, LessonDatabase& db, MessageService& messages);

    // Reads up to 50 records of user 0, newest first, into HistoryList and
    // returns their number; with none found, says so and keeps the list.
    qint16 LoadHistory();

    std::vector<CHisType> HistoryList;

private:
    const LessonState& state_;
    LessonDatabase& db_;
    MessageService& messages_;
};
