#pragma once

#include <QString>
#include <optional>

enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgIcon { None, Information, Warning, Critical, Question };
enum class MsgAnswer { Ok, Cancel, Yes, No };

// Every message box, confirmation, input box and file dialog of the program
// goes through this, so that tests can answer them.
class MessageService {
public:
    virtual ~MessageService() = default;
    virtual MsgAnswer Show(const QString& text, const QString& title,
                           MsgButtons buttons = MsgButtons::Ok, MsgIcon icon = MsgIcon::None) = 0;
    virtual std::optional<QString> AskText(const QString& prompt, const QString& title,
                                           const QString& initial) = 0;
    // The chosen file or folder, or nothing when the dialog was cancelled.
    virtual std::optional<QString> ChooseFile(const QString& title, const QString& startDir,
                                              const QString& filter) = 0;
    virtual std::optional<QString> ChooseFolder(const QString& title, const QString& startDir) = 0;
};
