#include "views/WordList.h"

#include <QVBoxLayout>

#include "app/ComingSoonLabel.h"

WordList::WordList(LessonContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    setAccessibleName(QStringLiteral("单词测试详情"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new ComingSoonLabel(QStringLiteral("单词测试详情"), this));
}

void WordList::FillWordErrNum() {}
