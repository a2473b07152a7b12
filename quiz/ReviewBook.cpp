#include "quiz/ReviewBook.h"

#include <algorithm>

#include "core/DateSource.h"
#include "quiz/Fsrs.h"

namespace {

QString SourceName(AnswerSource source) {
    switch (source) {
    case AnswerSource::Test: return QStringLiteral("test");
    case AnswerSource::Game: return QStringLiteral("game");
    case AnswerSource::Review: return QStringLiteral("review");
    }
    return QString();
}

}  // namespace

ReviewBook::ReviewBook(ReviewRecords& records, DateSource& dates) : records_(records), dates_(dates) {}

// A failed load is tried again only when a run starts, so a broken
// database is reported once, not at every caption.
bool ReviewBook::Load() {
    if (loaded_) return true;
    if (loadFailed_) return false;
    std::vector<CReviewState> states;
    if (!records_.LoadStates(states) || !records_.LoadTextbook(textbook_)) {
        loadFailed_ = true;
        textbook_.clear();
        return false;
    }
    for (int i = 0; i < static_cast<int>(textbook_.size()); ++i)
        if (!firstPlace_.contains(textbook_[i].English)) firstPlace_.insert(textbook_[i].English, i);
    for (CReviewState& s : states) Keep(std::move(s));
    loaded_ = true;
    return true;
}

void ReviewBook::Keep(CReviewState state) {
    stateIndex_.insert(state.English, static_cast<int>(states_.size()));
    inTextbook_.push_back(firstPlace_.contains(state.English));
    states_.push_back(std::move(state));
}

void ReviewBook::BeginRun(AnswerSource source) {
    graded_[static_cast<int>(source)].clear();
    loadFailed_ = false;
    holdWrites_ = false;
    if (!pendingAnswers_.empty()) Flush();
}

bool ReviewBook::Grade(AnswerSource source, const QString& spelling, bool right) {
    const QString english = spelling.trimmed();
    QSet<QString>& graded = graded_[static_cast<int>(source)];
    if (english.isEmpty() || graded.contains(english) || !Load()) return false;
    graded.insert(english);
    const QDateTime now = dates_.Now();
    const int index = stateIndex_.value(english, -1);
    const CReviewState next = scheduler_.Answer(index < 0 ? nullptr : &states_[index], english, now.date(), right);
    if (index < 0) Keep(next);
    else states_[index] = next;
    pendingWords_.insert(english);
    pendingAnswers_.push_back({english, now, right ? Fsrs::kGood : Fsrs::kAgain, SourceName(source)});
    if (holdWrites_) return false;
    Flush();
    return !holdWrites_;
}

void ReviewBook::Flush() {
    std::vector<CReviewState> states;
    for (const QString& english : pendingWords_) states.push_back(states_[stateIndex_.value(english)]);
    if (!records_.SaveAnswers(states, pendingAnswers_)) {
        holdWrites_ = true;
        return;
    }
    pendingWords_.clear();
    pendingAnswers_.clear();
}

std::vector<const CReviewState*> ReviewBook::StatesInTextbook() {
    std::vector<const CReviewState*> states;
    if (!Load()) return states;
    states.reserve(states_.size());
    for (std::size_t i = 0; i < states_.size(); ++i)
        if (inTextbook_[i]) states.push_back(&states_[i]);
    return states;
}

std::vector<CReviewState> ReviewBook::DueWords(std::size_t limit) {
    return scheduler_.DueWords(StatesInTextbook(), dates_.Today(), limit);
}

int ReviewBook::DueCount() {
    const QDate today = dates_.Today();
    const std::vector<const CReviewState*> states = StatesInTextbook();
    return static_cast<int>(std::count_if(states.begin(), states.end(),
                                          [&](const CReviewState* s) { return s->Due <= today; }));
}

QString ReviewBook::ButtonCaption() {
    const int due = DueCount();
    return due > 0 ? QStringLiteral("错词本 %1").arg(due) : QStringLiteral("错词本");
}

QString ReviewBook::NextReviewText() {
    const QDate tomorrow = dates_.Today().addDays(1);
    const std::vector<const CReviewState*> states = StatesInTextbook();
    if (states.empty()) return QString();
    const auto byTomorrow =
        std::count_if(states.begin(), states.end(), [&](const CReviewState* s) { return s->Due <= tomorrow; });
    if (byTomorrow > 0) return QStringLiteral("明天还有%1个单词要复习").arg(byTomorrow);
    const QDate next = (*std::min_element(states.begin(), states.end(), [](const CReviewState* a, const CReviewState* b) {
                           return a->Due < b->Due;
                       }))->Due;
    return QStringLiteral("下一次复习：%1月%2日").arg(next.month()).arg(next.day());
}

const std::vector<ReviewRecords::TextbookWord>& ReviewBook::Textbook() {
    Load();
    return textbook_;
}

int ReviewBook::TextbookIndex(const QString& english) {
    if (!Load()) return -1;
    return firstPlace_.value(english.trimmed(), -1);
}

const CReviewState* ReviewBook::State(const QString& english) {
    if (!Load()) return nullptr;
    const int index = stateIndex_.value(english.trimmed(), -1);
    return index < 0 ? nullptr : &states_[index];
}
