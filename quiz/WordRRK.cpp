#include "quiz/WordRRK.h"

#include <QVBoxLayout>

#include "app/ComingSoonLabel.h"

WordRRK::WordRRK(LessonContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    setAccessibleName(QStringLiteral("看单词选中文"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new ComingSoonLabel(QStringLiteral("看单词选中文"), this));
}

void WordRRK::SetTestWord() {}

bool WordRRK::EndTest() {
    return true;
}
