#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The sample content as the content editor writes it: textbook.txt and
// history.txt in the content folder.
class TextbookSource {
public:
    struct Word {
        QString english;
        QString chinese;
        QString picture;  // an emoji, or empty for a drawn card
    };
    struct Unit {
        QString name;
        std::vector<Word> words;
    };
    struct Book {
        QString name;
        std::vector<Unit> units;
    };
    struct HistoryRow {
        int no = 0;
        int userID = 0;
        QString date;
        QString time;
        QString task;
    };

    bool ParseTextbook(const QString& text);
    bool ParseHistory(const QString& text);
    QStringList Errors() const { return errors_; }

    // Every spelling once, in the order it first appears.
    QStringList DistinctWords() const;
    const Word* FirstWord(const QString& english) const;

    QString versionName;
    QString versionDB;
    std::vector<Book> books;
    std::vector<HistoryRow> history;

private:
    void Error(int line, const QString& what);
    void ParseWord(int line, const QStringList& fields);

    QStringList errors_;
};
