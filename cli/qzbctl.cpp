#include "cli/qzbctl.h"

#include "addressbook/csv_exchange.h"
#include "base/atomic_file.h"
#include "cli/cli_app.h"
#include "cli/cmd_diff.h"
#include "cli/cmd_print.h"
#include "cli/csv_notes.h"
#include "cli/device_commands.h"
#include "cli/entry_commands.h"
#include "cli/json_dump.h"
#include "cli/page_commands.h"
#include "cli/store_commands.h"
#include "files/dat_file.h"
#include "machine/image_encoder.h"
#include "machine/setting_check.h"
#include "model/machine_image.h"
#include "model/panel_code.h"
#include "model/text_codec.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace qzb {

namespace {

struct CUsageError
{
    std::string text;
};

class CCommands
{
public:
    CCommands(const CCliOptions& options, std::ostream& out, std::ostream& err)
        : m_options(options)
        , m_out(out)
        , m_err(err)
    {
    }

    int Dump(const std::filesystem::path& path, bool rawImage);
    int New(const std::filesystem::path& path);
    int Encode(const std::filesystem::path& in, const std::filesystem::path& outPath, bool upload, bool service);
    int CsvExport(const std::filesystem::path& path, const std::filesystem::path& csv);
    int CsvImport(const std::filesystem::path& path, const std::filesystem::path& csv);
    int Set(const std::filesystem::path& path,
            const std::string& page,
            const std::string& key,
            const std::optional<std::int32_t>& number,
            const std::optional<std::string>& text);
    int Get(const std::filesystem::path& path, const std::string& page, const std::string& key);

private:
    int Fail(const CCliApp& app, MessageCode code, const std::string& detail = {})
    {
        PrintError(m_err, app, code, detail);
        return kExitFailed;
    }
    int Fail(const CCliApp& app, MessageCode code, const std::filesystem::path& path, std::error_code reason)
    {
        PrintError(m_err, app, code, path, reason);
        return kExitFailed;
    }
    std::unique_ptr<CCliApp> OpenApp(std::int32_t model) { return std::make_unique<CCliApp>(m_options, model, m_err); }

    const CCliOptions& m_options;
    std::ostream& m_out;
    std::ostream& m_err;
};

int CCommands::Dump(const std::filesystem::path& path, bool rawImage)
{
    std::error_code reason;
    if (!rawImage) {
        auto app = OpenApp(ModelForFile(m_options, path));
        if (!OpenDatFileOrTell(*app, path, m_err)) {
            return kExitFailed;
        }
        m_out << DumpJson(app->Context()).dump(2) << '\n';
        return kExitOk;
    }
    auto app = OpenApp(m_options.model.value_or(QZB_DEFAULT_MODEL));
    std::vector<std::uint8_t> image;
    switch (ReadWholeFile(path, image, reason)) {
        case ReadFileResult::CannotOpen:
            return Fail(*app, kMsgOpenFileError, path, reason);
        case ReadFileResult::ReadFailed:
            return Fail(*app, kMsgReadFileError, path, reason);
        case ReadFileResult::Ok:
            break;
    }
    const MessageCode code = DecodeMachineImage(app->Context().device, app->Context().store, image, app->Texts());
    if (code != kOk) {
        return Fail(*app, code == kMsgMalformedImage ? kMsgInvalidFormatFileErr : code);
    }
    m_out << DumpJson(app->Context()).dump(2) << '\n';
    return kExitOk;
}

int CCommands::New(const std::filesystem::path& path)
{
    auto app = OpenApp(m_options.model.value_or(QZB_DEFAULT_MODEL));
    std::error_code reason;
    if (const MessageCode code = WriteDatFile(path, app->Context(), std::nullopt, &reason); code != kOk) {
        return Fail(*app, code, WithDatExtension(path), reason);
    }
    return kExitOk;
}

int CCommands::Encode(const std::filesystem::path& in, const std::filesystem::path& outPath, bool upload, bool service)
{
    auto app = OpenApp(ModelForFile(m_options, in));
    if (!OpenDatFileOrTell(*app, in, m_err)) {
        return kExitFailed;
    }
    CEncodeOptions options;
    options.mode = upload ? EncodeMode::Upload : EncodeMode::File;
    options.serviceMan = service;
    const std::vector<std::uint8_t> image = EncodeMachineImage(app->Context().device, app->Context().store, options);
    std::error_code reason;
    if (!WriteFileAtomically(outPath, image, &reason)) {
        return Fail(*app, kMsgWriteFileError, outPath, reason);
    }
    return kExitOk;
}

int CCommands::CsvExport(const std::filesystem::path& path, const std::filesystem::path& csv)
{
    auto app = OpenApp(ModelForFile(m_options, path));
    CAppContext& context = app->Context();
    if (!OpenDatFileOrTell(*app, path, m_err)) {
        return kExitFailed;
    }
    CCsvReport report;
    if (const MessageCode code = ExportAddressBook(csv, context.device.book, context.store, app->Texts(), &report);
        code != kOk) {
        return Fail(*app, code, CsvFileDetail(WithCsvExtension(csv), report.systemError));
    }
    PrintCsvNotes(m_err, report.notes);
    return kExitOk;
}

int CCommands::CsvImport(const std::filesystem::path& path, const std::filesystem::path& csv)
{
    auto app = OpenApp(ModelForFile(m_options, path));
    CAppContext& context = app->Context();
    if (!OpenDatFileOrTell(*app, path, m_err)) {
        return kExitFailed;
    }
    CCsvReport report;
    if (const MessageCode code = ImportAddressBook(csv, context.device.book, context.store, PackDeviceDate(), &report);
        code != kOk) {
        return Fail(*app, code, CsvFileDetail(csv, report.systemError));
    }
    std::error_code reason;
    if (!WriteFileAtomically(path, BuildDatFile(context), &reason)) {
        return Fail(*app, kMsgWriteFileError, path, reason);
    }
    PrintCsvReadSummary(m_err, report.read);
    PrintCsvNotes(m_err, report.notes);
    return kExitOk;
}

int CCommands::Set(const std::filesystem::path& path,
                   const std::string& page,
                   const std::string& key,
                   const std::optional<std::int32_t>& number,
                   const std::optional<std::string>& text)
{
    auto app = OpenApp(ModelForFile(m_options, path));
    CAppContext& context = app->Context();
    if (const auto usage = UnknownSettingText(context.store, page, key)) {
        throw CUsageError{*usage};
    }
    if (!OpenDatFileOrTell(*app, path, m_err)) {
        return kExitFailed;
    }
    // Only a value the saved file gives back as set is stored; anything else leaves the file as it was.
    const std::u16string wide = text ? Utf8ToUtf16(*text) : std::u16string();
    const CSettingCheck check = number ? CheckSettingNumber(context.device, context.store, page, key, *number)
                                       : CheckSettingText(context.device, context.store, page, key, wide);
    if (check.refusal != SettingRefusal::None) {
        m_err << "qzbctl: " << path.string() << " left unchanged: " << SettingRefusalText(check, page, key, !!number)
              << '\n';
        return kExitFailed;
    }
    if (number) {
        context.store.SetItemNumber(page, key, *number);
    } else {
        // USER_NAME is kept in the device's panel code, as the user page stores it.
        context.store.SetItemTextRaw(page, key, SettingTextBytes(key, wide));
    }
    std::error_code reason;
    if (!WriteFileAtomically(path, BuildDatFile(context), &reason)) {
        return Fail(*app, kMsgWriteFileError, path, reason);
    }
    return kExitOk;
}

int CCommands::Get(const std::filesystem::path& path, const std::string& page, const std::string& key)
{
    auto app = OpenApp(ModelForFile(m_options, path));
    CAppContext& context = app->Context();
    if (const auto usage = UnknownSettingText(context.store, page, key)) {
        throw CUsageError{*usage};
    }
    if (!OpenDatFileOrTell(*app, path, m_err)) {
        return kExitFailed;
    }
    m_out << SettingJson(context, page, key).dump() << '\n';
    return kExitOk;
}

int RunCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    CLI::App cli{"qzbctl: the command line of the QZB setup utility.\n"
                 "Exit status 0 on success, 1 for a usage error, 2 when the operation failed.",
                 "qzbctl"};
    cli.require_subcommand(1);
    cli.set_version_flag("--version", std::string("qzbctl ") + QZB_VERSION);
    CCliOptions options;
    std::int32_t model = 0;
    std::string dataDir;
    // Another code would be written into DAT headers that no model of either family opens as its own.
    auto* modelOption = cli.add_option("--model", model, "Model code: 8313, 8314, 8315, 8329 or 2152")
                            ->check(CLI::IsMember(std::vector<std::int32_t>{8313, 8314, 8315, 8329, 2152}));
    cli.add_option("--codepage", options.codePage, "Code page of stored texts (default Windows-1252)");
    auto* dataDirOption = cli.add_option("--data-dir", dataDir, "Folder holding the string tables");

    CDeviceCommand deviceCommand(cli);

    std::string file;
    std::string output;
    bool rawImage = false;
    auto* dump = cli.add_subcommand("dump", "Print a DAT file (or with --image a raw machine image) as JSON");
    dump->add_flag("--image", rawImage, "FILE is a raw machine image");
    dump->add_option("FILE", file, "The file to print")->required();

    auto* create = cli.add_subcommand("new", "Write a DAT file of the model's defaults with an empty address book");
    create->add_option("OUT", file, "The DAT file to write")->required();

    std::string mode;
    bool service = false;
    auto* encode = cli.add_subcommand("encode", "Write the machine image a DAT file's content encodes to");
    encode->add_option("--mode", mode, "file or upload")->required()->check(CLI::IsMember({"file", "upload"}));
    encode->add_flag("--service", service, "Upload mode: carry the settings as in service-man mode");
    encode->add_option("IN", file, "The DAT file to read")->required();
    encode->add_option("OUT", output, "The image file to write")->required();

    std::string page;
    std::string key;
    std::int32_t number = 0;
    std::string text;
    auto* set = cli.add_subcommand("set", "Change one value of a DAT file and save it in place");
    set->add_option("FILE", file, "The DAT file")->required();
    set->add_option("PAGE", page, "Settings page, such as USER_SET_DLG")->required();
    set->add_option("KEY", key, "Item key, such as USER_NAME")->required();
    auto* numberOption = set->add_option("--number", number, "New number");
    auto* textOption = set->add_option("--text", text, "New text");
    numberOption->excludes(textOption);

    auto* get = cli.add_subcommand("get", "Print one value of a DAT file as JSON {\"number\", \"text\"}");
    get->add_option("FILE", file, "The DAT file")->required();
    get->add_option("PAGE", page, "Settings page, such as USER_SET_DLG")->required();
    get->add_option("KEY", key, "Item key, such as USER_NAME")->required();
    auto* keys = cli.add_subcommand("keys", "List the settings pages, or with PAGE the page's keys");
    auto* keysPage = keys->add_option("PAGE", page, "Settings page");

    std::string csv;
    auto* csvExport = cli.add_subcommand("csv-export", "Export the address book of a DAT file to a CSV file");
    csvExport->add_option("FILE", file, "The DAT file")->required();
    csvExport->add_option("CSV", csv, "The CSV file to write (.csv is appended when missing)")->required();
    auto* csvImport =
        cli.add_subcommand("csv-import", "Replace the address book of a DAT file with a CSV file's and save it");
    csvImport->add_option("FILE", file, "The DAT file")->required();
    csvImport->add_option("CSV", csv, "The CSV file to read")->required();

    CPageCommand pageCommand;
    CEntryCommand entryCommand;
    CDiffCommand diffCommand;
    CPrintCommand printCommand;
    CCliCommand* const ownFiles[] = {&deviceCommand, &pageCommand, &entryCommand, &diffCommand, &printCommand};
    for (CCliCommand* command : ownFiles) {
        command->AddCommand(cli);
    }

    try {
        std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
        cli.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out << cli.help();
        return kExitOk;
    } catch (const CLI::CallForVersion& version) {
        out << version.what() << '\n';
        return kExitOk;
    } catch (const CLI::ParseError& error) {
        err << "qzbctl: " << error.what() << '\n' << "Run qzbctl --help for the commands.\n";
        // diff keeps 1 for "different", as the diff program does.
        return diffCommand.Chosen() ? kExitFailed : kExitUsage;
    }
    if (modelOption->count() > 0) {
        options.model = model;
    }
    if (dataDirOption->count() > 0) {
        options.dataDir = dataDir;
    }
    if (!options.codePage.empty() && !SetProcessCodePage(options.codePage)) {
        err << "qzbctl: unknown code page " << options.codePage << '\n';
        return diffCommand.Chosen() ? kExitFailed : kExitUsage;
    }

    for (const CCliCommand* command : ownFiles) {
        if (command->Chosen()) {
            return command->Run(options, out, err);
        }
    }

    CCommands commands(options, out, err);
    try {
        if (*dump) {
            return commands.Dump(file, rawImage);
        }
        if (*create) {
            return commands.New(file);
        }
        if (*encode) {
            return commands.Encode(file, output, mode == "upload", service);
        }
        if (*csvExport) {
            return commands.CsvExport(file, csv);
        }
        if (*csvImport) {
            return commands.CsvImport(file, csv);
        }
        if (*set) {
            if (numberOption->count() + textOption->count() != 1) {
                throw CUsageError{"set needs --number N or --text T"};
            }
            return commands.Set(file,
                                page,
                                key,
                                numberOption->count() ? std::optional(number) : std::nullopt,
                                textOption->count() ? std::optional(text) : std::nullopt);
        }
        if (*get) {
            return commands.Get(file, page, key);
        }
        if (*keys) {
            return RunKeys(keysPage->count() ? std::optional(page) : std::nullopt, out, err);
        }
    } catch (const CUsageError& usage) {
        err << "qzbctl: " << usage.text << '\n';
        return kExitUsage;
    }
    return kExitUsage;
}

} // namespace

int RunQzbctl(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    const int status = RunCommand(arguments, out, err);
    // Output that never arrived is a failure, whatever the command made of it (a full disk, a
    // closed pipe).
    errno = 0;
    out.flush();
    if (!out) {
        const int reason = errno;
        err << "qzbctl: the standard output could not be written" << (reason != 0 ? ": " : "")
            << (reason != 0 ? std::strerror(reason) : "") << '\n';
        return kExitFailed;
    }
    return status;
}

} // namespace qzb
