#include "views/WordPicList.h"

#include <QVBoxLayout>

#include "app/ComingSoonLabel.h"

WordPicList::WordPicList(LessonContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    setAccessibleName(QStringLiteral("单词列表"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new ComingSoonLabel(QStringLiteral("单词列表"), this));
}

void WordPicList::LoadPics() {}
