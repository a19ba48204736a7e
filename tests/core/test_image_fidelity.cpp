// What a machine image or a DAT file gives back: headers only of a model their magic is written
// for, texts byte for byte and within the length their rows can announce, the options block in
// every file, and the initial texts of each model.
#include "app/model_profile.h"
#include "files/dat_file.h"
#include "machine/image_decoder.h"
#include "machine/image_encoder.h"
#include "model/image_layout.h"
#include "model/item_table.h"
#include "model/machine_image.h"
#include "model/model_defaults.h"
#include "model/text_codec.h"
#include "tests/support/full_device.h"
#include "tests/support/image_bytes.h"
#include "tests/support/models.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace qzb {
namespace {

namespace fs = std::filesystem;

Bytes OneEntry(std::uint32_t id, const Bytes& data)
{
    CImageWriter writer;
    writer.Append(id, data);
    return writer.Take();
}

Bytes BytesOf(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

TEST(DatHeader, AcceptsExactlyTheModelsOfItsMagic)
{
    std::string pattern = (fs::temp_directory_path() / "qzb-header-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path path = fs::path(pattern) / "h.dat";
    const std::string magics[] = {"QZB|CORALAIO", "QZB|OBSIDIANAIO", "QZB|OTHERAIO"};
    const std::uint32_t ids[] = {8313, 8314, 8315, 8329, 2152, 0, 9999, 0x80002069};
    for (const std::string& magic : magics) {
        for (const std::uint32_t id : ids) {
            Bytes file(magic.begin(), magic.end());
            file.resize(kDatHeaderSize, 0);
            for (int i = 0; i < 4; ++i) {
                file[16 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(id >> (8 * i));
            }
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
            const bool coral = magic == "QZB|CORALAIO" && id == 8329;
            const bool obsidian = magic == "QZB|OBSIDIANAIO" && (id == 8313 || id == 8314 || id == 8315 || id == 2152);
            const auto model = static_cast<std::int32_t>(id);
            EXPECT_EQ(DatHeaderModel(file), coral || obsidian ? std::optional(model) : std::nullopt)
                << magic << " " << id;
            for (const std::int32_t running : {8313, 8329}) {
                const bool accepted = running == 8329 ? coral : obsidian;
                CDatContents contents;
                EXPECT_EQ(ReadDatFile(path, running, contents), accepted ? kOk : kMsgInvalidFormatOpenFileErr)
                    << magic << " " << id << " under " << running;
                EXPECT_EQ(contents.modelCode, accepted ? model : 0);
            }
        }
    }
    fs::remove_all(pattern);
}

// Bytes Windows-1252 leaves undefined, NUL-free, next to ordinary letters.
constexpr std::string_view kUndefinedBytes = "A\x81"
                                             "B\x8D\x8F\x90\x9D\xE9z";

TEST(ImageTexts, EverySettingTextComesBackByteForByte)
{
    const auto table = ItemTable();
    for (std::size_t index = 0; index < table.size(); ++index) {
        if (table[index].kind != ItemKind::Text) {
            continue;
        }
        CFullDevice full;
        ASSERT_EQ(
            DecodeMachineImage(full.device, full.store, OneEntry(table[index].parameterId, BytesOf(kUndefinedBytes))),
            kOk);
        const auto entry = FindEntry(Encode(full), table[index].parameterId);
        ASSERT_TRUE(entry) << table[index].key;
        ASSERT_GE(entry->size(), kUndefinedBytes.size());
        EXPECT_EQ(Bytes(entry->begin(), entry->begin() + static_cast<std::ptrdiff_t>(kUndefinedBytes.size())),
                  BytesOf(kUndefinedBytes))
            << table[index].key;
    }

    // The forwarding e-mail address: type 1, count, then the address from offset 6.
    Bytes forwarding(kForwardingSize, 0);
    forwarding[0] = 1;
    forwarding[1] = static_cast<std::uint8_t>(kUndefinedBytes.size());
    std::copy(kUndefinedBytes.begin(), kUndefinedBytes.end(), forwarding.begin() + 6);
    CFullDevice full;
    ASSERT_EQ(DecodeMachineImage(full.device, full.store, OneEntry(0x10906, forwarding)), kOk);
    const auto entry = FindEntry(Encode(full), 0x10906);
    ASSERT_TRUE(entry);
    EXPECT_EQ(Bytes(entry->begin() + 6, entry->begin() + 6 + static_cast<std::ptrdiff_t>(kUndefinedBytes.size())),
              BytesOf(kUndefinedBytes));
}

TEST(ImageTexts, ScanTextsKeepControlBytes)
{
    namespace s = scan;
    Bytes controls;
    for (std::uint8_t byte = 1; byte < 0x20; ++byte) {
        controls.push_back(byte);
    }
    controls.push_back(0x7F);
    controls.push_back('x');
    Bytes data(kScanEntrySize, 0);
    data[s::kNumber] = 221;
    data[s::kPresent] = 1;
    const std::pair<std::size_t, std::size_t> fields[] = {
        {s::kServerLength, s::kServer},
        {s::kDirectoryLength, s::kDirectory},
        {s::kNotifyLengths + 3, s::kNotifyAddresses + 3 * s::kNotifyAddressSize},
    };
    for (const auto& [lengthAt, at] : fields) {
        data[lengthAt] = static_cast<std::uint8_t>(controls.size());
        std::copy(controls.begin(), controls.end(), data.begin() + static_cast<std::ptrdiff_t>(at));
    }
    for (const std::int32_t language : {0, 6, 7, 11}) {
        CFullDevice full;
        full.store.SetItemNumber("MACHINE_SET_DLG", "Machine_Language", language);
        ASSERT_EQ(DecodeMachineImage(full.device, full.store, OneEntry(kFirstScanId, data)), kOk);
        const auto entry = FindEntry(Encode(full), kFirstScanId);
        ASSERT_TRUE(entry);
        for (const auto& [lengthAt, at] : fields) {
            EXPECT_EQ((*entry)[lengthAt], controls.size()) << "language " << language << " field " << at;
            EXPECT_EQ(Bytes(entry->begin() + static_cast<std::ptrdiff_t>(at),
                            entry->begin() + static_cast<std::ptrdiff_t>(at + controls.size())),
                      controls)
                << "language " << language << " field " << at;
        }
    }
}

// A text whose length travels in a one-byte "buffer length" row keeps within 255 bytes, both when it
// arrives longer and when the store holds more; the SNMP community names keep within their field.
TEST(ImageTexts, LongTextsAgreeWithTheirLengthRow)
{
    const auto table = ItemTable();
    std::size_t lengthRows = 0;
    for (std::size_t index = 1; index < table.size(); ++index) {
        const CItemRow& row = table[index];
        if (row.kind != ItemKind::Text) {
            continue;
        }
        const bool lengthRow = table[index - 1].kind == ItemKind::Number && table[index - 1].key == kBufferLengthKey;
        const bool snmp = row.key.starts_with("SNMP_");
        const std::size_t limit = lengthRow ? 255 : snmp ? 15 : CValueStore::kMaxTextBytes;
        lengthRows += lengthRow ? 1 : 0;

        CFullDevice decoded;
        ASSERT_EQ(DecodeMachineImage(decoded.device, decoded.store, OneEntry(row.parameterId, Bytes(300, 'w'))), kOk);
        EXPECT_EQ(decoded.store.GetItemTextRaw(row.page, row.key).size(), std::min<std::size_t>(300, limit)) << row.key;

        CFullDevice stored;
        stored.store.SetItemTextRaw(row.page, row.key, std::string(1000, 'w'));
        const Bytes image = Encode(stored);
        const auto text = FindEntry(image, row.parameterId);
        ASSERT_TRUE(text) << row.key;
        EXPECT_EQ(text->size(), std::min<std::size_t>(1000, limit)) << row.key;
        if (lengthRow) {
            const auto length = FindEntry(image, table[index - 1].parameterId);
            ASSERT_TRUE(length && length->size() == 1) << row.key;
            EXPECT_EQ((*length)[0], 255) << row.key;
        }
    }
    EXPECT_EQ(lengthRows, 18u);
}

TEST(ImageTexts, CutsADoubleByteTextWhereACharacterEnds)
{
    const auto page = CCodePage::Open("CP932");
    ASSERT_TRUE(page);
    const std::string text = std::string(254, 'a') + "\x82\xA0" + "b";
    EXPECT_EQ(page->PrefixLength(text, 255), 254u);
    EXPECT_EQ(page->PrefixLength(text, 256), 256u);
    EXPECT_EQ(page->PrefixLength(text, 1000), text.size());
}

TEST(ModelDefaults, BonjourAndIppNamesCarryTheAddressPlaceholder)
{
    for (const std::int32_t model : kModels) {
        CValueStore store;
        ApplyModelDefaults(store, FindModelProfile(model).modelBit);
        const std::u16string expected = model == 8329 || model == 2152 ? u"MERIDAN TOVELL lumatrace 3120 (xx:xx:xx)"
                                                                       : u"MERIDAN TOVELL lumatrace 8120 (xx:xx:xx)";
        EXPECT_EQ(store.GetItemText("BONJOUR_SET_DLG", "BONJOUR_NAME"), expected) << model;
        EXPECT_EQ(store.GetItemText("IPP_SET_DLG", "IPP_PRINTER_NAME"), expected) << model;
    }
}

TEST(ImageEncoder, FileModeAlwaysCarriesTheOptionsBlock)
{
    CFullDevice full;
    ASSERT_FALSE(full.device.optionsBlock);
    auto block = FindEntry(Encode(full), 0x21002);
    ASSERT_TRUE(block);
    EXPECT_EQ(*block, Bytes(kOptionsBlockSize, 0));

    full.device.tray2Installed = true;
    full.device.duplexInstalled = true;
    block = FindEntry(Encode(full), 0x21002);
    ASSERT_TRUE(block && block->size() == kOptionsBlockSize);
    EXPECT_EQ((*block)[1], 2);
    EXPECT_EQ((*block)[4], 1);
    EXPECT_FALSE(FindEntry(Encode(full, EncodeMode::Upload), 0x21002));
}

} // namespace
} // namespace qzb
