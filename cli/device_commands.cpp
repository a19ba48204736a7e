#include "cli/device_commands.h"

#include "cli/qzbctl.h"
#include "device/device_link.h"
#include "device/device_protocol.h"
#include "device/device_simulator.h"
#include "device/trace_transport.h"
#include "device/usb_libusb.h"
#include "files/dat_file.h"
#include "model/machine_image.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <memory>
#include <unistd.h>

namespace qzb {

namespace {

struct CFaultError
{
    std::string text;
};

std::size_t FaultNumber(const std::string& fault, std::string_view value)
{
    std::size_t number = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (ec != std::errc() || end != value.data() + value.size()) {
        throw CFaultError{"--sim-fault " + fault + " needs a number"};
    }
    return number;
}

void ApplyFault(CSimulatorFaults& faults, const std::string& fault)
{
    const std::size_t equals = fault.find('=');
    const std::string kind = fault.substr(0, equals);
    const std::string_view value =
        equals == std::string::npos ? std::string_view() : std::string_view(fault).substr(equals + 1);
    if (kind == "busy") {
        faults.busyAtOpen = true;
    } else if (kind == "status") {
        faults.statusByte = static_cast<std::uint8_t>(FaultNumber(fault, value));
    } else if (kind == "split") {
        faults.splitReads = FaultNumber(fault, value);
    } else if (kind == "cut") {
        faults.cutAfter = FaultNumber(fault, value);
    } else if (kind == "country") {
        faults.country = static_cast<std::int32_t>(FaultNumber(fault, value));
    } else {
        throw CFaultError{"unknown --sim-fault " + kind + " (busy, status=N, split=N, cut=N, country=N)"};
    }
}

class CDeviceRun
{
public:
    CDeviceRun(CCliApp& app, const CDeviceOptions& options, std::ostream& err)
        : m_app(app)
        , m_err(err)
        , m_showProgress(::isatty(STDERR_FILENO) == 1)
    {
        CDeviceLinkConfig config;
        if (options.usbVendor) {
            const auto vendor = ParseUsbId(*options.usbVendor);
            if (!vendor) {
                throw CFaultError{"--usb-vendor needs a hexadecimal id such as 0x0B49"};
            }
            config.vendorId = *vendor;
        }
        ITransport* transport = nullptr;
        if (options.simulate) {
            m_simulator =
                std::make_unique<CDeviceSimulator>(app.Context().modelCode, config.vendorId, options.simulatorFile);
            for (const std::string& fault : options.faults) {
                ApplyFault(m_simulator->Faults(), fault);
            }
            config.lockDevice = false;
            transport = m_simulator.get();
        } else {
            m_usb = std::make_unique<CUsbTransport>();
            transport = m_usb.get();
        }
        if (options.trace) {
            m_traceFile = std::make_unique<std::ofstream>(*options.trace);
            m_trace = std::make_unique<CTraceTransport>(*transport, *m_traceFile);
            transport = m_trace.get();
        }
        m_link = std::make_unique<CDeviceLink>(*transport, app.Context(), m_words, config);
        m_protocol = std::make_unique<CDeviceProtocol>(
            *m_link, app.Context(), app.Messenger(), options.fast ? CProtocolTimings::Fast() : CProtocolTimings{});
        m_protocol->SetProgress([this](std::string_view step) {
            if (m_showProgress) {
                m_err << "qzbctl: " << step << "...\n";
            }
        });
    }

    MessageCode SimulatorFileResult() const { return m_simulator ? m_simulator->BackingFileResult() : kOk; }
    CDeviceProtocol& Protocol() { return *m_protocol; }
    const CDeviceLink& Link() const { return *m_link; }

private:
    CCliApp& m_app;
    std::ostream& m_err;
    bool m_showProgress;
    CApplicationWords m_words;
    std::unique_ptr<CDeviceSimulator> m_simulator;
    std::unique_ptr<CUsbTransport> m_usb;
    std::unique_ptr<std::ofstream> m_traceFile;
    std::unique_ptr<CTraceTransport> m_trace;
    std::unique_ptr<CDeviceLink> m_link;
    std::unique_ptr<CDeviceProtocol> m_protocol;
};

int Failed(const CCliApp& app, MessageCode code, std::ostream& err)
{
    if (code != kMsgAlreadyReported) {
        char hex[16];
        std::snprintf(hex, sizeof(hex), "0x%08X", code);
        err << "error " << hex << ": " << app.MessageText(code) << '\n';
    }
    return kExitFailed;
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
    std::int32_t model = options.model.value_or(QZB_DEFAULT_MODEL);
    if (action == "upload" && !options.model) {
        // An upload runs as the model its file was written for.
        CDatContents contents;
        for (std::int32_t candidate : {8313, 8314, 8315, 8329, 2152}) {
            if (ReadDatFile(file, candidate, contents) == kOk && contents.modelCode == candidate) {
                model = candidate;
                break;
            }
        }
    }
    CCliApp app(options, model, err);
    if (action == "upload") {
        if (const MessageCode code = OpenDatFile(file, app.Context(), app.Texts()); code != kOk) {
            return Failed(app, code, err);
        }
    }
    try {
        CDeviceRun run(app, device, err);
        if (const MessageCode code = run.SimulatorFileResult(); code != kOk) {
            err << "qzbctl: the simulator's memory file could not be used\n";
            return Failed(app, code, err);
        }
        CDeviceProtocol& protocol = run.Protocol();
        const MessageCode connected = protocol.DoDeviceOperation(kOperationConnect, 0);
        if (connected != kOk) {
            if (!run.Link().IsOpen()) {
                err << "qzbctl: " << DescribeDiagnosis(run.Link().LastDiagnosis()) << '\n';
            }
            return Failed(app, connected, err);
        }
        MessageCode result = kOk;
        if (action == "status") {
            result = protocol.StatusQuery();
        } else if (action == "download") {
            result = protocol.DoDeviceOperation(kOperationDownload, 0);
        } else if (action == "upload") {
            result = protocol.DoDeviceOperation(kOperationUpload, service ? kStateServiceMan : 0);
        }
        const MessageCode disconnected = protocol.DoDeviceOperation(kOperationDisconnect, 0);
        if (result != kOk) {
            // A status the disconnect has just reported is not told twice.
            const bool toldAlready = action == "status" && disconnected == kMsgAlreadyReported;
            return toldAlready ? kExitFailed : Failed(app, result, err);
        }
        if (action == "download") {
            if (const MessageCode code = WriteDatFile(file, app.Context()); code != kOk) {
                return Failed(app, code, err);
            }
        }
        if (action == "status") {
            out << "device ready: " << run.Link().LastDiagnosis().description << " (model " << app.Context().modelCode
                << ")\n";
        }
        if (disconnected != kOk && disconnected != kMsgAlreadyReported) {
            return Failed(app, disconnected, err);
        }
        return kExitOk;
    } catch (const CFaultError& fault) {
        err << "qzbctl: " << fault.text << '\n';
        return kExitUsage;
    }
}

} // namespace qzb
