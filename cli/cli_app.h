#pragma once

#include "app/app_context.h"
#include "app/message_presenter.h"
#include "app/messenger.h"
#include "machine/image_decoder.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>
#include <utility>

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
    std::string MessageText(MessageCode code) const;
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

// Opens a DAT file into the app's context; a failure is told on err, naming the file and the
// system's reason, and the call returns false.
bool OpenDatFileOrTell(CCliApp& app, const std::filesystem::path& path, std::ostream& err);
// The model a command that opens a DAT file runs as: --model when given, else the model its
// header names when the header's magic is the one that model writes.
std::int32_t ModelForFile(const CCliOptions& options, const std::filesystem::path& path);

// The folder of the running program, empty when the system does not tell.
std::filesystem::path ExecutableFolder();

// Where the string tables are looked for: --data-dir alone when given, else $QZB_DATA_DIR,
// beside the executable, and the build tree.
CDataFolders CliDataFolders(const std::optional<std::filesystem::path>& dataDir);

} // namespace qzb
