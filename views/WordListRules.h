#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "core/CWordType.h"

// What the word list shows, apart from its widgets: the row number text,
// the rows of both layouts, the summary under the test results and the
// order of the header sort.
namespace WordListRules {

struct Row {
    int wordIndex;
    QStringList cells;
};

// The word's position + 1, with at least two digits.
QString RowNumberText(int wordIndex);

std::vector<Row> ErrNumRows(const std::vector<CWordType>& words);

// The words answered right in the run; wrong counts those answered wrongly
// at least once.
std::vector<Row> TestResultRows(const std::vector<CWordType>& words, int& tested, int& wrong);
QString ResultSummary(int tested, int wrong);

}  // namespace WordListRules
