#include "games/WordFFK.h"

#include <QVBoxLayout>

#include "app/ComingSoonLabel.h"

WordFFK::WordFFK(LessonContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    setAccessibleName(QStringLiteral("单词连连看"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new ComingSoonLabel(QStringLiteral("单词连连看"), this));
}

void WordFFK::StartGameFFK() {}
