#include "cli/cli_app.h"

#include "app/message_catalogue.h"
#include "model/text_codec.h"

#include <cstdlib>
#include <sstream>

namespace qzb {

namespace {

// Start-up texts that come before any table are not wanted on the command line.
class CSilentPresenter : public IMessagePresenter
{
public:
    int Present(const CMessageBoxRequest&) override { return kAnswerOk; }
};

std::filesystem::path ExecutableFolder()
{
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : self.parent_path();
}

} // namespace

int CStreamPresenter::Present(const CMessageBoxRequest& request)
{
    m_err << Utf16ToUtf8(request.text) << '\n';
    return kAnswerOk;
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
    : m_quiet(err)
    , m_context(std::make_unique<CAppContext>(modelCode))
{
    static CSilentPresenter silent;
    m_messenger = std::make_unique<CMessenger>(m_context->strings, silent);
    m_hasTable = LoadProfileStringTable(*m_context, CliDataFolders(options.dataDir), *m_messenger);
    // Without a table the keys stand in for the texts; the seeding still runs.
    SeedAppContext(*m_context, *m_messenger);
    m_texts = [this](std::string_view key) {
        const std::u16string* text = m_context->strings.Find(key);
        return text ? *text : std::u16string();
    };
}

std::string CCliApp::MessageText(MessageCode code) const
{
    const CMessageEntry* entry = FindMessage(code);
    if (!entry) {
        return code == kMsgMalformedImage ? "the machine image is damaged" : "no message text";
    }
    const std::u16string* text = m_context->strings.Find(entry->key);
    if (!text) {
        return std::string(entry->key);
    }
    std::string utf8 = Utf16ToUtf8(*text);
    for (char& c : utf8) {
        if (c == '\n') {
            c = ' ';
        }
    }
    return utf8;
}

} // namespace qzb
