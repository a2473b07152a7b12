#pragma once

#include "app/MessageService.h"

class QWidget;

// Message boxes on screen, over QMessageBox and QInputDialog.
class QtMessageService : public MessageService {
public:
    void SetParent(QWidget* parent) { parent_ = parent; }
    MsgAnswer Show(const QString& text, const QString& title, MsgButtons buttons,
                   MsgIcon icon) override;
    std::optional<QString> AskText(const QString& prompt, const QString& title,
                                   const QString& initial) override;

private:
    QWidget* parent_ = nullptr;
};
