#include "machine/device_data.h"
#include "machine/image_decoder.h"
#include "machine/image_encoder.h"
#include "model/dial_digits.h"
#include "model/image_layout.h"
#include "model/machine_image.h"
#include "tests/support/full_device.h"
#include "tests/support/image_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace qzb {
namespace {

std::u16string BracketedKey(std::string_view key)
{
    std::u16string text(1, u'[');
    text += Ascii16(key);
    text += u']';
    return text;
}

MessageCode Decode(CFullDevice& full, const Bytes& image)
{
    return DecodeMachineImage(full.device, full.store, image, BracketedKey);
}

Bytes Image(std::initializer_list<std::pair<std::uint32_t, Bytes>> entries)
{
    CImageWriter writer;
    for (const auto& [id, data] : entries) {
        writer.Append(id, data);
    }
    return writer.Take();
}

// A directory entry of `size` zero bytes with the given bytes placed at their offsets.
Bytes EntryBytes(std::size_t size, std::initializer_list<std::pair<std::size_t, Bytes>> fields)
{
    Bytes entry(size, 0);
    for (const auto& [offset, bytes] : fields) {
        std::copy(bytes.begin(), bytes.end(), entry.begin() + static_cast<std::ptrdiff_t>(offset));
    }
    return entry;
}

Bytes Repeat(std::size_t count, std::uint8_t byte)
{
    return Bytes(count, byte);
}

testing::AssertionResult SameStore(const CValueStore& a, const CValueStore& b)
{
    for (std::size_t p = 0; p < a.Pages().size(); ++p) {
        const auto& ra = a.Pages()[p].records;
        const auto& rb = b.Pages()[p].records;
        for (std::size_t r = 0; r < ra.size(); ++r) {
            if (ra[r].text != rb[r].text || ra[r].number != rb[r].number) {
                return testing::AssertionFailure() << a.Pages()[p].name << "/" << ra[r].key << " differs";
            }
        }
    }
    return testing::AssertionSuccess();
}

template <typename Record>
testing::AssertionResult SameList(const char* list, const std::vector<Record>& a, const std::vector<Record>& b)
{
    if (a.size() != b.size()) {
        return testing::AssertionFailure() << list << ": " << a.size() << " records against " << b.size();
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!(a[i] == b[i])) {
            return testing::AssertionFailure() << list << ": record " << a[i].number << " differs";
        }
    }
    return testing::AssertionSuccess();
}

testing::AssertionResult SameBook(const CAddressBook& a, const CAddressBook& b)
{
    for (const auto& result : {SameList("fax/e-mail", a.FaxMailEntries(), b.FaxMailEntries()),
                               SameList("scan", a.ScanEntries(), b.ScanEntries()),
                               SameList("groups", a.Groups(), b.Groups()),
                               SameList("favourites", a.Favourites(), b.Favourites())}) {
        if (!result) {
            return result;
        }
    }
    return testing::AssertionSuccess();
}

// Everything a decode may touch.
testing::AssertionResult SameDevice(const CFullDevice& a, const CFullDevice& b)
{
    const CDeviceData& x = a.device;
    const CDeviceData& y = b.device;
    if (const auto book = SameBook(x.book, y.book); !book) {
        return book;
    }
    if (x.operationBlock != y.operationBlock || x.dialModeCode != y.dialModeCode || x.optionsBlock != y.optionsBlock ||
        x.tray2Installed != y.tray2Installed || x.tray3Installed != y.tray3Installed ||
        x.duplexInstalled != y.duplexInstalled || x.deviceFlag != y.deviceFlag) {
        return testing::AssertionFailure() << "kept blocks or flags differ";
    }
    if (x.deviceInfo != y.deviceInfo || x.counters != y.counters || x.receivedLength != y.receivedLength) {
        return testing::AssertionFailure() << "information, counters or widths differ";
    }
    return SameStore(a.store, b.store);
}

// The records an image carries are those that come out the same whatever the store held before.
struct CCarried
{
    std::string page, key;
    bool number, text;
};

std::vector<CCarried> CarriedRecords(const Bytes& image)
{
    CFullDevice fresh;
    CFullDevice scrambled;
    for (const CValuePage& page : fresh.store.Pages()) {
        for (const CValueRecord& record : page.records) {
            scrambled.store.SetItemNumber(page.name, record.key, record.number + 1000);
            scrambled.store.SetItemText(page.name, record.key, u"scrambled");
        }
    }
    EXPECT_EQ(Decode(fresh, image), kOk);
    EXPECT_EQ(Decode(scrambled, image), kOk);
    std::vector<CCarried> carried;
    for (std::size_t p = 0; p < fresh.store.Pages().size(); ++p) {
        const auto& a = fresh.store.Pages()[p].records;
        const auto& b = scrambled.store.Pages()[p].records;
        for (std::size_t r = 0; r < a.size(); ++r) {
            if (a[r].number == b[r].number || a[r].text == b[r].text) {
                carried.push_back(
                    {fresh.store.Pages()[p].name, a[r].key, a[r].number == b[r].number, a[r].text == b[r].text});
            }
        }
    }
    return carried;
}

bool IsCarried(const std::vector<CCarried>& carried, std::string_view page, std::string_view key, bool text)
{
    return std::any_of(carried.begin(), carried.end(), [&](const CCarried& c) {
        return c.page == page && c.key == key && (text ? c.text : c.number);
    });
}

// --- Round trip of the full device -------------------------------------------------------------------

TEST(FullDevice, EverySettingsRowDiffersFromItsInitialValue)
{
    const CFullDevice full = MakeFullDevice();
    const CValueStore initial;
    for (const CItemRow& row : ItemTable()) {
        if (row.key == kBufferLengthKey || row.key.empty()) {
            continue;
        }
        const bool text = row.kind == ItemKind::Text;
        const bool same =
            text ? full.store.GetItemTextRaw(row.page, row.key) == initial.GetItemTextRaw(row.page, row.key)
                 : full.store.GetItemNumber(row.page, row.key) == initial.GetItemNumber(row.page, row.key);
        EXPECT_FALSE(same) << row.page << "/" << row.key << " has no record of its own in the store";
    }
    EXPECT_EQ(full.device.book.FaxMailEntries().size(), kMaxFaxMailEntries);
    EXPECT_EQ(full.device.book.ScanEntries().size(), kMaxScanEntries);
    EXPECT_EQ(full.device.book.Groups().size(), kMaxGroups);
    EXPECT_EQ(full.device.book.Favourites().size(), kMaxFavourites);
    EXPECT_EQ(full.device.book.Groups().front().members.size(), kMaxGroupMembers);
}

class FileRoundTrip : public testing::TestWithParam<bool>
{
};

TEST_P(FileRoundTrip, GivesTheDirectorySettingsAndBlocksBack)
{
    const bool deviceReportsOptions = GetParam();
    CFullDevice source = MakeFullDevice(deviceReportsOptions);
    const Bytes image = Encode(source);
    CFullDevice decoded;
    ASSERT_EQ(Decode(decoded, image), kOk);

    EXPECT_TRUE(SameBook(decoded.device.book, source.device.book));
    EXPECT_EQ(decoded.device.operationBlock, source.device.operationBlock);
    EXPECT_EQ(decoded.device.dialModeCode, source.device.dialModeCode);
    EXPECT_EQ(decoded.device.optionsBlock, source.device.optionsBlock);
    EXPECT_TRUE(decoded.device.tray2Installed && decoded.device.tray3Installed && decoded.device.duplexInstalled);
    EXPECT_TRUE(decoded.device.deviceFlag);

    const std::vector<CCarried> carried = CarriedRecords(image);
    for (const CCarried& c : carried) {
        if (c.number) {
            EXPECT_EQ(decoded.store.GetItemNumber(c.page, c.key), source.store.GetItemNumber(c.page, c.key))
                << c.page << "/" << c.key;
        }
        if (c.text) {
            EXPECT_EQ(decoded.store.GetItemTextRaw(c.page, c.key), source.store.GetItemTextRaw(c.page, c.key))
                << c.page << "/" << c.key;
        }
    }
    const std::vector<std::uint32_t> excluded = ExcludedSettingIds(source.device, source.store);
    EXPECT_EQ(excluded.empty(), deviceReportsOptions);
    for (const CItemRow& row : ItemTable()) {
        if (row.key == kBufferLengthKey || row.key.empty()) {
            continue;
        }
        const bool leftOut = std::find(excluded.begin(), excluded.end(), row.parameterId) != excluded.end();
        EXPECT_EQ(IsCarried(carried, row.page, row.key, row.kind == ItemKind::Text), !leftOut)
            << row.page << "/" << row.key;
    }
    const std::pair<std::string_view, std::string_view> composite[] = {
        {"USER_SET_DLG", "USER_TIME_YEAR"},
        {"USER_SET_DLG", "USER_TIME_MINUTES"},
        {"FAX_RX_SET_DLG", "FAX_RX_OPE_MEMORY_RX_MODD_PASS"},
        {"FAX_RX_SET_DLG", "FAX_RX_OPE_MEMORY_RX_MODD_OFF_M_TIME"},
        {"FORWARD_LOCATION_DLG", "FAX_RX_OPE_FAX_EMAIL_MODE"},
    };
    for (const auto& [page, key] : composite) {
        EXPECT_TRUE(IsCarried(carried, page, key, false)) << page << "/" << key;
    }
    EXPECT_TRUE(IsCarried(carried, "FORWARD_LOCATION_DLG", "FAX_RX_OPE_EMAIL_ADDRESS", true));
    EXPECT_FALSE(IsCarried(carried, "FORWARD_LOCATION_DLG", "FAX_RX_OPE_FAX_NUMBER", true));

    // The decoded device encodes to the very same bytes, number widths included.
    decoded.device.deviceHasTray2 = decoded.device.deviceHasTray3 = decoded.device.deviceHasDuplex =
        deviceReportsOptions;
    EXPECT_EQ(Encode(decoded), image);
}

INSTANTIATE_TEST_SUITE_P(DeviceOptions, FileRoundTrip, testing::Bool());

// --- Encoder edge cases ------------------------------------------------------------------------------

TEST(ImageEncoder, EmptyUploadWithoutServiceManHoldsOnlyTheDirectoryAndTheEndMarker)
{
    CFullDevice empty;
    const Bytes upload = Encode(empty, EncodeMode::Upload);
    EXPECT_EQ(upload.size(), 20u * 8 + 220 * 8 + 30 * 954 + 20 * 160 + 10);
    EXPECT_EQ(FindEntry(upload, kUploadEndId), (Bytes{0x01, 0x00}));
    EXPECT_FALSE(FindEntry(upload, 0x10006));
    EXPECT_FALSE(FindEntry(upload, kDeviceFlagId));

    const Bytes service = Encode(empty, EncodeMode::Upload, true);
    EXPECT_TRUE(FindEntry(service, 0x10006));
    EXPECT_EQ(FindEntry(service, kDeviceFlagId), Bytes{0});
    EXPECT_FALSE(FindEntry(service, kOptionsBlockId));
    EXPECT_FALSE(FindEntry(Encode(empty), kUploadEndId));
}

struct CExclusionCase
{
    bool device2, device3, deviceDuplex, data2, data3, dataDuplex;
    std::int32_t paperPriority;
    std::vector<std::uint32_t> leftOut;
};

class SettingsExclusion : public testing::TestWithParam<CExclusionCase>
{
};

TEST_P(SettingsExclusion, LeavesOutWhatTheDeviceOrTheDataLacks)
{
    const CExclusionCase& c = GetParam();
    CFullDevice full;
    full.device.deviceHasTray2 = c.device2;
    full.device.deviceHasTray3 = c.device3;
    full.device.deviceHasDuplex = c.deviceDuplex;
    full.device.tray2Installed = c.data2;
    full.device.tray3Installed = c.data3;
    full.device.duplexInstalled = c.dataDuplex;
    full.store.SetItemNumber("COPY_SET_DLG", "COPY1_PAPER_PRIORITY", c.paperPriority);
    const Bytes image = Encode(full);
    for (std::uint32_t id : {0x10700u, 0x1090Au, 0x1090Bu, 0x1090Eu, 0x10015u}) {
        const bool leftOut = std::find(c.leftOut.begin(), c.leftOut.end(), id) != c.leftOut.end();
        EXPECT_EQ(FindEntry(image, id).has_value(), !leftOut) << std::hex << id;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Presence,
    SettingsExclusion,
    testing::Values(
        CExclusionCase{false, false, false, false, false, false, 0, {0x10700, 0x1090A, 0x1090B, 0x1090E, 0x10015}},
        // Loaded data with every option, but no upload has asked the device yet.
        CExclusionCase{false, false, false, true, true, true, 0, {0x10700, 0x1090A, 0x1090B, 0x1090E, 0x10015}},
        CExclusionCase{true, false, false, true, false, false, 0, {0x1090B, 0x10015}},
        CExclusionCase{true, false, true, true, false, true, 2, {0x1090B, 0x10700}},
        CExclusionCase{true, true, false, true, true, true, 2, {0x10015}},
        CExclusionCase{true, true, true, true, false, true, 0, {0x1090B}},
        CExclusionCase{true, true, true, true, true, true, 2, {}}));

TEST(ImageEncoder, WritesFaxAndMailEntriesInTheDeviceLayout)
{
    CFullDevice full;
    CFaxMailEntry fax;
    fax.number = 7;
    fax.address.Assign("12*3");
    fax.faxSpeed = kFaxSpeed14400;
    full.device.book.PutFaxMailEntry(fax);
    fax.number = 8;
    fax.address.Assign("123");
    fax.batchHour = 17;
    fax.batchMinute = 19;
    full.device.book.PutFaxMailEntry(fax);
    CFaxMailEntry mail;
    mail.number = 9;
    mail.kind = kKindMail;
    mail.faxSpeed = 0;
    mail.setDate = 0x1234;
    mail.address.Assign("a@b.c");
    full.device.book.PutFaxMailEntry(mail);
    full.store.SetItemNumber("SCAN_SET_DLG", "SCANNER_CODING_METHOD", 2);

    const Bytes image = Encode(full);
    const Bytes e7 = *FindEntry(image, 0x12050 + 6);
    EXPECT_EQ(Bytes(e7.begin(), e7.begin() + 5), (Bytes{7, 0x80, 6, 4, 0}));
    EXPECT_EQ(Bytes(e7.begin() + 31, e7.begin() + 34), (Bytes{0x21, 0x3A, 0}));
    EXPECT_EQ(Bytes(e7.begin() + 26, e7.begin() + 29), (Bytes{kImageDate & 0xFF, kImageDate >> 8, 3}));
    EXPECT_EQ(Bytes(e7.begin() + 118, e7.end()), (Bytes{0xE0, 0xFF}));
    const Bytes e8 = *FindEntry(image, 0x12050 + 7);
    EXPECT_EQ(e8[2], 0x16);
    EXPECT_EQ(Bytes(e8.begin() + 31, e8.begin() + 33), (Bytes{0x21, 0x03}));
    EXPECT_EQ(Bytes(e8.begin() + 118, e8.end()), (Bytes{0x60, 0x8A}));
    const Bytes e9 = *FindEntry(image, 0x12050 + 8);
    EXPECT_EQ(Bytes(e9.begin() + 2, e9.begin() + 4), (Bytes{5, 5}));
    EXPECT_EQ(Bytes(e9.begin() + 26, e9.begin() + 37), (Bytes{0x34, 0x12, 0, 12, 1, 2, 'a', '@', 'b', '.', 'c'}));
    EXPECT_EQ(FindEntry(image, 0x12050 + 9), Bytes{});
}

TEST(ImageEncoder, WritesForwardingAsFaxDigitsOrMailAddress)
{
    CFullDevice full;
    full.store.SetItemNumber("FORWARD_LOCATION_DLG", "FAX_RX_OPE_FAX_EMAIL_MODE", 0);
    full.store.SetItemText("FORWARD_LOCATION_DLG", "FAX_RX_OPE_FAX_NUMBER", u"0123-456");
    const Bytes fax = *FindEntry(Encode(full), 0x10906);
    ASSERT_EQ(fax.size(), 72u);
    EXPECT_EQ(Bytes(fax.begin(), fax.begin() + 10), (Bytes{2, 8, 0, 0, 0, 0x10, 0x32, 0x4F, 0x65, 0}));

    full.store.SetItemNumber("FORWARD_LOCATION_DLG", "FAX_RX_OPE_FAX_EMAIL_MODE", 1);
    full.store.SetItemText("FORWARD_LOCATION_DLG", "FAX_RX_OPE_EMAIL_ADDRESS", u"a@b.c");
    const Bytes mail = *FindEntry(Encode(full), 0x10906);
    EXPECT_EQ(Bytes(mail.begin(), mail.begin() + 12), (Bytes{1, 5, 0, 12, 1, 0, 'a', '@', 'b', '.', 'c', 0}));
}

TEST(ImageEncoder, WritesTheMemoryReceptionPasswordAsFourDigits)
{
    CFullDevice full;
    full.store.SetItemNumber("FAX_RX_SET_DLG", "FAX_RX_OPE_MEMORY_RX_MODD_PASS", 7);
    full.store.SetItemNumber("FAX_RX_SET_DLG", "FAX_RX_OPE_MEMORY_RX_MODE", 0);
    const Bytes block = *FindEntry(Encode(full), 0x10901);
    EXPECT_EQ(block, (Bytes{0, 0, 0, 0, '0', '0', '0', '7', 0, 0, 0, 4}));
}

TEST(ImageEncoder, WritesNoGatewayAsAnEmptyEntryAnnouncedByALengthOfZero)
{
    CFullDevice full;
    full.store.SetItemNumber("TCP_IP_SET_DLG", "NETWORK_GATEWAY_1", -1);
    const Bytes image = Encode(full);
    EXPECT_EQ(FindEntry(image, 0x10207), Bytes{0});
    EXPECT_EQ(FindEntry(image, 0x10208), Bytes{});
    EXPECT_EQ(FindEntry(image, 0x10205), Bytes{4});
}

TEST(ImageEncoder, GroupWithoutMembersIsWrittenAbsentAndNotRecreated)
{
    CFullDevice full;
    full.device.book.SetGroupName(4, "Empty", kImageDate);
    const Bytes image = Encode(full);
    const Bytes group = *FindEntry(image, 0x12003);
    EXPECT_EQ(group.size(), 152u);
    EXPECT_EQ(Bytes(group.begin(), group.begin() + 4), (Bytes{4, 0, 0, 0}));
    CFullDevice decoded;
    ASSERT_EQ(Decode(decoded, image), kOk);
    EXPECT_TRUE(decoded.device.book.Groups().empty());
}

TEST(ImageEncoder, NumbersBeyondTheirFieldsEncodeWithoutOverflow)
{
    CFullDevice full;
    constexpr std::int32_t kHuge = std::numeric_limits<std::int32_t>::max();
    full.store.SetItemNumber("USER_SET_DLG", "USER_TIME_YEAR", kHuge);
    full.store.SetItemNumber("FAX_RX_SET_DLG", "FAX_RX_OPE_MEMORY_RX_MODE", 1);
    for (const char* key : {"FAX_RX_OPE_MEMORY_RX_MODD_ON_H_TIME",
                            "FAX_RX_OPE_MEMORY_RX_MODD_ON_M_TIME",
                            "FAX_RX_OPE_MEMORY_RX_MODD_OFF_H_TIME",
                            "FAX_RX_OPE_MEMORY_RX_MODD_OFF_M_TIME"}) {
        full.store.SetItemNumber("FAX_RX_SET_DLG", key, kHuge);
    }
    CFaxMailEntry fax;
    fax.number = 1;
    fax.batchHour = kHuge;
    fax.batchMinute = kHuge;
    full.device.book.PutFaxMailEntry(fax);
    const Bytes image = Encode(full);
    EXPECT_EQ(FindEntry(image, 0x10608)->size(), 7u);
    EXPECT_EQ(FindEntry(image, 0x10901)->at(10), 0xC0);
    EXPECT_EQ(FindEntry(image, 0x12050)->at(2), 0x16);
}

// --- Decoder edge cases ------------------------------------------------------------------------------

TEST(DialDigits, PackAndUnpackTwoSymbolsPerByte)
{
    EXPECT_EQ(UnpackDialDigits(Bytes{0x21, 0xA3}, 3), "123");
    EXPECT_EQ(UnpackDialDigits(Bytes{0x21, 0xA3}, 4), "123*");
    EXPECT_EQ(UnpackDialDigits(Bytes{0xBA, 0xDC, 0xEF}, 6), "*#P -?");
    EXPECT_EQ(UnpackDialDigits(Bytes{0x21}, 9), "12");
    EXPECT_EQ(PackDialDigits("12*3"), (Bytes{0x21, 0x3A}));
    EXPECT_EQ(PackDialDigits("123"), (Bytes{0x21, 0x03}));
    EXPECT_EQ(PackDialDigits("#P -x"), (Bytes{0xCB, 0xFD, 0x00}));
}

TEST(ImageDecoder, ReadsTheBatchTimeOnlyWhenItsFlagIsSet)
{
    const auto fax = [](std::uint8_t number, std::uint8_t flags, std::uint8_t speed) {
        return EntryBytes(120, {{0, {number, 0x80, flags, 3}}, {28, {speed}}, {31, {0x21, 0x03}}, {118, {0x60, 0x8A}}});
    };
    CFullDevice full;
    ASSERT_EQ(Decode(full,
                     Image({{0x12050, fax(1, 0x16, 2)},
                            {0x12051, fax(2, 0x06, 3)},
                            {0x12052, fax(3, 0x06, 4)},
                            {0x12053, fax(4, 0x06, 9)}})),
              kOk);
    const auto& entries = full.device.book.FaxMailEntries();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(std::make_tuple(entries[0].batchHour, entries[0].batchMinute), std::make_tuple(17, 19));
    EXPECT_EQ(std::make_tuple(entries[1].batchHour, entries[1].batchMinute), std::make_tuple(-1, -1));
    EXPECT_EQ(entries[0].address.View(), "123");
    const std::int32_t speeds[] = {kFaxSpeed9600, kFaxSpeed14400, kFaxSpeed33600, kFaxSpeedNotSet};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(entries[i].faxSpeed, speeds[i]);
    }
}

TEST(ImageDecoder, AddsAFavouriteOnlyForAValueOfAtLeast256)
{
    CFullDevice full;
    ASSERT_EQ(Decode(full, Image({{0x13000, {0x01, 0x05}}, {0x13001, {0x05, 0x00}}, {0x13002, {0x07}}})), kOk);
    ASSERT_EQ(full.device.book.Favourites().size(), 1u);
    EXPECT_TRUE(full.device.book.Favourites()[0] == (CFavourite{1, 1, 5}));
}

TEST(ImageDecoder, ReadsEmptyAddressesAsZeroAndNoGatewayAsMinusOne)
{
    CFullDevice full = MakeFullDevice();
    ASSERT_EQ(Decode(full, Image({{0x10204, {}}, {0x10208, {}}})), kOk);
    for (int part = 1; part <= 4; ++part) {
        const std::string digit = std::to_string(part);
        EXPECT_EQ(full.store.GetItemNumber("TCP_IP_SET_DLG", std::string("NETWORK_IP_ADD_") + digit), 0);
        EXPECT_EQ(full.store.GetItemNumber("TCP_IP_SET_DLG", std::string("NETWORK_GATEWAY_") + digit),
                  part == 1 ? -1 : 0);
    }
}

TEST(ImageDecoder, ImageOfSizeZeroChangesNothing)
{
    CFullDevice full = MakeFullDevice();
    const CFullDevice before = MakeFullDevice();
    EXPECT_EQ(Decode(full, {}), kOk);
    EXPECT_TRUE(SameDevice(full, before));
}

class MalformedImage : public testing::TestWithParam<Bytes>
{
};

TEST_P(MalformedImage, IsRefusedBeforeAnythingChanges)
{
    // A well-formed start that would change the directory, a setting and the information rows.
    Bytes image = Image({{0x12050, EntryBytes(120, {{0, {7, 0x80, 6, 1}}, {31, {0x09}}})},
                         {0x10006, {11}},
                         {0x1024E, {1, 2, 3, 4, 5, 6}},
                         {0x21002, Repeat(65, 3)}});
    image.insert(image.end(), GetParam().begin(), GetParam().end());
    CFullDevice full = MakeFullDevice();
    full.device.book.DeleteFaxMailEntry(7);
    CFullDevice before = MakeFullDevice();
    before.device.book.DeleteFaxMailEntry(7);
    EXPECT_EQ(Decode(full, image), kMsgMalformedImage);
    EXPECT_TRUE(SameDevice(full, before));
}

INSTANTIATE_TEST_SUITE_P(Damage,
                         MalformedImage,
                         testing::Values(Bytes{0x00, 0x90, 0x01, 0x00, 0x10, 0x00, 0x00, 0x00, 0xAA},
                                         Bytes{0x00, 0x90, 0x01, 0x00, 0xFF, 0xFF, 0xFF, 0xFF},
                                         Bytes{0x00, 0x90, 0x01, 0x00, 0x01},
                                         Bytes{0x00}));

TEST(ImageDecoder, SkipsNumbersOutOfRangeAndRepeatedOnes)
{
    const auto fax = [](std::uint16_t number, std::uint8_t name) {
        return EntryBytes(
            120,
            {{0, {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8), 6, 1, 1}}, {5, {name}}});
    };
    const auto scan = [](std::uint8_t number) { return EntryBytes(946, {{0, {number, 0, 1}}}); };
    const auto group = [](std::uint16_t number) {
        return EntryBytes(
            152,
            {{0, {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8), 0x80, 1}}, {30, {4, 5}}});
    };
    CFullDevice full;
    const Bytes image = Image({{0x12050, fax(5, 'A')},
                               {0x12051, fax(5, 'B')},
                               {0x12052, fax(221, 'C')},
                               {0x12053, fax(0xFFFF, 'D')},
                               {0x12054, fax(0x80DC, 'E')},
                               {0x1212C, scan(230)},
                               {0x1212D, scan(230)},
                               {0x1212E, scan(220)},
                               {0x1212F, scan(251)},
                               {0x12000, group(3)},
                               {0x12001, group(3)},
                               {0x12002, group(21)},
                               {0x13000, {1, 5}},
                               {0x13000, {0, 3}},
                               {0x13014, {1, 6}}});
    ASSERT_EQ(Decode(full, image), kOk);
    const CAddressBook& book = full.device.book;
    ASSERT_EQ(book.FaxMailEntries().size(), 2u);
    EXPECT_EQ(book.FaxMailEntries()[0].name.View(), "A");
    EXPECT_EQ(book.FaxMailEntries()[1].number, 220);
    ASSERT_EQ(book.ScanEntries().size(), 1u);
    EXPECT_EQ(book.ScanEntries()[0].number, 230);
    ASSERT_EQ(book.Groups().size(), 1u);
    EXPECT_EQ(book.Groups()[0].members, std::vector<std::int32_t>{5});
    ASSERT_EQ(book.Favourites().size(), 1u);
    EXPECT_TRUE(book.Favourites()[0] == (CFavourite{1, 1, 5}));
}

TEST(ImageDecoder, CutsLengthsAndCountsToTheirFields)
{
    Bytes members;
    for (std::uint8_t m = 1; m <= 61; ++m) {
        members.insert(members.end(), {4, m});
    }
    const Bytes image = Image({
        {0x12050, EntryBytes(120, {{0, {1, 0x80, 6, 200, 200}}, {5, Repeat(21, 'N')}, {31, Repeat(87, 0x99)}})},
        {0x12051, EntryBytes(120, {{0, {2, 0x80, 5, 200, 255}}, {5, Repeat(21, 'M')}, {32, Repeat(86, 'x')}})},
        {0x12000, EntryBytes(152, {{0, {3, 0, 0x80, 255, 0, 255}}, {6, Repeat(24, 'G')}, {30, members}})},
        {0x1212C,
         EntryBytes(946,
                    {{0, {230, 0, 1, 1, 255}},
                     {5, Repeat(20, 'S')},
                     {25, {255}},
                     {26, Repeat(64, 'h')},
                     {90, {200}},
                     {91, Repeat(128, 'd')},
                     {219, Repeat(725, 'z')}})},
        {0x10012, Repeat(2000, 't')},
        {0x10607, Repeat(2000, 'u')},
        {0x10200, {0x15, 0xCD, 0x5B, 0x07, 0x99, 0x99}},
    });
    CFullDevice full;
    ASSERT_EQ(Decode(full, image), kOk);
    const CAddressBook& book = full.device.book;
    ASSERT_EQ(book.FaxMailEntries().size(), 2u);
    EXPECT_EQ(book.FaxMailEntries()[0].name.View(), std::string(20, 'N'));
    EXPECT_EQ(book.FaxMailEntries()[0].address.View(), std::string(64, '9'));
    EXPECT_EQ(book.FaxMailEntries()[1].address.View(), std::string(64, 'x'));
    ASSERT_EQ(book.Groups().size(), 1u);
    EXPECT_EQ(book.Groups()[0].name.View(), std::string(20, 'G'));
    ASSERT_EQ(book.Groups()[0].members.size(), kMaxGroupMembers);
    EXPECT_EQ(book.Groups()[0].members.back(), 50);
    ASSERT_EQ(book.ScanEntries().size(), 1u);
    const CScanEntry& scan = book.ScanEntries()[0];
    EXPECT_EQ(scan.name.View(), std::string(20, 'S'));
    EXPECT_EQ(scan.serverAddress, std::u16string(64, u'h'));
    EXPECT_EQ(scan.directory, std::u16string(128, u'd'));
    EXPECT_EQ(scan.userName.size(), 20u);
    EXPECT_EQ(scan.notificationAddresses[9].size(), 64u);
    EXPECT_EQ(full.store.GetItemTextRaw("MACHINE_SET_DLG", "MACHINE_ADMIN_NAME_EDT"), std::string(1023, 't'));
    // Its length travels in one byte: the user name keeps what that byte can announce.
    EXPECT_EQ(full.store.GetItemTextRaw("USER_SET_DLG", "USER_NAME"), std::string(255, 'u'));
    EXPECT_EQ(full.store.GetItemNumber("ADMINSTRATOR_NO_DLG", "ADMINSTRATOR_NO"), 123456789);
}

struct CInfoCase
{
    std::uint32_t id;
    Bytes data;
    std::u16string text;
};

class DeviceInformation : public testing::TestWithParam<CInfoCase>
{
};

TEST_P(DeviceInformation, FormatsTheRowOfItsId)
{
    const CInfoCase& c = GetParam();
    CFullDevice full;
    ASSERT_EQ(Decode(full, Image({{c.id, c.data}})), kOk);
    const auto rows = DeviceInfoRows();
    const auto row =
        std::find_if(rows.begin(), rows.end(), [&](const CDeviceInfoRow& r) { return r.parameterId == c.id; });
    ASSERT_NE(row, rows.end());
    EXPECT_EQ(full.device.deviceInfo[static_cast<std::size_t>(row - rows.begin())], c.text);
}

INSTANTIATE_TEST_SUITE_P(Rows,
                         DeviceInformation,
                         testing::Values(CInfoCase{0x1024E, {0x00, 0x20, 0x6B, 0x1A, 0x2B, 0x3C}, u"00:20:6b:1a:2b:3c"},
                                         CInfoCase{0x20907, {0x00, 0x01}, u"256 [STR_MIC_TXT_MB]"},
                                         CInfoCase{0x20909, {0}, u"[STR_MITC_TXT_TRAY_1]"},
                                         CInfoCase{0x20909, {1}, u"[STR_MITC_TXT_TRAY_2]"},
                                         CInfoCase{0x20909, {2}, u"[STR_MITC_TXT_TRAY_3]"},
                                         CInfoCase{0x20909, {3}, u""},
                                         CInfoCase{0x20710, {1}, u"[STR_MIC_TXT_WASTE_TONER_BOTTLE_NEAR_FULL]"},
                                         CInfoCase{0x20710, {2}, u"[STR_MIC_TXT_WASTE_TONER_BOTTLE_NEAR_FULL]"},
                                         CInfoCase{0x20710, {3}, u"[STR_MIC_TXT_WASTE_TONER_BOTTLE_READY]"},
                                         CInfoCase{0x20703, {80}, u"80 %"},
                                         CInfoCase{0x20905, {'V', '1', '.', '2', 0, 'x'}, u"V1.2"}));

TEST(ImageDecoder, FillsTheFirstCounterSlotOfAnIdOnly)
{
    CFullDevice full;
    ASSERT_EQ(Decode(full, Image({{0x2050E, {0x10, 0x27}}, {0x20500, {1, 2, 3, 4}}, {0x20530, {9}}})), kOk);
    std::array<std::uint32_t, kCounterSlots> expected{};
    expected[2] = 0x04030201;
    expected[22] = 10000;
    EXPECT_EQ(full.device.counters, expected);
}

TEST(ImageDecoder, KeepsOnlyAnOptionsBlockOfSixtyFiveBytes)
{
    CFullDevice full;
    Bytes options = Repeat(65, 0);
    options[1] = 2;
    ASSERT_EQ(Decode(full, Image({{0x21002, Repeat(64, 3)}, {0x20014, {0}}})), kOk);
    EXPECT_FALSE(full.device.optionsBlock);
    ASSERT_EQ(Decode(full, Image({{0x21002, options}, {0x20014, {2}}})), kOk);
    EXPECT_TRUE(full.device.optionsBlock && full.device.tray2Installed && full.device.deviceFlag);
    EXPECT_FALSE(full.device.tray3Installed || full.device.duplexInstalled);
}

TEST(ImageDecoder, ReadsTheMemoryReceptionBlock)
{
    CFullDevice full;
    const Bytes block = {0, 0, 0xE0, 0xB1, '0', '0', '0', '7', 0xA0, 0x30, 0xC0, 4};
    ASSERT_EQ(Decode(full, Image({{0x10901, block}})), kOk);
    const auto number = [&](std::string_view key) { return full.store.GetItemNumber("FAX_RX_SET_DLG", key); };
    EXPECT_EQ(number("FAX_RX_OPE_MEMORY_RX_MODD_PASS"), 7);
    EXPECT_EQ(number("FAX_RX_OPE_MEMORY_RX_MODD_ON_H_TIME"), 22);
    EXPECT_EQ(number("FAX_RX_OPE_MEMORY_RX_MODD_ON_M_TIME"), 15);
    EXPECT_EQ(number("FAX_RX_OPE_MEMORY_RX_MODD_OFF_H_TIME"), 6);
    EXPECT_EQ(number("FAX_RX_OPE_MEMORY_RX_MODD_OFF_M_TIME"), 5);
    ASSERT_EQ(Decode(full, Image({{0x10901, Repeat(12, 0)}})), kOk);
    EXPECT_EQ(number("FAX_RX_OPE_MEMORY_RX_MODD_PASS"), -1);
    EXPECT_EQ(number("FAX_RX_OPE_MEMORY_RX_MODD_ON_H_TIME"), -1);
}

} // namespace
} // namespace qzb
