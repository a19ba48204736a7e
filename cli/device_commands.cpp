#include "cli/device_commands.h"

#include "app/last_model.h"
#include "app/preferences.h"
#include "cli/json_dump.h"
#include "cli/qzbctl.h"
#include "device/device_link.h"
#include "device/device_protocol.h"
#include "device/device_simulator.h"
#include "device/model_detection.h"
#include "device/simulator_faults.h"
#include "device/trace_transport.h"
#include "device/usb_libusb.h"
#include "files/dat_file.h"
#include "model/machine_image.h"
#include "session/qzb_session.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <charconv>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <limits>
#include <memory>
#include <unistd.h>

namespace qzb {

namespace {

struct CUsageError
{
    std::string text;
};

void ApplyFault(CSimulatorFaults& faults, const std::string& fault)
{
    const CFaultParse parse = ApplySimulatorFault(faults, fault);
    switch (parse.refusal) {
        case FaultRefusal::None:
            return;
        case FaultRefusal::UnknownKind:
            throw CUsageError{"unknown --sim-fault " + fault.substr(0, fault.find('=')) +
                              " (busy, damaged, status=N, split=N, cut=N, cut-every=N, country=N)"};
        case FaultRefusal::TakesNoNumber:
            throw CUsageError{"--sim-fault " + fault.substr(0, fault.find('=')) + " takes no number"};
        case FaultRefusal::NeedsNumber:
            throw CUsageError{"--sim-fault " + fault + " needs a number"};
        case FaultRefusal::OutOfRange: {
            const std::string range =
                parse.highest == std::numeric_limits<std::size_t>::max()
                    ? "at least " + std::to_string(parse.lowest)
                    : "from " + std::to_string(parse.lowest) + " to " + std::to_string(parse.highest);
            throw CUsageError{"--sim-fault " + fault + ": the number must be " + range};
        }
    }
}

// The real bus, or the simulated devices; a simulated device without a memory file is of model.
struct CTransports
{
    std::unique_ptr<CDeviceSimulator> simulator;
    std::unique_ptr<CUsbTransport> usb;

    ITransport& Get() { return simulator ? static_cast<ITransport&>(*simulator) : *usb; }
};

CTransports MakeTransports(const CDeviceOptions& options, std::int32_t model, std::uint16_t vendor)
{
    CTransports transports;
    if (!options.simulate) {
        transports.usb = std::make_unique<CUsbTransport>();
    } else if (options.simulatorFiles.size() > 1) {
        transports.simulator = std::make_unique<CDeviceSimulator>(model, vendor, options.simulatorFiles);
    } else {
        transports.simulator = std::make_unique<CDeviceSimulator>(model, vendor, options.simulatorFile);
    }
    return transports;
}

class CDeviceRun
{
public:
    CDeviceRun(CCliApp& app,
               CTransports transports,
               const CDeviceOptions& options,
               const CDeviceLinkConfig& config,
               const CSimulatorFaults& faults,
               std::unique_ptr<std::ofstream> traceFile,
               std::ostream& err)
        : m_err(err)
        , m_showProgress(::isatty(STDERR_FILENO) == 1)
        , m_traceFile(std::move(traceFile))
        , m_simulator(std::move(transports.simulator))
        , m_usb(std::move(transports.usb))
    {
        CDeviceLinkConfig linkConfig = config;
        ITransport* transport = m_usb.get();
        if (m_simulator) {
            m_simulator->SetFaults(faults);
            linkConfig.lockDevice = false;
            transport = m_simulator.get();
        }
        if (m_traceFile) {
            m_trace = std::make_unique<CTraceTransport>(*transport, *m_traceFile);
            transport = m_trace.get();
        }
        m_link = std::make_unique<CDeviceLink>(*transport, app.Context(), m_words, linkConfig);
        m_protocol = std::make_unique<CDeviceProtocol>(
            *m_link, app.Context(), app.Messenger(), options.fast ? CProtocolTimings::Fast() : CProtocolTimings{});
        m_protocol->SetProgress([this, &app](const CKeyedText& step) {
            if (m_showProgress) {
                m_err << "qzbctl: " << app.Render(step) << "...\n";
            }
        });
    }

    MessageCode SimulatorFileResult() const { return m_simulator ? m_simulator->BackingFileResult() : kOk; }
    std::string FailedSimulatorFile() const
    {
        const auto file = m_simulator ? m_simulator->FailedBackingFile() : std::nullopt;
        return file ? file->string() : std::string();
    }
    MessageCode SimulatorSaveResult() const { return m_simulator ? m_simulator->SaveResult() : kOk; }
    // False when the trace asked for did not reach its file whole (a full disk, /dev/full).
    bool TraceWritten()
    {
        if (!m_traceFile) {
            return true;
        }
        m_traceFile->flush();
        return static_cast<bool>(*m_traceFile);
    }
    CDeviceProtocol& Protocol() { return *m_protocol; }
    const CDeviceLink& Link() const { return *m_link; }

private:
    std::ostream& m_err;
    bool m_showProgress;
    CApplicationWords m_words;
    std::unique_ptr<std::ofstream> m_traceFile;
    std::unique_ptr<CDeviceSimulator> m_simulator;
    std::unique_ptr<CUsbTransport> m_usb;
    std::unique_ptr<CTraceTransport> m_trace;
    std::unique_ptr<CDeviceLink> m_link;
    std::unique_ptr<CDeviceProtocol> m_protocol;
};

// The one line a failure prints; text stands in for the message's own when given.
int Failed(const CCliApp& app, MessageCode code, std::ostream& err, const std::string& text = {})
{
    char hex[16];
    std::snprintf(hex, sizeof(hex), "0x%08X", code);
    err << "error " << hex << ": " << (text.empty() ? app.MessageText(code) : text) << '\n';
    return kExitFailed;
}

// The code behind a result: a failure the transfer driver has reported is the one it showed.
MessageCode Told(CCliApp& app, MessageCode result)
{
    const std::optional<MessageCode> held = app.Presenter().TakeHeld();
    return result == kMsgAlreadyReported && held ? *held : result;
}

} // namespace

int RunDeviceCommand(const CCliOptions& options,
                     const CDeviceOptions& device,
                     const std::string& action,
                     const std::filesystem::path& file,
                     bool service,
                     std::ostream& out,
                     std::ostream& err)
{
    // Everything a usage error can come from is checked before a file or the device is touched.
    CSimulatorFaults faults;
    CDeviceLinkConfig config;
    config.deviceSelector = device.device.value_or(std::string());
    std::unique_ptr<std::ofstream> traceFile;
    try {
        for (const std::string& fault : device.faults) {
            ApplyFault(faults, fault);
        }
        // The pauses are owed to a real device; faults only a simulated one can show.
        if (!device.simulate && (device.fast || !device.faults.empty())) {
            throw CUsageError{std::string(device.fast ? "--fast" : "--sim-fault") + " needs --simulate"};
        }
        for (const std::filesystem::path& file : device.simulatorFiles) {
            if (!IsSimulatorFileUsable(file)) {
                throw CUsageError{"--simulate: " + file.string() + " is not a regular file"};
            }
        }
        if (device.simulatorFile && !IsSimulatorFileUsable(*device.simulatorFile)) {
            throw CUsageError{"--simulate: " + device.simulatorFile->string() + " is not a regular file"};
        }
        if (device.usbVendor) {
            const auto vendor = ParseUsbId(*device.usbVendor);
            if (!vendor) {
                throw CUsageError{"--usb-vendor needs a hexadecimal id such as 0x0B49"};
            }
            config.vendorId = *vendor;
        }
        if (device.trace) {
            // The exchanges carry the device's passwords: a new trace is its owner's alone.
            if (const int fd = ::open(device.trace->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600); fd >= 0) {
                ::close(fd);
            }
            traceFile = std::make_unique<std::ofstream>(*device.trace);
            if (!traceFile->is_open()) {
                throw CUsageError{"--trace: " + device.trace->string() + " cannot be created"};
            }
        }
    } catch (const CUsageError& usage) {
        err << "qzbctl: " << usage.text << '\n';
        return kExitUsage;
    }

    std::optional<std::int32_t> model = options.model;
    // An upload runs as the model its file was written for; the file is read once, a pipe too.
    std::optional<CDatInput> upload;
    if (action == "upload") {
        upload.emplace(file);
        if (!model) {
            model = upload->HeaderModel();
        }
    }
    const std::int32_t fallback = FallbackModel(ReadLastModelFile(LauncherPreferencesFile()), QZB_DEFAULT_MODEL);
    CTransports transports = MakeTransports(device, model.value_or(fallback), config.vendorId);
    if (!model) {
        // Without --model the devices plugged in say which model to run as.
        const CModelSearch search = DetectModel(transports.Get(), config);
        if (search.result == ModelDetection::SeveralModels) {
            err << "qzbctl: devices of several models are plugged in; choose one with --device BUS:ADDRESS|SERIAL "
                   "or --model CODE:\n";
            for (const CUsbCandidate& found : search.devices) {
                err << "  " << FamilyDeviceLine(found) << '\n';
            }
            return kExitFailed;
        }
        model = search.result == ModelDetection::OneModel ? search.modelCode : fallback;
        if (model != fallback && device.simulate) {
            transports = MakeTransports(device, *model, config.vendorId);
        }
    }
    CCliApp app(options, *model, err);
    if (action == "upload") {
        if (const MessageCode code = upload->Open(app); code != kOk) {
            return Failed(app, code, err);
        }
    }
    CDeviceRun run(app, std::move(transports), device, config, faults, std::move(traceFile), err);
    if (const MessageCode code = run.SimulatorFileResult(); code != kOk) {
        return Failed(
            app, code, err, app.MessageText(code) + " (the simulator's memory file " + run.FailedSimulatorFile() + ")");
    }
    // The driver's own reports are held back: each failure is told here, once.
    app.Presenter().SetHold(true);
    CDeviceProtocol& protocol = run.Protocol();
    // The window's commands, run unattended: the command line has answered its questions already.
    CNoPreferences preferences;
    CQZBSession session(app.Context(), app.Messenger(), preferences, &protocol, {});
    session.SetUnattended(true);
    if (service) {
        session.EnterServiceMan(session.ServiceManPassword());
    }
    const MessageCode connected = Told(app, session.Connect().code);
    if (connected != kOk) {
        const CDeviceDiagnosis& diagnosis = run.Link().LastDiagnosis();
        // When nothing was opened the search says why better than the message does.
        const bool unopened = !run.Link().IsOpen() && diagnosis.finding != DeviceFinding::Opened;
        return Failed(app, connected, err, unopened ? app.Render(DescribeDiagnosis(diagnosis)) : std::string());
    }
    MessageCode result = kOk;
    std::string resultText;
    if (action == "status") {
        result = protocol.StatusQuery();
    } else if (action == "download" || action == "info") {
        result = Told(app, session.Download().code);
    } else if (action == "upload") {
        result = Told(app, session.Upload().code);
        if (result == kOk && run.SimulatorSaveResult() != kOk) {
            result = run.SimulatorSaveResult();
            const std::string memory =
                device.simulatorFiles.size() > 1 ? "memory files" : "memory file " + device.simulatorFile->string();
            resultText =
                app.MessageText(result) + " (the simulator's " + memory + " was not saved: the upload is lost)";
        }
    }
    const MessageCode disconnected = Told(app, session.Disconnect().code);
    if (result != kOk) {
        // A disconnect that fails after a failed operation is the same failure told again.
        return Failed(app, result, err, resultText);
    }
    std::string kept;
    if (action == "download") {
        std::error_code reason;
        if (const MessageCode code = WriteDatFile(file, app.Context(), std::nullopt, &reason); code != kOk) {
            PrintError(err, app, code, WithDatExtension(file), reason);
            return kExitFailed;
        }
        kept = "the download had finished: " + WithDatExtension(file).string() + " is saved";
    } else if (action == "info") {
        const nlohmann::ordered_json dump = DumpJson(app.Context());
        nlohmann::ordered_json info;
        info["deviceInfo"] = dump["deviceInfo"];
        info["counters"] = dump["counters"];
        out << info.dump(2) << '\n';
        kept = "the device information above had been read in full";
    } else if (action == "status" && disconnected == kOk) {
        out << "device ready: " << run.Link().LastDiagnosis().description << " (model " << app.Context().modelCode
            << ")\n";
    } else if (action == "upload") {
        kept = "the upload had been sent";
    }
    if (disconnected != kOk) {
        const std::string text = app.MessageText(disconnected);
        return Failed(app, disconnected, err, kept.empty() ? text : text + " (" + kept + ")");
    }
    // A trace asked for and lost is a failure of the run, though the device did its part.
    if (!run.TraceWritten()) {
        err << "qzbctl: the trace " << device.trace->string() << " could not be written"
            << (kept.empty() ? std::string() : " (" + kept + ")") << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

CDeviceCommand::CDeviceCommand(CLI::App& root)
{
    AddOptions(root, m_before);
}

void CDeviceCommand::AddOptions(CLI::App& app, COptionSet& set)
{
    set.simulate = app.add_option("--simulate",
                                  set.simulatorFile,
                                  "Talk to the built-in simulated device (its memory kept in FILE.dat when given); "
                                  "A.dat,B.dat,... simulates one device for each file");
    set.simulate->expected(0, 1);
    // One fault a time, so that a file name after it is not taken for another fault.
    app.add_option("--sim-fault",
                   set.faults,
                   "Simulator fault: busy, damaged, status=N, split=N, cut=N (next connection), cut-every=N, country=N")
        ->allow_extra_args(false);
    app.add_flag("--fast", set.fast, "Leave out the pauses the device is owed (simulator only)");
    set.vendor = app.add_option("--usb-vendor", set.usbVendor, "USB vendor id of the device, in hexadecimal");
    set.traceOption = app.add_option("--trace", set.trace, "Write every exchange with the device to FILE");
    set.deviceOption = app.add_option(
        "--device", set.device, "The device to use: BUS:ADDRESS (decimal) or its serial number, as device list shows");
}

void CDeviceCommand::AddCommand(CLI::App& root)
{
    m_command = root.add_subcommand("device", "Talk to the device: status, download OUT.dat, upload IN.dat, info");
    m_command->require_subcommand(1);
    AddOptions(*m_command, m_after);
    // Options after the action are the device command's too.
    m_command->add_subcommand("status", "Connect, ask the device's status and disconnect")->fallthrough();
    auto* download = m_command->add_subcommand("download", "Download the device's data into a DAT file");
    download->fallthrough();
    download->add_option("OUT", m_file, "The DAT file to write")->required();
    auto* upload = m_command->add_subcommand("upload", "Upload a DAT file's data to the device");
    upload->fallthrough();
    upload->add_option("IN", m_file, "The DAT file to send")->required();
    upload->add_flag("--service", m_service, "Send the settings too, after the country check (service-man mode)");
    m_command
        ->add_subcommand("info", "Connect, download and disconnect; print the device information and counters as JSON")
        ->fallthrough();
    auto* list = m_command->add_subcommand("list", "List the vendor's devices plugged in: model, bus:address, serial");
    list->fallthrough();
    list->add_flag("--json", m_json, "Print the list as JSON");
}

int CDeviceCommand::Run(const CCliOptions& options, std::ostream& out, std::ostream& err) const
{
    CDeviceOptions device;
    for (const COptionSet* set : {&m_before, &m_after}) {
        if (set->simulate->count() > 0) {
            device.simulate = true;
            if (!set->simulatorFile.empty()) {
                TakeSimulatorFiles(set->simulatorFile, device);
            }
        }
        device.faults.insert(device.faults.end(), set->faults.begin(), set->faults.end());
        device.fast = device.fast || set->fast;
        if (set->vendor->count() > 0) {
            device.usbVendor = set->usbVendor;
        }
        if (set->traceOption->count() > 0) {
            device.trace = set->trace;
        }
        if (set->deviceOption->count() > 0) {
            device.device = set->device;
        }
    }
    const std::string action = m_command->get_subcommands().front()->get_name();
    if (action == "list") {
        return RunDeviceList(options, device, m_json, out, err);
    }
    return RunDeviceCommand(options, device, action, m_file, m_service, out, err);
}

} // namespace qzb
