#pragma once

#include <QString>

namespace WebPage {

inline const QString kMakerName = QStringLiteral("Orvanel 学习软件");
inline const QString kMakerHome = QStringLiteral("https://www.orvanel.example/");
inline const QString kOnlineHelp = kMakerHome + QStringLiteral("help.html");

// Opens the address in the desktop's web browser; the outcome is not checked.
void OpenWebPage(const QString& address);

}  // namespace WebPage
