#include "tests/support/ScriptedMessageService.h"

namespace {

// The next scripted answer; taken apart so that no disengaged optional is copied.
std::optional<QString> TakeFront(std::deque<std::optional<QString>>& answers) {
    const std::optional<QString> answer = std::move(answers.front());
    answers.pop_front();
    if (!answer) return std::nullopt;
    return *answer;
}

}  // namespace

MsgAnswer ScriptedMessageService::Show(const QString& text, const QString& title, MsgButtons buttons,
                                       MsgIcon icon) {
    shown.push_back({text, title, buttons, icon});
    if (whileShown) whileShown(shown.back());
    if (answers.empty()) return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    const MsgAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<QString> ScriptedMessageService::AskText(const QString& prompt, const QString& title,
                                                       const QString&) {
    shown.push_back({prompt, title, MsgButtons::OkCancel, MsgIcon::None});
    if (textAnswers.empty()) return std::nullopt;
    return TakeFront(textAnswers);
}

std::optional<QString> ScriptedMessageService::ChooseFile(const QString& title, const QString&,
                                                         const QString&) {
    return ChooseFolder(title, QString());
}

std::optional<QString> ScriptedMessageService::ChooseFolder(const QString& title, const QString&) {
    fileDialogs.push_back(title);
    if (fileAnswers.empty()) return std::nullopt;
    return TakeFront(fileAnswers);
}

bool ScriptedMessageService::Saw(const QString& text) const {
    for (const Shown& s : shown)
        if (s.text == text) return true;
    return false;
}
