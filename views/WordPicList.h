#pragma once

#include <QWidget>
#include <array>

#include "core/LessonContext.h"
#include "views/PicListRules.h"

class QLabel;
class QPushButton;
class WordPicture;

// The unit's pictures in groups of eight with their words: a click speaks
// the word, a double click studies it in the listen-and-read view.
class WordPicList : public QWidget {
public:
    WordPicList(LessonContext& context, QWidget* parent);

    void LoadPics();

    qint16 GroupStart() const { return rules_.GroupStart; }
    qint16 GroupCount() const { return rules_.GroupCount; }

    std::array<WordPicture*, 8> imgWord{};
    std::array<QLabel*, 8> lblWord{};
    QPushButton* cmdNextGroup;
    QPushButton* cmdPrevGroup;
    QPushButton* cmdReturn;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateGroupButtons();
    void PlaceControls();
    void cmdNextGroup_Click();
    void cmdPrevGroup_Click();
    void imgWord_Click(int index);
    void imgWord_DblClick(int index);
    void NothingMore();

    LessonContext& context_;
    PicListRules rules_;
    // The unit last shown: another unit starts again at its first group.
    qint16 shownBook_ = -1;
    qint16 shownUnit_ = -1;
};
