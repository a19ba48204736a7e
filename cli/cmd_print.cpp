#include "cli/cmd_print.h"

#include "cli/cli_app.h"
#include "cli/qzbctl.h"
#include "files/dat_file.h"
#include "model/panel_code.h"
#include "model/text_codec.h"
#include "print/print_settings.h"
#include "print/selected_numbers.h"
#if QZB_WITH_PRINT
#include "cli/list_pdf_plugin.h"
#endif

#include <CLI/CLI.hpp>

#include <memory>

namespace qzb {

namespace {

// The numbers of a list: those of the option's text when given, else all.
std::vector<std::int32_t>
Numbers(const CLI::App& command, const char* option, const std::string& text, std::int32_t limit)
{
    return command.get_option(option)->count() > 0 ? SelectedNumbers(Utf8ToUtf16(text), limit) : AllNumbers(limit);
}

} // namespace

void CPrintCommand::AddCommand(CLI::App& root)
{
    m_command = root.add_subcommand("print", "Write the address-book lists of a DAT file to a PDF file, as printed");
    m_command->add_option("FILE", m_file, "The DAT file")->required();
    m_command->add_option("OUT", m_output, "The PDF file to write")->required();
    m_command->add_option("--lists", m_lists, "The lists, comma separated: speed, group, favourite (default all)");
    m_command->add_option("--speed-numbers", m_speedNumbers, "Speed dial numbers such as 1-3,7 (default all)");
    m_command->add_option("--group-numbers", m_groupNumbers, "Group numbers (default all)");
    m_command->add_option("--favourite-numbers", m_favouriteNumbers, "Favourite slots (default all)");
}

int CPrintCommand::Run(const CCliOptions& options, std::ostream&, std::ostream& err) const
{
    CPrintSelection selection;
    for (std::size_t at = 0; at <= m_lists.size();) {
        const std::size_t comma = std::min(m_lists.find(',', at), m_lists.size());
        const std::string list = m_lists.substr(at, comma - at);
        if (list == "speed") {
            selection.speedDial = true;
        } else if (list == "group") {
            selection.groupDial = true;
        } else if (list == "favourite") {
            selection.favourite = true;
        } else {
            err << "qzbctl: --lists takes speed, group and favourite, not \"" << list << "\"\n";
            return kExitUsage;
        }
        at = comma + 1;
    }
    // The print dialog's field takes lists such as 1-3,7 only; anything else is a mistyped option.
    for (const auto& [option, text] : {std::pair<const char*, const std::string&>{"--speed-numbers", m_speedNumbers},
                                       {"--group-numbers", m_groupNumbers},
                                       {"--favourite-numbers", m_favouriteNumbers}}) {
        if (m_command->get_option(option)->count() > 0 && !IsNumberListText(Utf8ToUtf16(text))) {
            err << "qzbctl: " << option << " takes numbers and ranges such as 1-3,7, not \"" << text << "\"\n";
            return kExitUsage;
        }
    }
    selection.speedNumbers = Numbers(*m_command, "--speed-numbers", m_speedNumbers, kSpeedDialPrintLimit);
    selection.groupNumbers = Numbers(*m_command, "--group-numbers", m_groupNumbers, kGroupDialPrintLimit);
    selection.favouriteNumbers = Numbers(*m_command, "--favourite-numbers", m_favouriteNumbers, kFavouritePrintLimit);

#if QZB_WITH_PRINT
    const CDatInput input(m_file);
    CCliApp app(options, input.Model(options), err);
    CAppContext& context = app.Context();
    if (!input.OpenOrTell(app, err)) {
        return kExitFailed;
    }
    std::string problem;
    const CreateListPdfWriterFunction createWriter = LoadListPdfPlugin(problem);
    const std::unique_ptr<IListPdfWriter> writer(createWriter != nullptr ? createWriter() : nullptr);
    if (!writer) {
        err << "qzbctl: print cannot write PDF files: "
            << (createWriter != nullptr ? std::string("the PDF writer did not start") : problem) << '\n';
        return kExitFailed;
    }
    const CPrintSource source = PrintSourceOf(context, LoggedOnUserName(), PackDeviceDate());
    std::error_code reason;
    if (const MessageCode code = WriteListsPdf(*writer, m_output, source, selection, &reason); code != kOk) {
        PrintError(err, app, code, std::filesystem::path(m_output), reason);
        return kExitFailed;
    }
    return kExitOk;
#else
    (void)options;
    err << "qzbctl: print needs the Qt front end, and this qzbctl was built without it\n";
    return kExitFailed;
#endif
}

} // namespace qzb
