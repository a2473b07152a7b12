#pragma once

#include "core/MessageService.h"

class QWidget;

// Message boxes on screen, over QMessageBox, QInputDialog and QFileDialog.
class QtMessageService : public MessageService {
public:
    void SetParent(QWidget* parent) { parent_ = parent; }
    MsgAnswer Show(const QString& text, const QString& title, MsgButtons buttons,
                   MsgIcon icon) override;
    std::optional<QString> AskText(const QString& prompt, const QString& title,
                                   const QString& initial) override;
    std::optional<QString> ChooseFile(const QString& title, const QString& startDir,
                                      const QString& filter) override;
    std::optional<QString> ChooseFolder(const QString& title, const QString& startDir) override;

private:
    QWidget* parent_ = nullptr;
};
