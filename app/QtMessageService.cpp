#include "app/QtMessageService.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon ToQtIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Warning: return QMessageBox::Warning;
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::Ok: break;
    }
    return QMessageBox::Ok;
}

MsgAnswer FromQtButton(int button) {
    switch (button) {
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    default: return MsgAnswer::Ok;
    }
}

}  // namespace

MsgAnswer QtMessageService::Show(const QString& text, const QString& title, MsgButtons buttons,
                                 MsgIcon icon) {
    QMessageBox box(ToQtIcon(icon), title, text, ToQtButtons(buttons), parent_);
    box.setAccessibleName(title);
    const int answer = box.exec();
    // Closing a Yes/No box with its close button means No.
    if (buttons == MsgButtons::YesNo && answer != QMessageBox::Yes) return MsgAnswer::No;
    if (buttons == MsgButtons::OkCancel && answer != QMessageBox::Ok) return MsgAnswer::Cancel;
    return FromQtButton(answer);
}

std::optional<QString> QtMessageService::AskText(const QString& prompt, const QString& title,
                                                 const QString& initial) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, title, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok) return std::nullopt;
    return text;
}

std::optional<QString> QtMessageService::ChooseFile(const QString& title, const QString& startDir,
                                                    const QString& filter) {
    const QString path = QFileDialog::getOpenFileName(parent_, title, startDir, filter);
    if (path.isEmpty()) return std::nullopt;
    return path;
}

std::optional<QString> QtMessageService::ChooseFolder(const QString& title, const QString& startDir) {
    const QString path = QFileDialog::getExistingDirectory(parent_, title, startDir);
    if (path.isEmpty()) return std::nullopt;
    return path;
}
