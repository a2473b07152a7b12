#include <QApplication>
#include <QFont>

#include "app/QtMessageService.h"
#include "app/QtTranslations.h"
#include "publish/FormPublish.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 11));
    LoadQtTranslations(app);
    QtMessageService messages;
    FormPublish window(messages);
    if (!window.Open()) return 0;
    messages.SetParent(&window);
    return app.exec();
}
