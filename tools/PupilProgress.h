#pragma once

#include <QString>
#include <map>
#include <utility>

struct sqlite3;

// The pupil's own data in a lesson database: every word's Result by its
// trimmed spelling, every unit's UnitStatus by book and unit name, and the
// position. What has no place in a new textbook (a spelling or a unit that
// left it) is kept aside in the database, so it returns when the word or
// the unit comes back.
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
    };
    Counts Written() const { return written_; }

private:
    using UnitKey = std::pair<QString, QString>;  // book name, unit name

    void AddResult(const QString& english, const QString& result);
    void AddUnitStatus(const UnitKey& unit, int status);

    std::map<QString, QString> results_;
    std::map<UnitKey, int> unitStatus_;
    UnitKey position_;
    Counts written_;
};
