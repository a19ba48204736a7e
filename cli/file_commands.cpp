#include "cli/file_commands.h"

#include "base/atomic_file.h"
#include "cli/cli_app.h"
#include "cli/json_dump.h"
#include "cli/qzbctl.h"
#include "files/dat_file.h"
#include "machine/image_encoder.h"
#include "model/machine_image.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <memory>
#include <vector>

namespace qzb {

void CDumpCommand::AddCommand(CLI::App& root)
{
    m_command = root.add_subcommand("dump", "Print a DAT file (or with --image a raw machine image) as JSON");
    m_command->add_flag("--image", m_rawImage, "FILE is a raw machine image");
    m_command->add_option("FILE", m_file, "The file to print")->required();
}

int CDumpCommand::Run(const CCliOptions& options, std::ostream& out, std::ostream& err) const
{
    const std::filesystem::path path = m_file;
    if (!m_rawImage) {
        const CDatInput input(path);
        CCliApp app(options, input.Model(options), err);
        if (!input.OpenOrTell(app, err)) {
            return kExitFailed;
        }
        out << DumpJson(app.Context()).dump(2) << '\n';
        return kExitOk;
    }
    CCliApp app(options, options.model.value_or(QZB_DEFAULT_MODEL), err);
    std::error_code reason;
    std::vector<std::uint8_t> image;
    switch (ReadWholeFile(path, image, reason)) {
        case ReadFileResult::CannotOpen:
            return TellFailure(err, app, kMsgOpenFileError, path, reason);
        case ReadFileResult::ReadFailed:
            return TellFailure(err, app, kMsgReadFileError, path, reason);
        case ReadFileResult::Ok:
            break;
    }
    const MessageCode code = DecodeMachineImage(app.Context().device, app.Context().store, image, app.Texts());
    if (code != kOk) {
        return TellFailure(err, app, code == kMsgMalformedImage ? kMsgInvalidFormatFileErr : code);
    }
    out << DumpJson(app.Context()).dump(2) << '\n';
    return kExitOk;
}

void CNewCommand::AddCommand(CLI::App& root)
{
    m_command = root.add_subcommand("new", "Write a DAT file of the model's defaults with an empty address book");
    m_command->add_option("OUT", m_file, "The DAT file to write")->required();
}

int CNewCommand::Run(const CCliOptions& options, std::ostream&, std::ostream& err) const
{
    const std::filesystem::path path = m_file;
    CCliApp app(options, options.model.value_or(QZB_DEFAULT_MODEL), err);
    std::error_code reason;
    if (const MessageCode code = WriteDatFile(path, app.Context(), std::nullopt, &reason); code != kOk) {
        return TellFailure(err, app, code, WithDatExtension(path), reason);
    }
    return kExitOk;
}

void CEncodeCommand::AddCommand(CLI::App& root)
{
    m_command = root.add_subcommand("encode", "Write the machine image a DAT file's content encodes to");
    m_command->add_option("--mode", m_mode, "file or upload")->required()->check(CLI::IsMember({"file", "upload"}));
    m_command->add_flag("--service", m_service, "Upload mode: carry the settings as in service-man mode");
    m_command->add_option("IN", m_file, "The DAT file to read")->required();
    m_command->add_option("OUT", m_output, "The image file to write")->required();
}

int CEncodeCommand::Run(const CCliOptions& options, std::ostream&, std::ostream& err) const
{
    const std::filesystem::path in = m_file;
    const std::filesystem::path outPath = m_output;
    const CDatInput input(in);
    CCliApp app(options, input.Model(options), err);
    if (!input.OpenOrTell(app, err)) {
        return kExitFailed;
    }
    CEncodeOptions encode;
    encode.mode = m_mode == "upload" ? EncodeMode::Upload : EncodeMode::File;
    encode.serviceMan = m_service;
    const std::vector<std::uint8_t> image = EncodeMachineImage(app.Context().device, app.Context().store, encode);
    std::error_code reason;
    // The image carries the settings' passwords as the DAT file does.
    if (!WriteFileAtomically(outPath, image, &reason, FileRights::OwnerOnlyWhenNew)) {
        return TellFailure(err, app, kMsgWriteFileError, outPath, reason);
    }
    return kExitOk;
}

} // namespace qzb
