#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "core/MessageService.h"

// Records every message box and answers from a script (Ok or Yes when the
// script has run out; input boxes and file dialogs are cancelled then).
class ScriptedMessageService : public MessageService {
public:
    struct Shown {
        QString text;
        QString title;
        MsgButtons buttons;
        MsgIcon icon;
    };

    MsgAnswer Show(const QString& text, const QString& title, MsgButtons buttons,
                   MsgIcon icon) override;
    std::optional<QString> AskText(const QString& prompt, const QString& title,
                                   const QString& initial) override;
    std::optional<QString> ChooseFile(const QString& title, const QString& startDir,
                                      const QString& filter) override;
    std::optional<QString> ChooseFolder(const QString& title, const QString& startDir) override;

    void Answer(MsgAnswer answer) { answers.push_back(answer); }
    bool Saw(const QString& text) const;

    std::vector<Shown> shown;
    // Runs while a message box would be open, before it is answered.
    std::function<void(const Shown&)> whileShown;
    std::deque<MsgAnswer> answers;
    std::deque<std::optional<QString>> textAnswers;
    // File and folder dialogs share one script; their titles are recorded.
    std::vector<QString> fileDialogs;
    std::deque<std::optional<QString>> fileAnswers;
};
