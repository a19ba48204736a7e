#include "cli/cli_app.h"

#include "app/message_catalogue.h"
#include "app/rendered_text.h"
#include "base/atomic_file.h"
#include "files/dat_file.h"
#include "model/text_codec.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace qzb {

int CStreamPresenter::Present(const CMessageBoxRequest& request)
{
    if (m_quiet) {
        return kAnswerOk;
    }
    if (m_hold && request.code != kOk) {
        if (!m_held) {
            m_held = request.code;
        }
        return kAnswerOk;
    }
    std::string text = Utf16ToUtf8(request.text);
    for (char& c : text) {
        if (c == '\n') {
            c = ' ';
        }
    }
    if (request.code != kOk) {
        char hex[16];
        std::snprintf(hex, sizeof(hex), "0x%08X", request.code);
        m_err << "error " << hex << ": " << text << '\n';
    } else {
        m_err << text << '\n';
    }
    return kAnswerOk;
}

std::filesystem::path ExecutableFolder()
{
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : self.parent_path();
}

CDataFolders CliDataFolders(const std::optional<std::filesystem::path>& dataDir)
{
    CDataFolders folders;
    folders.commandLine = dataDir;
    if (const char* env = std::getenv("QZB_DATA_DIR"); env && *env) {
        folders.environment = std::filesystem::path(env);
    }
    if (const auto exe = ExecutableFolder(); !exe.empty()) {
        folders.fallbacks.push_back(exe / ".." / "share" / "qzb");
    }
#ifdef QZB_BUILD_DATA_DIR
    folders.fallbacks.push_back(QZB_BUILD_DATA_DIR);
#endif
    return folders;
}

CCliApp::CCliApp(const CCliOptions& options, std::int32_t modelCode, std::ostream& err)
    : m_presenter(err)
    , m_context(std::make_unique<CAppContext>(modelCode))
{
    // Start-up texts (a missing table, a missing key) are not wanted on the command line:
    // without a table the keys stand in for the texts and the seeding still runs.
    m_presenter.SetQuiet(true);
    m_messenger = std::make_unique<CMessenger>(m_context->strings, m_presenter);
    m_context->language = options.language.value_or(std::string(kEnglishLanguage));
    CKeyedText problem;
    m_hasTable = LoadProfileStringTable(*m_context, CliDataFolders(options.dataDir), problem);
    if (!m_hasTable) {
        err << "qzbctl: warning: " << Render(problem) << " Messages show their text keys.\n";
    }
    SeedAppContext(*m_context, *m_messenger);
    m_presenter.SetQuiet(false);
    m_texts = [this](std::string_view key) {
        const std::u16string* text = m_context->strings.Find(key);
        return text ? *text : std::u16string();
    };
}

std::string CCliApp::MessageText(MessageCode code, std::span<const std::u16string> inserts) const
{
    const CMessageEntry* entry = FindMessage(code);
    if (!entry) {
        return code == kMsgMalformedImage ? "the machine image is damaged" : "no message text";
    }
    const std::u16string* text = m_context->strings.Find(entry->key);
    if (!text) {
        return std::string(entry->key);
    }
    std::string utf8 = Utf16ToUtf8(InsertTexts(*text, inserts));
    for (char& c : utf8) {
        if (c == '\n') {
            c = ' ';
        }
    }
    return utf8;
}

std::string CCliApp::Render(const CKeyedText& text) const
{
    return RenderTextUtf8(text, &m_context->strings);
}

void PrintError(std::ostream& err, const CCliApp& app, MessageCode code, const std::string& detail)
{
    char hex[16];
    std::snprintf(hex, sizeof(hex), "0x%08X", code);
    err << "error " << hex << ": " << app.MessageText(code) << (detail.empty() ? "" : " (" + detail + ")") << '\n';
}

void PrintError(
    std::ostream& err, const CCliApp& app, MessageCode code, const std::filesystem::path& path, std::error_code reason)
{
    PrintError(err, app, code, reason ? FileErrorText(path, reason) : std::string());
}

CDatInput::CDatInput(std::filesystem::path path)
    : m_path(std::move(path))
{
    m_read = ReadDatBytes(m_path, m_bytes, &m_reason);
}

std::optional<std::int32_t> CDatInput::HeaderModel() const
{
    return m_read == kOk ? DatHeaderModel(m_bytes) : std::nullopt;
}

std::int32_t CDatInput::Model(const CCliOptions& options) const
{
    return options.model ? *options.model : HeaderModel().value_or(QZB_DEFAULT_MODEL);
}

MessageCode CDatInput::Open(CCliApp& app, std::error_code* error) const
{
    if (m_read != kOk) {
        if (error) {
            *error = m_reason;
        }
        return m_read;
    }
    return OpenDatBytes(m_bytes, app.Context(), app.Texts());
}

bool CDatInput::OpenOrTell(CCliApp& app, std::ostream& err) const
{
    std::error_code reason;
    if (const MessageCode code = Open(app, &reason); code != kOk) {
        PrintError(err, app, code, m_path, reason);
        return false;
    }
    return true;
}

bool SaveDatFileOrTell(CCliApp& app, const std::filesystem::path& path, std::ostream& err)
{
    std::error_code reason;
    if (!WriteFileAtomically(path, BuildDatFile(app.Context()), &reason, FileRights::OwnerOnlyWhenNew)) {
        PrintError(err, app, kMsgWriteFileError, path, reason);
        return false;
    }
    return true;
}

} // namespace qzb
