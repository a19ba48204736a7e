#pragma once

// A device whose directory is full to the last slot and whose every setting differs from its
// initial value: the common ground of the image codec tests, the fuzz seeds and the benchmarks.

#include "addressbook/address_book.h"
#include "base/operation_block.h"
#include "machine/device_data.h"
#include "model/item_table.h"
#include "model/panel_code.h"
#include "model/value_store.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qzb {

// 14 March 2026 as a packed set date.
inline constexpr std::uint16_t kFullDeviceDate = (26 << 9) | (3 << 5) | 14;
// Czech: the panel byte 0xDB reads as U+0110 here, as U+00D0 under the initial language.
inline constexpr std::int32_t kFullDeviceLanguage = 7;

struct CFullDevice
{
    CValueStore store;
    CDeviceData device;
};

inline std::u16string Ascii16(std::string_view text)
{
    return std::u16string(text.begin(), text.end());
}

// Text of exactly `length` units, the number first, then letters and a few characters that need
// the panel language.
inline std::u16string FilledText(std::int32_t number, std::size_t length)
{
    std::u16string text = Ascii16(std::to_string(number)) + u"\u0110\u20ACabcdefghijklmnopqrstuvwxyz";
    while (text.size() < length) {
        text += text;
    }
    return text.substr(0, length);
}

inline std::uint16_t FullDeviceDate(std::int32_t number)
{
    return static_cast<std::uint16_t>((kFullDeviceDate & ~0x1F) | (1 + number % 28));
}

// Odd speed dials are fax numbers, even ones e-mail addresses; groups of odd number hold faxes.
inline void FillFullAddressBook(CAddressBook& book)
{
    constexpr std::string_view kSymbols = "0123456789*#P -";
    for (std::int32_t n = kFirstFaxMailNumber; n <= kLastFaxMailNumber; ++n) {
        CFaxMailEntry entry;
        entry.number = n;
        entry.kind = n % 2 ? kKindFax : kKindMail;
        entry.name.Assign(TextToPanelBytes(FilledText(n, 20), static_cast<std::size_t>(n % 21)));
        entry.setDate = FullDeviceDate(n);
        if (entry.kind == kKindFax) {
            std::string digits;
            for (std::size_t i = 0; i < 1 + static_cast<std::size_t>(n * 7) % 64; ++i) {
                digits.push_back(kSymbols[(static_cast<std::size_t>(n) + i) % kSymbols.size()]);
            }
            entry.address.Assign(digits);
            entry.faxSpeed = n % 4;
            entry.batchHour = n % 3 == 0 ? n % 24 : -1;
            entry.batchMinute = n % 3 == 0 ? n % 60 : -1;
        } else {
            std::string address = std::to_string(n) + "@example.test";
            if (n == 2) {
                address.insert(0, 64 - address.size(), 'x');
            }
            entry.address.Assign(address);
            entry.faxSpeed = 0;
        }
        book.PutFaxMailEntry(entry);
    }
    for (std::int32_t n = kFirstScanNumber; n <= kLastScanNumber; ++n) {
        const bool longest = n == kFirstScanNumber;
        CScanEntry entry;
        entry.number = n;
        entry.protocol = n % 2 ? kProtocolFtp : kProtocolSmb;
        entry.useProxy = n % 2;
        entry.port = 1000 + n * 200;
        entry.fileSize = 1 + n % 10;
        entry.colourMode = n % 2;
        entry.resolution = n % 3;
        entry.scanMode = (n + 1) % 3;
        entry.fileFormat = (n + 2) % 3;
        entry.codingMethod = n % 3;
        entry.scanArea = n % 6;
        entry.mailNotification = (n / 2) % 2;
        entry.account = (n / 3) % 2 ? kAccountPrivateSite : kAccountAnonymous;
        entry.serverAddress = FilledText(n, longest ? 64 : 12);
        entry.directory = FilledText(n, longest ? 128 : 9);
        entry.userName = FilledText(n, longest ? 20 : 5);
        entry.password = FilledText(n + 1, longest ? 20 : 6);
        for (std::size_t i = 0; i < kNotificationAddressCount; ++i) {
            entry.notificationAddresses[i] = longest ? FilledText(n, 64) : Ascii16(std::to_string(i) + "@x.test");
        }
        entry.setDate = FullDeviceDate(n);
        entry.name.Assign(TextToPanelBytes(FilledText(n, 20), static_cast<std::size_t>(n % 21)));
        book.PutScanEntry(entry);
    }
    for (std::int32_t g = kFirstGroupNumber; g <= kLastGroupNumber; ++g) {
        CGroupEntry group;
        group.number = g;
        group.kind = g % 2 ? kKindFax : kKindMail;
        const std::size_t count = g == 1 ? kMaxGroupMembers : 1 + static_cast<std::size_t>(g) % 7;
        for (std::size_t i = 0; i < count; ++i) {
            // Members of this group's kind, spread over the whole range.
            const auto step = static_cast<std::int32_t>((g * 7 + static_cast<std::int32_t>(i) * 2 * 13) % 110);
            group.members.push_back(2 * step + (group.kind == kKindFax ? 1 : 2));
        }
        group.setDate = FullDeviceDate(g);
        group.name.Assign(TextToPanelBytes(FilledText(g, 20), g == kLastGroupNumber ? 0 : 20));
        book.PutGroup(group);
    }
    for (std::int32_t slot = kFirstFavouriteNumber; slot <= kLastFavouriteNumber; ++slot) {
        if (slot % 2) {
            book.AddFavourite(slot, kTargetGroup, slot);
        } else {
            book.AddFavourite(slot, kTargetSpeedDial, slot <= 10 ? slot : 220 + slot);
        }
    }
}

// Gives every settings row a value other than its initial one, in a width every row can carry.
inline void FillEverySetting(CValueStore& store, CDeviceData& device)
{
    const auto table = ItemTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const CItemRow& row = table[i];
        if (row.key == kBufferLengthKey || row.key.empty()) {
            continue;
        }
        const auto index = static_cast<std::int32_t>(i);
        switch (row.kind) {
            case ItemKind::Number: {
                const std::int32_t initial = store.GetItemNumber(row.page, row.key);
                store.SetItemNumber(row.page, row.key, ((initial + 1 + index % 50) % 256 + 256) % 256);
                break;
            }
            case ItemKind::Text:
                if (row.key == "USER_NAME") {
                    store.SetItemTextRaw(row.page, row.key, TextToPanelBytes(u"Bob \u0110\u20AC"));
                } else if (row.key.starts_with("SNMP_")) {
                    store.SetItemText(row.page, row.key, u"community-15-by");
                } else {
                    store.SetItemText(row.page, row.key, Ascii16(std::to_string(index)) + u" text \u00E9");
                }
                break;
            case ItemKind::Address: {
                const std::string stem(row.key.substr(0, row.key.size() - 1));
                for (std::int32_t part = 1; part <= 4; ++part) {
                    store.SetItemNumber(row.page, stem + std::to_string(part), 10 * part + index % 100);
                }
                break;
            }
            case ItemKind::Composite:
                break;
        }
    }
    store.SetItemNumber(kPanelLanguagePage, kPanelLanguageKey, kFullDeviceLanguage);
    store.SetItemNumber("ADMINSTRATOR_NO_DLG", "ADMINSTRATOR_NO", 123456789);
    store.SetItemNumber("FTP_SET_DLG", "FTP_PROXY_PORT_NUMBER", 8080);
    store.SetItemNumber("EMAIL_SET_DLG", "EMAIL_SMTP_PORT_NO", 587);

    constexpr std::string_view kUser = "USER_SET_DLG";
    store.SetItemNumber(kUser, "USER_TIME_YEAR", 31);
    store.SetItemNumber(kUser, "USER_TIME_MOUTH", 11);
    store.SetItemNumber(kUser, "USER_TIME_DAY", 28);
    store.SetItemNumber(kUser, "USER_TIME_HOUR", 23);
    store.SetItemNumber(kUser, "USER_TIME_MINUTES", 59);

    constexpr std::string_view kReception = "FAX_RX_SET_DLG";
    store.SetItemNumber(kReception, "FAX_RX_OPE_MEMORY_RX_MODE", 1);
    store.SetItemNumber(kReception, "FAX_RX_OPE_MEMORY_RX_MODD_PASS", 4711);
    store.SetItemNumber(kReception, "FAX_RX_OPE_MEMORY_RX_MODD_ON_H_TIME", 22);
    store.SetItemNumber(kReception, "FAX_RX_OPE_MEMORY_RX_MODD_ON_M_TIME", 15);
    store.SetItemNumber(kReception, "FAX_RX_OPE_MEMORY_RX_MODD_OFF_H_TIME", 6);
    store.SetItemNumber(kReception, "FAX_RX_OPE_MEMORY_RX_MODD_OFF_M_TIME", 45);

    constexpr std::string_view kForward = "FORWARD_LOCATION_DLG";
    store.SetItemNumber(kForward, "FAX_RX_OPE_FAX_EMAIL_MODE", 1);
    store.SetItemText(kForward, "FAX_RX_OPE_EMAIL_ADDRESS", u"forward@example.test");

    for (std::size_t i = 0; i < device.operationBlock.size(); ++i) {
        device.operationBlock[i] = static_cast<std::uint8_t>(device.operationBlock[i] ^ (0x11 * (i % 7 + 1)));
    }
    device.dialModeCode =
        DialModeCode(device.operationBlock, store.GetItemNumber("COMMUNICATE_SET_DLG", "COMM_SET_PULSE"));
    COptionsBlock options{};
    for (std::size_t i = 0; i < options.size(); ++i) {
        options[i] = static_cast<std::uint8_t>(0xA0 + i);
    }
    options[1] = 3; // two lower trays
    options[4] = 1; // duplex unit
    device.optionsBlock = options;
    device.tray2Installed = true;
    device.tray3Installed = true;
    device.duplexInstalled = true;
    device.deviceFlag = true;
}

// The full device; with deviceReportsOptions the device itself has reported both trays and the
// duplex unit, so that no setting is left out of an image.
inline CFullDevice MakeFullDevice(bool deviceReportsOptions = true)
{
    CFullDevice full;
    FillFullAddressBook(full.device.book);
    FillEverySetting(full.store, full.device);
    full.device.deviceHasTray2 = deviceReportsOptions;
    full.device.deviceHasTray3 = deviceReportsOptions;
    full.device.deviceHasDuplex = deviceReportsOptions;
    return full;
}

} // namespace qzb
