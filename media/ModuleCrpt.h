#pragma once

#include <QByteArray>
#include <QString>

// The scrambling of media and database files: the first 72 bytes of a file
// with the bit order of each byte reversed. Applying it twice restores the file.
namespace ModuleCrpt {

constexpr int kScrambledBytes = 72;

// How plain files of each kind begin.
inline const QByteArray kJpegStart = QByteArrayLiteral("\xFF\xD8\xFF");
inline const QByteArray kWavStart = QByteArrayLiteral("RIFF");
inline const QByteArray kSqliteStart = QByteArrayLiteral("SQLite format 3\0");

enum class HeaderForm { Plain, Scrambled, Unknown };

unsigned char ReverseBits(unsigned char byte);

// Scrambles a plain file or unscrambles a scrambled one, in place. A file
// shorter than 72 bytes has only its own bytes reversed; nothing is appended.
// Returns false when the file is missing or could not be rewritten.
bool ScrambleHeader(const QString& path);

// The same transform on bytes in memory.
void ScrambleHeader(QByteArray& bytes);

// Whether bytes, or a file, begin as the plain form of their kind, as its
// scrambled form, or as neither.
HeaderForm FormOf(const QByteArray& bytes, const QByteArray& plainStart);
HeaderForm FileForm(const QString& path, const QByteArray& plainStart);

}  // namespace ModuleCrpt
