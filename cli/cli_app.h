#pragma once

#include "app/app_context.h"
#include "app/message_presenter.h"
#include "app/messenger.h"
#include "machine/image_decoder.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace qzb {

// Message boxes of the command line: the text goes to stderr, with its code when it has one, and
// the default answer is taken. Quiet while the command's start-up runs.
class CStreamPresenter : public IMessagePresenter
{
public:
    explicit CStreamPresenter(std::ostream& err)
        : m_err(err)
    {
    }
    int Present(const CMessageBoxRequest& request) override;
    void SetQuiet(bool quiet) { m_quiet = quiet; }
    // While held, a message with a code is kept (the first one) instead of printed, so that the
    // caller can tell one failure in one line.
    void SetHold(bool hold) { m_hold = hold; }
    std::optional<MessageCode> TakeHeld() { return std::exchange(m_held, std::nullopt); }

private:
    std::ostream& m_err;
    bool m_quiet = false;
    bool m_hold = false;
    std::optional<MessageCode> m_held;
};

struct CCliOptions
{
    std::optional<std::int32_t> model;
    std::string codePage;
    std::optional<std::filesystem::path> dataDir;
    std::optional<std::string> language; // chosen from --language, the kept Language or the locale
};

// The core state a qzbctl command runs on: the model's texts (when its string table can be
// found), defaults and seeded values.
class CCliApp
{
public:
    CCliApp(const CCliOptions& options, std::int32_t modelCode, std::ostream& err);

    CAppContext& Context() { return *m_context; }
    CMessenger& Messenger() { return *m_messenger; }
    CStreamPresenter& Presenter() { return m_presenter; }
    const TextLookup& Texts() const { return m_texts; }
    // The English text of a message code's key, or the key itself when no table was found.
    // The inserts, when given, fill its "%s" in turn.
    std::string MessageText(MessageCode code, std::span<const std::u16string> inserts = {}) const;
    // A keyed text from the core in the chosen language (English where the table lacks a key).
    std::string Render(const CKeyedText& text) const;
    bool HasStringTable() const { return m_hasTable; }

private:
    CStreamPresenter m_presenter;
    std::unique_ptr<CAppContext> m_context;
    std::unique_ptr<CMessenger> m_messenger;
    TextLookup m_texts;
    bool m_hasTable = false;
};

// Prints "error 0xXXXXXXXX: <text>", with detail (such as "book.csv: No such file or directory")
// in brackets when given.
void PrintError(std::ostream& err, const CCliApp& app, MessageCode code, const std::string& detail = {});
// The same naming a file and the system's reason, when there is one.
void PrintError(
    std::ostream& err, const CCliApp& app, MessageCode code, const std::filesystem::path& path, std::error_code reason);

// A DAT file named on the command line, read once: a pipe or a process substitution gives its
// bytes only once, so the model is taken from the very bytes that are then opened.
class CDatInput
{
public:
    explicit CDatInput(std::filesystem::path path);

    const std::filesystem::path& Path() const { return m_path; }
    // The model its header names when the header's magic is the one that model writes.
    std::optional<std::int32_t> HeaderModel() const;
    // The model a command that opens it runs as: --model when given, else its header's model.
    std::int32_t Model(const CCliOptions& options) const;
    // Opens it into the app's context: 0 or the code of the failure, the system's reason in error.
    MessageCode Open(CCliApp& app, std::error_code* error = nullptr) const;
    // The same, telling a failure on err with the file and the system's reason; false then.
    bool OpenOrTell(CCliApp& app, std::ostream& err) const;

private:
    std::filesystem::path m_path;
    std::vector<std::uint8_t> m_bytes;
    MessageCode m_read = kOk;
    std::error_code m_reason;
};

// Writes the app's settings back to the DAT file a command changed; a failure is told on err,
// naming the file (or its folder) and the system's reason, and the call returns false.
bool SaveDatFileOrTell(CCliApp& app, const std::filesystem::path& path, std::ostream& err);

// The folder of the running program, empty when the system does not tell.
std::filesystem::path ExecutableFolder();

// Where the string tables are looked for: --data-dir alone when given, else $QZB_DATA_DIR,
// beside the executable, and the build tree.
CDataFolders CliDataFolders(const std::optional<std::filesystem::path>& dataDir);

} // namespace qzb
