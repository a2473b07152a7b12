#include "views/WordListRules.h"

namespace WordListRules {

QString RowNumberText(int wordIndex) {
    return QStringLiteral("%1").arg(wordIndex + 1, 2, 10, QLatin1Char('0'));
}

std::vector<Row> ErrNumRows(const std::vector<CWordType>& words) {
    std::vector<Row> rows;
    for (int i = 0; i < static_cast<int>(words.size()); ++i) {
        const CWordType& word = words[i];
        rows.push_back({i, {RowNumberText(i), word.English, word.Chinese, QString::number(word.errNum),
                            QString::number(word.rightNum)}});
    }
    return rows;
}

std::vector<Row> TestResultRows(const std::vector<CWordType>& words, int& tested, int& wrong) {
    std::vector<Row> rows;
    tested = 0;
    wrong = 0;
    for (int i = 0; i < static_cast<int>(words.size()); ++i) {
        const CWordType& word = words[i];
        if (!word.Tested) continue;
        ++tested;
        if (word.CurrErr) ++wrong;
        rows.push_back({i, {RowNumberText(i), word.English, word.Chinese,
                            word.CurrErr ? QStringLiteral("错误") : QStringLiteral("正确")}});
    }
    return rows;
}

QString ResultSummary(int tested, int wrong) {
    return QStringLiteral("本次共测试%1个单词,其中有%2个单词出错！").arg(tested).arg(wrong);
}

}  // namespace WordListRules
