#pragma once

#include "app/message_catalogue.h"
#include "app/message_presenter.h"

#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qzb {

class CStringTable;

// Texts and message boxes by key: the lookup of every user-visible text and the message catalogue.
// Only one catalogue box is open at a time; the sense thread reads the busy flag to keep quiet
// while one is.
class CMessenger
{
public:
    CMessenger(const CStringTable& table, IMessagePresenter& presenter);

    // True when found; out is left unchanged and "Can not get StringTable." shown when not.
    bool LookupText(std::string_view key, std::u16string& out);
    // The text, or empty after the missing-key message.
    std::u16string Text(std::string_view key);
    // A dialog's size ratio; 1.0 when missing (after the message) or not a number.
    double SizeRatio(std::string_view key);

    // Shows the catalogue message of code; the insert, when given, replaces the first "%s".
    // Returns the pressed DialogAnswer, or kAnswerOk when nothing was shown.
    int ShowMessage(MessageCode code,
                    WindowHandle owner = nullptr,
                    std::optional<ButtonSet> buttons = std::nullopt,
                    std::optional<std::u16string_view> insert = std::nullopt);

    // The same with an insert for each "%s" in turn: the values a message names (the value as
    // typed, the limit it breaks).
    int ShowMessage(MessageCode code, WindowHandle owner, std::span<const std::u16string> inserts);

    // A plain OK box with a fixed text, for the few messages that come before the table.
    void ShowPlain(std::u16string text);

    // The main window, or the modal dialog it shows; owner of connection messages.
    void SetOwnerWindow(WindowHandle window);
    WindowHandle OwnerWindow() const;
    bool IsMessageBoxOpen() const;

    const CStringTable& Table() const { return m_table; }

private:
    // The box of code with its caption and text, before any insert.
    CMessageBoxRequest Request(MessageCode code, WindowHandle owner, std::optional<ButtonSet> buttons);
    int Present(const CMessageBoxRequest& request);

    const CStringTable& m_table;
    IMessagePresenter& m_presenter;
    mutable std::mutex m_ownerMutex;
    WindowHandle m_owner = nullptr;
    mutable std::mutex m_busyMutex;
    bool m_busy = false;
};

// Puts insert in place of the first "%s" and keeps every other character as it stands.
std::u16string InsertText(std::u16string_view format, std::u16string_view insert);
// Puts each insert in place of the next "%s"; the inserts are taken literally.
std::u16string InsertTexts(std::u16string_view format, std::span<const std::u16string> inserts);

} // namespace qzb
