#pragma once

#include "core/MessageService.h"
#include "tests/support/QtApp.h"

// Records every message box and answers from a script (Ok or Yes when the
// script has run out; input boxes and file dialogs are cancelled then).
class ScriptedMessageService : public MessageService {
public:
    struct Shown { QString text, title; MsgButtons buttons; MsgIcon icon; };

    MsgAnswer Show(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon) override {
        shown.push_back({text, title, buttons, icon});
        if (whileShown) whileShown(shown.back());
        if (answers.empty()) return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
        const MsgAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<QString> AskText(const QString& prompt, const QString& title, const QString&) override {
        shown.push_back({prompt, title, MsgButtons::OkCancel, MsgIcon::None});
        return TakeFront(textAnswers);
    }
    std::optional<QString> ChooseFile(const QString&, const QString&, const QString&) override { return TakeFront(fileAnswers); }
    std::optional<QString> ChooseFolder(const QString&, const QString&) override {
        return TakeFront(fileAnswers);
    }

    void Answer(MsgAnswer answer) { answers.push_back(answer); }
    // Each message's title, or "title|text".
    QStringList Titles(bool withText = false) const {
        QStringList all;
        for (const Shown& s : shown) all << (withText ? s.title + "|" + s.text : s.title);
        return all;
    }

    std::vector<Shown> shown;
    // Runs while a message box would be open, before it is answered.
    std::function<void(const Shown&)> whileShown;
    std::deque<MsgAnswer> answers;
    std::deque<std::optional<QString>> textAnswers;
    // File and folder dialogs share one script.
    std::deque<std::optional<QString>> fileAnswers;

private:
    // The next scripted answer, or none when the script has run out; taken apart so that no disengaged
    // optional is copied.
    static std::optional<QString> TakeFront(std::deque<std::optional<QString>>& answers) {
        if (answers.empty()) return std::nullopt;
        const std::optional<QString> answer = std::move(answers.front());
        answers.pop_front();
        if (!answer) return std::nullopt;
        return *answer;
    }
};
