#pragma once

#include <QString>
#include <map>
#include <set>
#include <utility>
#include <vector>

struct sqlite3;

// The pupil's own data in a lesson database: every word's Result by its
// trimmed spelling, every unit's UnitStatus by book and unit name, and the
// position. What has no place in a new textbook (a spelling or a unit that
// left it) is kept aside in the database, so it returns when the word or
// the unit comes back. The review schedule's states and answer log go over
// whole, by spelling: a state whose word left the textbook waits there.
class PupilProgress {
public:
    static inline const QString kKeptResults = QStringLiteral("KeptResults");
    static inline const QString kKeptUnitStatus = QStringLiteral("KeptUnitStatus");

    // From a plain lesson database.
    bool ReadFrom(sqlite3* db, QString* error);
    // Into a plain lesson database of new content, inside the caller's
    // transaction.
    bool WriteInto(sqlite3* db, QString* error);

    struct Counts {
        int results = 0;       // spellings whose result is in the textbook
        int keptResults = 0;   // spellings kept aside
        int units = 0;         // units whose marks are in the textbook
        int keptUnits = 0;     // units kept aside
        bool positionFound = false;
        int reviewStates = 0;      // review states of words in the textbook
        int keptReviewStates = 0;  // review states of words that left it
        int answers = 0;           // rows of the answer log
    };
    Counts Written() const { return written_; }

private:
    using UnitKey = std::pair<QString, QString>;  // book name, unit name

    void AddResult(const QString& english, const QString& result);
    void AddUnitStatus(const UnitKey& unit, int status);
    bool ReadReview(sqlite3* db, QString* error);
    bool WriteReview(sqlite3* db, const std::set<QString>& spellings, QString* error);

    struct StateRow {
        QString english;
        double stability;
        double difficulty;
        QString lastReview;
        QString due;
        qint64 reps;
        qint64 lapses;
    };
    struct AnswerRow {
        QString english;
        QString answeredAt;
        qint64 grade;
        QString source;
    };

    std::map<QString, QString> results_;
    std::map<UnitKey, int> unitStatus_;
    std::vector<StateRow> reviewStates_;
    std::vector<AnswerRow> answers_;
    UnitKey position_;
    Counts written_;
};
