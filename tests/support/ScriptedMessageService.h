#pragma once

#include <QString>
#include <deque>
#include <vector>

#include "app/MessageService.h"

// Records every message box and answers from a script (Ok or Yes when the
// script has run out).
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

    void Answer(MsgAnswer answer) { answers.push_back(answer); }
    bool Saw(const QString& text) const;

    std::vector<Shown> shown;
    std::deque<MsgAnswer> answers;
    std::deque<std::optional<QString>> textAnswers;
};
