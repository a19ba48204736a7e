// Writes the seed corpora of the fuzz targets into <folder>/image_decoder, <folder>/dat_reader and
// <folder>/csv_import:
// small images with one entry of every kind, a few damaged ones, and DAT files around them.
#include "addressbook/csv_exchange.h"
#include "app/app_context.h"
#include "files/dat_file.h"
#include "machine/image_encoder.h"
#include "model/image_layout.h"
#include "model/machine_image.h"
#include "tests/support/full_device.h"
#include "tests/support/vcard_fixtures.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

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
    Save(images / "empty.bin", {});
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

    const fs::path vcards = fs::path(argv[1]) / "vcard_import";
    fs::create_directories(vcards);
    namespace vcard = qzb::vcard;
    for (const auto& [name, text] : {std::pair{"rfc6350.vcf", vcard::kRfc6350},
                                     {"rfc2426.vcf", vcard::kRfc2426},
                                     {"thunderbird.vcf", vcard::kThunderbird},
                                     {"evolution.vcf", vcard::kEvolution},
                                     {"phone21.vcf", vcard::kPhone21},
                                     {"outlook21.vcf", vcard::kOutlook21}}) {
        Save(vcards / name, Bytes(text.begin(), text.end()));
    }
    return 0;
}
