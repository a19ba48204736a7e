// Writes the seed corpora of the fuzz targets into <folder>/<target>: small images with one entry
// of every kind, a few damaged ones, DAT files around them, CSV exports, string tables, preferences
// files, fault lists, number lists, and whole device sessions recorded from the simulator.
#include "addressbook/csv_exchange.h"
#include "app/app_context.h"
#include "app/messenger.h"
#include "device/device_link.h"
#include "device/device_protocol.h"
#include "device/device_simulator.h"
#include "device/simulator_faults.h"
#include "files/dat_file.h"
#include "fuzz_session.h"
#include "machine/image_encoder.h"
#include "model/image_layout.h"
#include "model/machine_image.h"
#include "tests/support/full_device.h"
#include "tests/support/vcard_fixtures.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

void Save(const fs::path& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Every settings entry of the full device, the first filled entry of each directory section, and
// the information entries a device sends.
Bytes Sampler()
{
    using namespace qzb;
    CFullDevice full = MakeFullDevice();
    const Bytes image = EncodeMachineImage(full.device, full.store, {EncodeMode::File, false, kFullDeviceDate});
    CImageWriter writer;
    std::set<std::uint32_t> sectionsSeen;
    CImageReader reader(image);
    for (CImageEntry entry; reader.Next(entry);) {
        const bool directory = entry.id >= kFirstGroupId && entry.id <= kLastFavouriteId;
        const std::uint32_t section = entry.id < kFirstFaxMailId ? 1
                                      : entry.id < kFirstScanId  ? 2
                                      : entry.id < 0x13000       ? 3
                                                                 : 4;
        // Two speed dials: the first is a fax number, the second an e-mail address.
        const std::uint32_t key = section == 2 && sectionsSeen.count(2) ? 5 : section;
        if (!directory || (!entry.data.empty() && sectionsSeen.insert(key).second)) {
            writer.Append(entry.id, entry.data);
        }
    }
    const Bytes mac = {0x00, 0x20, 0x6B, 0x1A, 0x2B, 0x3C};
    writer.Append(kMacAddressId, mac);
    writer.Append(kMemoryInfoId, Bytes{0x00, 0x01});
    writer.Append(kPaperSourceInfoId, Bytes{1});
    writer.Append(kWasteTonerInfoId, Bytes{2});
    writer.Append(0x20700, Bytes{80});
    writer.Append(0x20905, Bytes{'V', '1', '.', '0', '2'});
    writer.Append(0x20500, Bytes{1, 2, 3, 4});
    writer.Append(0x2050E, Bytes{0x10, 0x27});
    return writer.Take();
}

Bytes Dat(std::int32_t model, const Bytes& image)
{
    qzb::CAppContext context(model);
    Bytes file = qzb::BuildDatFile(context, qzb::kFullDeviceDate);
    file.resize(qzb::kDatHeaderSize);
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

void Save(const fs::path& path, std::string_view text)
{
    Save(path, Bytes(text.begin(), text.end()));
}

// Builds input that FuzzedDataProvider reads back as the values given: numbers from the end of the
// data (first consumed last in the data, most significant byte first), bytes and strings from the
// front.
class CProviderScript
{
public:
    // A value offset from the range's minimum; range is maximum minus minimum.
    void Integral(std::uint64_t range, std::uint64_t offset)
    {
        std::size_t count = 0;
        while (count < 8 && (range >> (8 * count)) > 0) {
            ++count;
        }
        for (std::size_t i = count; i > 0; --i) {
            m_back.push_back(static_cast<std::uint8_t>(offset >> (8 * (i - 1))));
        }
    }
    void Bool(bool value) { Integral(255, value ? 1 : 0); }
    void Bytes(std::span<const std::uint8_t> bytes) { m_front.insert(m_front.end(), bytes.begin(), bytes.end()); }
    void String(std::string_view text)
    {
        for (char c : text) {
            m_front.push_back(static_cast<std::uint8_t>(c));
            if (c == '\\') {
                m_front.push_back('\\');
            }
        }
        m_front.push_back('\\');
        m_front.push_back('x');
    }
    ::Bytes Data() const
    {
        ::Bytes data = m_front;
        data.insert(data.end(), m_back.rbegin(), m_back.rend());
        return data;
    }

private:
    ::Bytes m_front;
    ::Bytes m_back;
};

// Passes a session through to the simulator and writes down every answer the way the device
// answers target's scripted transport reads it, call for call.
class CRecordingTransport : public qzb::ITransport
{
public:
    CRecordingTransport(qzb::CDeviceSimulator& simulator, CProviderScript& script)
        : m_simulator(simulator)
        , m_script(script)
    {
    }
    qzb::MessageCode ListDevices(std::uint16_t vendor, std::vector<qzb::CUsbCandidate>& devices) override
    {
        m_script.Integral(15, 1);
        return m_simulator.ListDevices(vendor, devices);
    }
    qzb::CTransferResult ControlIn(const qzb::CUsbCandidate& device,
                                   const qzb::CControlRequest& request,
                                   std::span<std::uint8_t> buffer,
                                   std::chrono::milliseconds timeout) override
    {
        m_script.Bool(true);
        m_script.Integral(7, 1);
        return m_simulator.ControlIn(device, request, buffer, timeout);
    }
    qzb::UsbAccess OpenPipes(const qzb::CUsbCandidate& device, std::uint8_t write, std::uint8_t read) override
    {
        m_script.Integral(7, 1);
        return m_simulator.OpenPipes(device, write, read);
    }
    qzb::CTransferResult Write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout) override
    {
        m_script.Integral(31, 3);
        return m_simulator.Write(bytes, timeout);
    }
    qzb::CTransferResult Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override
    {
        if (m_pending.empty()) {
            std::uint8_t chunk[255];
            const qzb::CTransferResult got = m_simulator.Read(chunk, timeout);
            if (got.code != qzb::kOk || got.bytes == 0) {
                return {qzb::kMsgConnectCut, 0};
            }
            m_script.Integral(255, 0); // raw bytes
            m_script.Integral(255, got.bytes);
            m_script.Bytes(std::span(chunk, got.bytes));
            m_pending.assign(chunk, chunk + got.bytes);
        }
        const std::size_t count = std::min({m_pending.size(), buffer.size(), kSplit});
        std::copy_n(m_pending.begin(), count, buffer.begin());
        m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(count));
        return {qzb::kOk, count};
    }
    void Close() override
    {
        m_pending.clear();
        m_simulator.Close();
    }

    static constexpr std::size_t kSplit = 512;

private:
    qzb::CDeviceSimulator& m_simulator;
    CProviderScript& m_script;
    std::deque<std::uint8_t> m_pending;
};

// One device of model 2152 as the simulator lists it, then connect, download, upload as the service
// man and disconnect, with the simulator's faults.
Bytes RecordedSession(const char* fault)
{
    using namespace qzb;
    CProviderScript script;
    script.Integral(3, 1); // one device
    script.Bool(true); // with a device node
    script.Integral(7, 1); // of the vendor
    script.Integral(7, 1);
    script.Integral(4, 0); // model 2152
    script.Bool(true); // the description word
    script.String("");
    script.Integral(3, 1); // interface 0
    script.Integral(1, 0);
    script.Bool(true); // the usual pipes
    script.Integral(3, 0); // access granted
    script.Integral(1023, CRecordingTransport::kSplit - 1);
    script.Integral(7, 1); // no --device choice

    CDeviceSimulator simulator(2152, DefaultUsbVendorId());
    CSimulatorFaults faults;
    if (fault != nullptr && ApplySimulatorFault(faults, fault).refusal != FaultRefusal::None) {
        std::abort();
    }
    simulator.SetFaults(faults);
    CRecordingTransport transport(simulator, script);
    CAppContext context(2152);
    qzb::CQuietPresenter presenter;
    CMessenger messenger(context.strings, presenter);
    const CDeviceLinkConfig config = qzb::QuietLinkConfig();
    CApplicationWords words;
    CDeviceLink link(transport, context, words, config);
    CDeviceProtocol protocol(link, context, messenger, CProtocolTimings::Fast());
    // The operations in the order of the target's list: connect, download, upload, disconnect.
    for (const std::uint32_t operation : {0u, 1u, 2u, 3u}) {
        script.Integral(4, operation);
        script.Bool(operation == 2);
        constexpr std::uint32_t kOperations[] = {
            kOperationConnect, kOperationDownload, kOperationUpload, kOperationDisconnect};
        protocol.DoDeviceOperation(kOperations[operation], operation == 2 ? kStateServiceMan : 0);
    }
    return script.Data();
}

// Deterministic noise for targets whose input is a stream of choices.
Bytes Noise(unsigned seed, std::size_t size)
{
    std::mt19937 random(seed);
    Bytes bytes(size);
    std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<std::uint8_t>(random()); });
    return bytes;
}

fs::path Folder(const char* root, const char* target)
{
    const fs::path folder = fs::path(root) / target;
    fs::create_directories(folder);
    return folder;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 1;
    }
    const fs::path images = fs::path(argv[1]) / "image_decoder";
    const fs::path dats = fs::path(argv[1]) / "dat_reader";
    fs::create_directories(images);
    fs::create_directories(dats);

    const Bytes sampler = Sampler();
    Bytes cut = sampler;
    cut.resize(cut.size() - 3);
    Save(images / "empty.bin", Bytes{});
    Save(images / "sampler.bin", sampler);
    Save(images / "cut.bin", cut);
    Save(images / "gateway.bin", {0x08, 0x02, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00});

    Save(dats / "header-only.dat", Dat(8313, {}));
    Save(dats / "obsidian.dat", Dat(8314, sampler));
    Save(dats / "coral.dat", Dat(8329, sampler));
    Save(dats / "cut.dat", Dat(2152, cut));

    const fs::path csvs = fs::path(argv[1]) / "csv_import";
    fs::create_directories(csvs);
    const qzb::TextLookup labels = [](std::string_view) { return std::u16string(u"Group %02d"); };
    const qzb::CFullDevice full = qzb::MakeFullDevice();
    const std::string book = qzb::BuildAddressBookCsv(full.device.book, full.store, labels);
    const std::string empty = qzb::BuildAddressBookCsv(qzb::CAddressBook(), full.store, labels);
    Save(csvs / "full.csv", Bytes(book.begin(), book.end()));
    Save(csvs / "empty.csv", Bytes(empty.begin(), empty.end()));
    const fs::path csvFiles = Folder(argv[1], "csv_file");
    Save(csvFiles / "full.csv", book);
    Save(csvFiles / "empty-bom.csv", "\xEF\xBB\xBF" + empty);

    const fs::path tables = Folder(argv[1], "string_table");
    Save(tables / "table.tbl",
         "; texts\nSTR_OK=OK\nSTR_TWO=Line one\\nline two\\tend\nSTR_RATIO=1.25\nno entry\n\n[END]\nSTR_AFTER=x\n");
    Save(tables / "bom-crlf.tbl", "\xEF\xBB\xBFSTR_A=\xC3\xA9t\xC3\xA9\r\nSTR_B=\xE3\x81\x82\r\n");
    Save(tables / "long-line.tbl", "STR_LONG=" + std::string(800, 'x') + "\n");

    const fs::path answers = Folder(argv[1], "device_answers");
    Save(answers / "session.bin", RecordedSession(nullptr));
    Save(answers / "split.bin", RecordedSession("split=7"));
    Save(answers / "damaged.bin", RecordedSession("damaged"));
    Save(answers / "problem.bin", RecordedSession("status=3"));
    Save(answers / "busy.bin", RecordedSession("busy"));

    const fs::path pages = Folder(argv[1], "page_values");
    const fs::path entries = Folder(argv[1], "entry_values");
    for (unsigned seed = 1; seed <= 4; ++seed) {
        Save(pages / ("noise-" + std::to_string(seed) + ".bin"), Noise(seed, 64 * seed));
        Save(entries / ("noise-" + std::to_string(seed) + ".bin"), Noise(100 + seed, 48 * seed));
    }

    // The text as UTF-8, then the list's limit: 250, 20, 1.
    const fs::path numbers = Folder(argv[1], "print_numbers");
    Save(numbers / "list.txt",
         std::string_view("1,3,5-7,250-240"
                          "\x01"
                          "\x05"));
    Save(numbers / "wide.txt",
         std::string_view("0,300,99999999999999-1,12345678901"
                          "\x01"
                          "\x01"));
    Save(numbers / "not-list.txt",
         std::string_view(" 4 ,abc,1-3-5,,-5,5-"
                          "\x01"
                          "\x03"));

    const fs::path faults = Folder(argv[1], "sim_faults");
    Save(faults / "all.txt", "busy\ndamaged\nstatus=3\ncountry=9\nsplit=7\ncut=100\ncut-every=5000");
    Save(faults / "bad.txt", "status=256\nsplit=0\nbusy=1\ncut\nwhat=3\ncountry=-1");
    Save(faults / "cut.txt", "cut-every=300\nsplit=64");

    const fs::path preferences = Folder(argv[1], "preferences");
    Save(preferences / "general.ini", "[General]\nLastModel=8329\n[Other]\nLastModel=8313\n");
    Save(preferences / "spaced.ini", "  LastModel = 2152 \r\n");
    Save(preferences / "password.bin", Bytes{'q', 0, 'o', 0, 'r', 0, 0, 0, 'x'});

    const fs::path vcards = Folder(argv[1], "vcard_import");
    namespace vcard = qzb::vcard;
    for (const auto& [name, text] : {std::pair{"rfc6350.vcf", vcard::kRfc6350},
                                     {"rfc2426.vcf", vcard::kRfc2426},
                                     {"thunderbird.vcf", vcard::kThunderbird},
                                     {"evolution.vcf", vcard::kEvolution},
                                     {"phone21.vcf", vcard::kPhone21},
                                     {"outlook21.vcf", vcard::kOutlook21}}) {
        Save(vcards / name, std::string_view(text));
    }
    // The corpus of other projects' vCard test data and the damaged files made beside it.
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(QZB_VCARD_CORPUS_DIR)) {
        if (entry.is_regular_file() && entry.path().extension() == ".vcf") {
            const fs::path relative = fs::relative(entry.path(), QZB_VCARD_CORPUS_DIR);
            std::string name = relative.string();
            std::replace(name.begin(), name.end(), '/', '-');
            fs::copy_file(entry.path(), vcards / ("corpus-" + name), fs::copy_options::overwrite_existing);
        }
    }
    return 0;
}
