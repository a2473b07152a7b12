#include "core/WebPage.h"

#include <QDesktopServices>
#include <QUrl>

namespace WebPage {

void OpenWebPage(const QString& address) {
    QDesktopServices::openUrl(QUrl(address));
}

}  // namespace WebPage
