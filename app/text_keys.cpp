#include "app/text_keys.h"

#include "addressbook/contacts_import.h"
#include "addressbook/csv_exchange.h"

#include "addressbook/group_label.h"
#include "app/language_class.h"
#include "app/message_catalogue.h"
#include "machine/image_decoder.h"
#include "model/device_info_tables.h"

#include <algorithm>
#include <string_view>

namespace qzb {

namespace {

// Keys of the main window and the frame's dialogs that no table below names.
constexpr std::string_view kFrameKeys[] = {
    "STR_RATIO_DLG_MAIN",
    "STR_RATIO_DLG_VERSION",
    "STR_RATIO_DLG_SELECT_PRINT_ITEMS",
    "STR_RATIO_DLG_SM_CHANGE_PASSWORD",
    "STR_RATIO_DLG_CHANGE_SERVISMAM_MODE",
};

constexpr std::string_view kDeviceInfoLabelPrefix = "STR_MIC_TXT_";

} // namespace

std::vector<std::string> RequiredTextKeys()
{
    std::vector<std::string> keys(std::begin(kFrameKeys), std::end(kFrameKeys));
    keys.emplace_back(kCaptionKey);
    keys.emplace_back(kServicemanCaptionKey);
    keys.emplace_back(kLanguageProbeKey);
    keys.emplace_back(kGroupLabelKey);
    for (const CMessageEntry& entry : MessageCatalogue()) {
        keys.emplace_back(entry.key);
    }
    for (const CDeviceInfoRow& row : DeviceInfoRows()) {
        keys.push_back(std::string(kDeviceInfoLabelPrefix) + std::string(row.label));
    }
    keys.emplace_back(kMemoryUnitKey);
    keys.insert(keys.end(), std::begin(kPaperSourceKeys), std::end(kPaperSourceKeys));
    for (const CsvNoteReason reason : kCsvNoteReasons) {
        keys.emplace_back(CsvNoteTextKey(reason));
    }
    keys.emplace_back("STR_MSG_CSV_IMPORT_NOTES");
    keys.emplace_back("STR_MSG_CSV_EXPORT_NOTES");
    keys.emplace_back("STR_CSV_NOTE_LINE");
    keys.emplace_back("STR_MSG_CSV_READ_COUNTS");
    for (const std::string_view key : CsvCountTextKeys()) {
        keys.emplace_back(key);
    }
    for (std::string& key : ContactsTextKeys()) {
        keys.push_back(std::move(key));
    }
    keys.emplace_back(kWasteTonerNearFullKey);
    keys.emplace_back(kWasteTonerReadyKey);
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

} // namespace qzb
