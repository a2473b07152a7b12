#include "tools/TextbookSource.h"

#include <QSet>

#include "media/MediaStore.h"

namespace {

bool IsComment(const QString& line) {
    const QString trimmed = line.trimmed();
    return trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#'));
}

}  // namespace

void TextbookSource::Error(int line, const QString& what) {
    errors_ << QStringLiteral("line %1: %2").arg(line).arg(what);
}

bool TextbookSource::ParseTextbook(const QString& text) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const int line = i + 1;
        QString raw = lines[i];
        if (raw.endsWith(QLatin1Char('\r'))) raw.chop(1);
        if (IsComment(raw)) continue;
        const QStringList fields = raw.split(QLatin1Char('\t'));
        const QString kind = fields[0].trimmed();
        // "book" and "unit" are words too: a heading has just its name after the tab.
        if (kind == QLatin1String("version") && books.empty()) {
            if (fields.size() != 3 || fields[1].trimmed().isEmpty() || fields[2].trimmed().isEmpty())
                Error(line, QStringLiteral("version needs a name and a word table"));
            else
                versionName = fields[1].trimmed(), versionDB = fields[2].trimmed();
        } else if (kind == QLatin1String("book") && fields.size() <= 2) {
            if (fields.size() != 2 || fields[1].trimmed().isEmpty()) Error(line, QStringLiteral("book needs a name"));
            else books.push_back({fields[1].trimmed(), {}});
        } else if (kind == QLatin1String("unit") && fields.size() <= 2) {
            if (books.empty()) Error(line, QStringLiteral("unit before any book"));
            else if (fields.size() != 2 || fields[1].trimmed().isEmpty()) Error(line, QStringLiteral("unit needs a name"));
            else books.back().units.push_back({fields[1].trimmed(), {}});
        } else {
            ParseWord(line, fields);
        }
    }
    if (versionName.isEmpty()) errors_ << QStringLiteral("no version line");
    if (books.empty()) errors_ << QStringLiteral("no book");
    for (const Book& book : books) {
        if (book.units.empty()) errors_ << QStringLiteral("book %1 has no unit").arg(book.name);
        for (const Unit& unit : book.units)
            if (unit.words.empty()) errors_ << QStringLiteral("unit %1 has no word").arg(unit.name);
    }
    return errors_.isEmpty();
}

void TextbookSource::ParseWord(int line, const QStringList& fields) {
    if (books.empty() || books.back().units.empty()) {
        Error(line, QStringLiteral("word before any unit"));
        return;
    }
    if (fields.size() != 3) {
        Error(line, QStringLiteral("a word line has English, Chinese and picture, separated by tabs"));
        return;
    }
    Word word{fields[0].trimmed(), fields[1].trimmed(), fields[2].trimmed()};
    if (word.english.isEmpty() || word.chinese.isEmpty()) {
        Error(line, QStringLiteral("empty English or Chinese"));
        return;
    }
    if (!MediaStore::IsSafeWord(word.english)) {
        Error(line, QStringLiteral("\"%1\" cannot name a media file").arg(word.english));
        return;
    }
    if (word.picture == QLatin1String("-")) word.picture.clear();
    Unit& unit = books.back().units.back();
    for (const Word& other : unit.words)
        if (other.english == word.english) {
            Error(line, QStringLiteral("\"%1\" twice in one unit").arg(word.english));
            return;
        }
    unit.words.push_back(word);
}

bool TextbookSource::ParseHistory(const QString& text) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString raw = lines[i];
        if (raw.endsWith(QLatin1Char('\r'))) raw.chop(1);
        if (IsComment(raw)) continue;
        const QStringList fields = raw.split(QLatin1Char('\t'));
        bool noOk = false, userOk = false;
        HistoryRow row;
        if (fields.size() == 5) {
            row = {fields[0].toInt(&noOk), fields[1].toInt(&userOk), fields[2].trimmed(), fields[3].trimmed(),
                   fields[4].trimmed()};
        }
        if (!noOk || !userOk) {
            errors_ << QStringLiteral("history line %1: NO, userID, Date, Time and Task, separated by tabs").arg(i + 1);
            continue;
        }
        history.push_back(row);
    }
    return errors_.isEmpty();
}

QStringList TextbookSource::DistinctWords() const {
    QStringList words;
    QSet<QString> seen;
    for (const Book& book : books)
        for (const Unit& unit : book.units)
            for (const Word& word : unit.words)
                if (!seen.contains(word.english.toLower())) {
                    seen.insert(word.english.toLower());
                    words << word.english;
                }
    return words;
}

const TextbookSource::Word* TextbookSource::FirstWord(const QString& english) const {
    for (const Book& book : books)
        for (const Unit& unit : book.units)
            for (const Word& word : unit.words)
                if (word.english == english) return &word;
    return nullptr;
}
