#include "games/WordPPK2.h"

#include <QVBoxLayout>

#include "app/ComingSoonLabel.h"

WordPPK2::WordPPK2(LessonContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    setAccessibleName(QStringLiteral("单词排排看"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new ComingSoonLabel(QStringLiteral("单词排排看"), this));
}

void WordPPK2::InitGamePPK() {}

bool WordPPK2::EndGame() {
    return true;
}
