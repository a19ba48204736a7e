#include "cli/qzbctl.h"

#include "app/language_choice.h"
#include "app/last_model.h"
#include "cli/cli_app.h"
#include "cli/cli_command.h"
#include "cli/cmd_diff.h"
#include "cli/cmd_print.h"
#include "cli/contacts_commands.h"
#include "cli/csv_commands.h"
#include "cli/device_commands.h"
#include "cli/entry_commands.h"
#include "cli/file_commands.h"
#include "cli/page_commands.h"
#include "cli/store_commands.h"
#include "model/text_codec.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace qzb {

namespace {

// The exit status of a line that cannot be parsed: the chosen command's, else a usage error.
int UsageStatus(std::span<CCliCommand* const> commands)
{
    for (const CCliCommand* command : commands) {
        if (command->Chosen()) {
            return command->UsageStatus();
        }
    }
    return kExitUsage;
}

// An empty value is no value: "--number ''" would be read as 0, and "--model ''" as a model no
// header names. Only a text may be empty, to clear it.
void RefuseEmptyValues(CLI::App& app)
{
    const CLI::Validator nonEmpty(
        [](std::string& value) {
            return value.empty() ? std::string("needs a value, not an empty one") : std::string();
        },
        "",
        "NONEMPTY");
    for (CLI::Option* option : app.get_options()) {
        if (option->get_type_size() != 0 && !option->check_lname("text")) {
            option->check(nonEmpty);
        }
    }
    for (CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
        RefuseEmptyValues(*command);
    }
}

// The word given where a command needed a subcommand and that names none ("qzbctl frobnicate",
// "qzbctl page frob"), with the command it was given to.
std::optional<std::pair<std::string, std::string>> UnknownSubcommand(const CLI::App& app)
{
    if (!app.get_subcommands().empty()) {
        return UnknownSubcommand(*app.get_subcommands().front());
    }
    if (app.get_require_subcommand_min() == 0) {
        return std::nullopt;
    }
    for (const std::string& word : app.remaining(false)) {
        if (!word.empty() && word.front() != '-') {
            return std::pair(word, app.get_parent() != nullptr ? app.get_name() : std::string());
        }
    }
    return std::nullopt;
}

// The parser's own text, but for the arguments left over: it names them last to first.
std::string ParseErrorText(const CLI::App& app, const CLI::ParseError& error)
{
    if (const auto unknown = UnknownSubcommand(app)) {
        return "Unknown subcommand '" + unknown->first + "'" +
               (unknown->second.empty() ? "" : " of " + unknown->second);
    }
    if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) {
        const std::vector<std::string> extras = app.remaining(true);
        std::string text = extras.size() == 1 ? "The following argument was not expected:"
                                              : "The following arguments were not expected:";
        for (const std::string& extra : extras) {
            text += " " + extra;
        }
        return text;
    }
    return error.what();
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
    std::string language;
    auto* languageOption = cli.add_option("--language",
                                          language,
                                          "Language of the texts: en, fr, de, it, es, pt, ru, cs, sk, hu, pl or ja "
                                          "(default: the Language the window keeps, else the locale's)");

    CDeviceCommand device(cli);
    CDumpCommand dump;
    CNewCommand create;
    CEncodeCommand encode;
    CSetCommand set;
    CGetCommand get;
    CKeysCommand keys;
    CCsvExportCommand csvExport;
    CCsvImportCommand csvImport;
    CContactsImportCommand contactsImport;
    CContactsExportCommand contactsExport;
    CBackupsCommand backups;
    CPageCommand page;
    CEntryCommand entry;
    CDiffCommand diff;
    CPrintCommand print;
    // In the order --help lists them.
    CCliCommand* const commands[] = {&dump,
                                     &create,
                                     &encode,
                                     &set,
                                     &get,
                                     &keys,
                                     &csvExport,
                                     &csvImport,
                                     &contactsImport,
                                     &contactsExport,
                                     &device,
                                     &page,
                                     &entry,
                                     &diff,
                                     &print,
                                     &backups};
    for (CCliCommand* command : commands) {
        command->AddCommand(cli);
    }
    RefuseEmptyValues(cli);

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
        err << "qzbctl: " << ParseErrorText(cli, error) << '\n' << "Run qzbctl --help for the commands.\n";
        return UsageStatus(commands);
    }
    if (modelOption->count() > 0) {
        options.model = model;
    }
    if (dataDirOption->count() > 0) {
        options.dataDir = dataDir;
    }
    CLanguageSources languages = LocaleLanguageSources();
    if (languageOption->count() > 0) {
        if (FindUiLanguage(language) == nullptr) {
            err << "qzbctl: there are no texts in the language " << language << ": English is used\n";
        }
        languages.commandLine = language;
    }
    languages.preference = ReadLauncherValue(LauncherPreferencesFile(), kPrefLanguage);
    options.language = std::string(ChooseUiLanguage(languages));
    // Texts are kept in the code page of the language's desktop unless --codepage names another.
    if (options.codePage.empty() && LanguageCodePage(*options.language) != ProcessCodePage().Name()) {
        options.codePage = std::string(LanguageCodePage(*options.language));
    }
    if (!options.codePage.empty() && !SetProcessCodePage(options.codePage)) {
        if (CCodePage::Open(options.codePage) == nullptr) {
            err << "qzbctl: unknown code page " << options.codePage << '\n';
        } else {
            err << "qzbctl: " << options.codePage
                << " is no code page texts can be kept in: use a single-byte code page (Windows-1252, CP1250 ...) "
                   "or an ASCII-compatible one such as CP932\n";
        }
        return UsageStatus(commands);
    }
    for (const CCliCommand* command : commands) {
        if (command->Chosen()) {
            return command->Run(options, out, err);
        }
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
