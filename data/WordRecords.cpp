#include "data/WordRecords.h"

#include "core/LessonState.h"
#include "core/MessageService.h"
#include "core/RandomSource.h"
#include "data/LessonDatabase.h"

#include <algorithm>
#include <limits>

WordRecords::WordRecords(LessonState& state, LessonDatabase& db, MessageService& messages,
                         RandomSource& random)
    : state_(state), db_(db), messages_(messages), random_(random) {}

bool WordRecords::LoadUnitWords(qint16 book, qint16 unit) {
    if (!db_.OpenRecordset({QStringLiteral("select * from %1 where Book = ? and Unit = ?")
                                .arg(SqlName(state_.VersionDB)),
                            {book, unit}}))
        return false;
    Recordset& rs = db_.SharedRecordset;
    const int count = rs.RecordCount();
    if (!db_.CountFits(count)) {
        db_.CloseRecordset();
        return false;
    }
    state_.WordCount = static_cast<qint16>(count);
    const bool found = count > 0;
    if (found) {
        state_.Words.assign(count, CWordType());
        rs.MoveFirst();
        for (int i = 0; !rs.IsEOF(); ++i) {
            MakeWordRecord(rs, i);
            rs.MoveNext();
        }
        state_.CurWordIndex = 0;
    }
    db_.CloseRecordset();
    if (!found) {
        db_.CloseBeforeMessage();
        messages_.Show(QStringLiteral("没有找到您要的单词库，请下载最新的版本！"), state_.VersionName);
    }
    return found;
}

void WordRecords::MakeWordRecord(Recordset& recordset, int i) {
    CWordType& word = state_.Words[i];
    word = CWordType();
    word.English = recordset.Field(QStringLiteral("English")).toString().trimmed();
    word.Chinese = recordset.Field(QStringLiteral("Chinese")).toString();
    word.Composition = static_cast<qint16>(recordset.Field(QStringLiteral("Composition")).toInt());
    const QVariant result = recordset.Field(QStringLiteral("Result"));
    word.Result = result.isNull() ? QStringLiteral("0|0|0") : result.toString();
    word.Tested = false;
    word.CurrErr = false;
    word.SetComposition();
    word.GetWordResult();
}

// All writes of one save share one open of the file and one transaction, so
// a failing database gives one message, not one per word.
bool WordRecords::SaveAllResults() {
    if (state_.Words.empty()) return true;
    return db_.InOneTransaction([this] {
        return std::all_of(state_.Words.begin(), state_.Words.end(),
                           [this](CWordType& word) { return word.UpdateUserInfo(db_, state_.VersionDB); });
    });
}

void WordRecords::SetCurrentWord() {
    const int index = state_.CurWordIndex;
    if (index == state_.WordCount || index < 0 || index >= static_cast<int>(state_.Words.size())) return;
    const CWordType& word = state_.Words[index];
    if (word.English == state_.CurEnglish) return;
    state_.PrevEnglish = state_.CurEnglish;
    state_.CurEnglish = word.English.trimmed();
    state_.CurChinese = word.Chinese.trimmed();
}

void WordRecords::ResetRunFlags() {
    state_.TestedCount = 0;
    for (CWordType& word : state_.Words) {
        word.Tested = false;
        word.CurrErr = false;
    }
}

void WordRecords::PrepareArrangeRun() {
    state_.TestedCount = 0;
    for (CWordType& word : state_.Words) {
        if (word.Composition != 0) {
            word.Tested = true;
        } else {
            word.Tested = false;
            word.CurrErr = false;
        }
    }
}

qint16 WordRecords::PickUntestedWord() {
    const int count = qMin<int>(state_.WordCount, static_cast<int>(state_.Words.size()));
    if (count <= 0) return -1;
    for (int attempt = 0; attempt < 6; ++attempt) {
        const int r = random_.Draw(count);
        if (r >= 0 && r < count && !state_.Words[r].Tested) return static_cast<qint16>(r);
    }
    for (int i = 0; i < count; ++i)
        if (!state_.Words[i].Tested) return static_cast<qint16>(i);
    return -1;
}

void WordRecords::CountAnswer(int index, bool right) {
    if (index < 0 || index >= static_cast<int>(state_.Words.size())) return;
    CWordType& word = state_.Words[index];
    word.CountAnswer(right);
    if (right && state_.TestedCount < std::numeric_limits<qint16>::max()) ++state_.TestedCount;
}
