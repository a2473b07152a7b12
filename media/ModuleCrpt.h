#pragma once

#include <QString>

// The scrambling of media and database files: the first 72 bytes of a file
// with the bit order of each byte reversed. Applying it twice restores the file.
namespace ModuleCrpt {

constexpr int kScrambledBytes = 72;

unsigned char ReverseBits(unsigned char byte);

// Scrambles a plain file or unscrambles a scrambled one, in place. A file
// shorter than 72 bytes has only its own bytes reversed; nothing is appended.
// Returns false when the file is missing or could not be rewritten.
bool ScrambleHeader(const QString& path);

}  // namespace ModuleCrpt
