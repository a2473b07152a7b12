// ReadingScoreBench INSTALLATION INDEX: scores a labelled set of takes
// against an installation's standard pronunciations. INDEX holds one take a
// line: book, unit, target, said, path (relative to INDEX's folder) and
// optionally the voice, tab separated. Prints how well the score tells right
// takes from wrong ones, how the stars fall, and the time a take costs; with
// voices, also for each half of them: the first, third, ... voice to appear
// (A, on which the star thresholds were set) and the others (B, held out).
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <map>

#include "core/LessonState.h"
#include "data/Catalogue.h"
#include "data/LessonDatabase.h"
#include "data/WordRecords.h"
#include "media/MediaStore.h"
#include "media/ReadingScore.h"
#include "media/WavReader.h"
#include "tests/support/CopyTree.h"
#include "tests/support/ScriptedMessageService.h"
#include "tests/support/ScriptedRandom.h"
#include "views/BookWords.h"

namespace {

struct Take {
    int book = 0;
    int unit = 0;
    QString target;
    QString said;
    QString path;
    QString voice;
};

struct Scored {
    bool right = false;
    double margin = 0;
    int stars = 0;
    double ms = 0;
    double seconds = 0;
    char half = 'A';
};

std::vector<Take> ReadIndex(const QString& indexPath) {
    std::vector<Take> takes;
    QFile file(indexPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return takes;
    const QDir base = QFileInfo(indexPath).absoluteDir();
    while (!file.atEnd()) {
        const QStringList fields = QString::fromUtf8(file.readLine()).trimmed().split(QLatin1Char('\t'));
        if (fields.size() < 5 || fields.size() > 6) continue;
        takes.push_back({fields[0].toInt(), fields[1].toInt(), fields[2], fields[3], base.filePath(fields[4]),
                         fields.value(5)});
    }
    return takes;
}

// The words a take of this unit is compared with, as the view chooses them.
class UnitWords {
public:
    explicit UnitWords(const QString& installation)
        : db_(state_, messages_), catalogue_(state_, db_, messages_), words_(state_, db_, messages_, random_) {
        // A copy of the lesson database: reading it unscrambles the file.
        CopyTree(installation + QStringLiteral("/Bin/AppPics"), copy_.path());
        db_.BuildConnString(copy_.path());
        db_.LoadSettings();
    }

    QStringList Of(int book, int unit) {
        const auto key = std::make_pair(book, unit);
        if (auto found = known_.find(key); found != known_.end()) return found->second;
        QStringList list;
        state_.CurBook = static_cast<qint16>(book);
        if (catalogue_.LoadUnits(static_cast<qint16>(book)) &&
            words_.LoadUnitWords(static_cast<qint16>(book), static_cast<qint16>(unit)))
            for (const CWordType& word : state_.Words) list << word.English;
        if (list.size() < ReadingScore::kFewestWords) list = BookWords::Load(db_, state_);
        return known_[key] = list;
    }

private:
    QTemporaryDir copy_;
    LessonState state_;
    ScriptedMessageService messages_;
    ScriptedRandom random_;
    LessonDatabase db_;
    Catalogue catalogue_;
    WordRecords words_;
    std::map<std::pair<int, int>, QStringList> known_;
};

// The chance that a right take scores above a wrong one, ties counting half.
double Auc(const std::vector<Scored>& all) {
    std::vector<double> right, wrong;
    for (const Scored& s : all) (s.right ? right : wrong).push_back(s.margin);
    if (right.empty() || wrong.empty()) return 0;
    std::sort(wrong.begin(), wrong.end());
    double wins = 0;
    for (double r : right) {
        const auto below = std::lower_bound(wrong.begin(), wrong.end(), r) - wrong.begin();
        const auto equal = std::upper_bound(wrong.begin(), wrong.end(), r) - wrong.begin() - below;
        wins += static_cast<double>(below) + 0.5 * static_cast<double>(equal);
    }
    return wins / (static_cast<double>(right.size()) * static_cast<double>(wrong.size()));
}

double Quantile(std::vector<double> values, double share) {
    if (values.empty()) return 0;
    const auto at = values.begin() + static_cast<long>(share * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

double Median(std::vector<double> values) {
    return Quantile(std::move(values), 0.5);
}

void Report(const char* title, const std::vector<Scored>& results) {
    int right = 0, wrong = 0, rightUnder2 = 0, wrongAt3 = 0;
    std::vector<double> rightMargins, wrongMargins;
    for (const Scored& s : results) {
        (s.right ? right : wrong) += 1;
        if (s.right && s.stars < 2) ++rightUnder2;
        if (!s.right && s.stars == 3) ++wrongAt3;
        (s.right ? rightMargins : wrongMargins).push_back(s.margin);
    }
    std::printf("%s: %d right, %d wrong\n", title, right, wrong);
    std::printf("  AUC                        %.4f\n", Auc(results));
    std::printf("  right takes under 2 stars  %.2f %%\n", right ? 100.0 * rightUnder2 / right : 0.0);
    std::printf("  wrong takes at 3 stars     %.2f %%\n", wrong ? 100.0 * wrongAt3 / wrong : 0.0);
    std::printf("  margin of right takes      5 %% %.3f, median %.3f\n", Quantile(rightMargins, 0.05),
                Median(rightMargins));
    std::printf("  margin of wrong takes      median %.3f, 95 %% %.3f\n", Median(wrongMargins),
                Quantile(wrongMargins, 0.95));
}

// Voices by order of first appearance: the even ones in half A.
char HalfOf(const QString& voice, QStringList& voices) {
    if (!voices.contains(voice)) voices << voice;
    return voices.indexOf(voice) % 2 == 0 ? 'A' : 'B';
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s INSTALLATION INDEX\n", argv[0]);
        return 2;
    }
    const QString installation = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const std::vector<Take> takes = ReadIndex(QString::fromLocal8Bit(argv[2]));
    if (takes.empty()) {
        std::fprintf(stderr, "no takes in %s\n", argv[2]);
        return 1;
    }
    MediaStore store(installation + QStringLiteral("/Bin"));
    ReadingScore score(store);
    UnitWords units(installation);

    std::vector<Scored> results;
    int unscored = 0;
    int silent = 0;
    QStringList voices;
    for (const Take& take : takes) {
        QFile file(take.path);
        if (!file.open(QIODevice::ReadOnly)) {
            ++unscored;
            continue;
        }
        const QByteArray wav = file.readAll();
        score.UseWords(units.Of(take.book, take.unit));
        // Once untimed, so the unit's standards are in memory as in the
        // view, where the unit's first take pays for them.
        score.Score(take.target, wav);
        QElapsedTimer clock;
        clock.start();
        const auto result = score.Score(take.target, wav);
        const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        if (!result) {
            ++unscored;
            continue;
        }
        if (!result->voiced) ++silent;
        const auto samples = WavReader::MonoAt(wav, Mfcc::kRate);
        const double seconds = samples ? static_cast<double>(samples->size()) / Mfcc::kRate : 0;
        results.push_back({take.target.compare(take.said, Qt::CaseInsensitive) == 0, result->voiced ? result->margin : 0,
                           result->stars, ms, seconds, HalfOf(take.voice, voices)});
    }

    std::vector<double> times, longTimes;
    std::vector<Scored> halves[2];
    for (const Scored& s : results) {
        times.push_back(s.ms);
        if (s.seconds >= 2.5) longTimes.push_back(s.ms);
        halves[s.half == 'B'].push_back(s);
    }
    std::printf("takes                      %zu scored, %d not scored, %d without voice, %lld voices\n",
                results.size(), unscored, silent, static_cast<long long>(voices.size()));
    Report("all takes", results);
    if (voices.size() > 1) {
        Report("voices A (thresholds set on these)", halves[0]);
        Report("voices B (held out)", halves[1]);
    }
    std::printf("median time per take       %.2f ms\n", Median(times));
    std::printf("median time, takes >= 2.5 s %.2f ms (%zu takes)\n", Median(longTimes), longTimes.size());
    return 0;
}
