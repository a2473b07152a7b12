#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <array>
#include <cstddef>
#include <vector>

#include "data/ReviewRecords.h"
#include "quiz/ReviewScheduler.h"

class DateSource;

// Where a graded answer came from.
enum class AnswerSource { Test, Game, Review };

// The pupil's 错词本: every word's memory state, the answers graded in each
// run, and the words due today. A graded answer is written at once; when
// the database refuses it, the pupil has been told once and the answers of
// the run wait in memory until the next run starts.
class ReviewBook {
public:
    static inline const QString kTitle = QStringLiteral("错词复习");
    static inline const QString kNothingDue = QStringLiteral("今天没有要复习的单词，明天再来吧！");
    static constexpr std::size_t kSessionWords = 15;

    ReviewBook(ReviewRecords& records, DateSource& dates);

    // A new run of the test, the game or the review: each word is graded
    // again at its first answer.
    void BeginRun(AnswerSource source);
    // Grades the word's first answer of the run; later answers of the run
    // change nothing. False when it is not graded or could not be written.
    bool Grade(AnswerSource source, const QString& english, bool right);

    int DueCount();
    // The toolbar button's caption: "错词本" and the count due today.
    QString ButtonCaption();
    // When the next review is due, after a session.
    QString NextReviewText();
    // Textbook words due today, the most nearly forgotten first.
    std::vector<CReviewState> DueWords(std::size_t limit);

    const std::vector<ReviewRecords::TextbookWord>& Textbook();
    // The word's first place in the textbook, -1 when it left it.
    int TextbookIndex(const QString& english);
    const CReviewState* State(const QString& english);

private:
    bool Load();
    void Keep(CReviewState state);
    std::vector<const CReviewState*> StatesInTextbook();
    void Flush();

    ReviewRecords& records_;
    DateSource& dates_;
    ReviewScheduler scheduler_;
    bool loaded_ = false;
    bool loadFailed_ = false;
    // States in the order they were made, with whether each word is in the
    // textbook, so today's words are found without a look-up per word.
    std::vector<CReviewState> states_;
    std::vector<bool> inTextbook_;
    QHash<QString, int> stateIndex_;
    std::vector<ReviewRecords::TextbookWord> textbook_;
    QHash<QString, int> firstPlace_;
    std::array<QSet<QString>, 3> graded_;
    std::vector<ReviewRecords::Answer> pendingAnswers_;
    QSet<QString> pendingWords_;
    bool holdWrites_ = false;
};
