#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <vector>

#include "core/CReviewState.h"

class LessonDatabase;
struct LessonState;

// The review schedule's two tables in the lesson database: each word's
// memory state and the log of every graded answer. An older database gets
// them at their first use.
class ReviewRecords {
public:
    static inline const QString kStateTable = QStringLiteral("ReviewState");
    static inline const QString kLogTable = QStringLiteral("AnswerLog");
    static inline const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
    static inline const QString kTimeFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss");

    // One graded answer as the log keeps it.
    struct Answer {
        QString English;
        QDateTime AnsweredAt;
        int Grade = 0;
        QString Source;  // "test", "game" or "review"
    };

    // A word of the textbook as the review asks it.
    struct TextbookWord {
        qint16 Book = 0;
        qint16 Unit = 0;
        QString English;
        QString Chinese;
    };

    // The statements that make both tables where they are missing.
    static QStringList CreateTablesSql();

    ReviewRecords(LessonState& state, LessonDatabase& db);

    // False when the tables could not be made (the pupil has been told).
    bool EnsureTables();
    bool LoadStates(std::vector<CReviewState>& states);
    // Every word of the textbook version, in the order of books and units.
    bool LoadTextbook(std::vector<TextbookWord>& words);
    // The new states and their log rows in one transaction: all or none.
    bool SaveAnswers(const std::vector<CReviewState>& states, const std::vector<Answer>& answers);

private:
    LessonState& state_;
    LessonDatabase& db_;
    bool tablesReady_ = false;
};
