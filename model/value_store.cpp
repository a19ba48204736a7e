#include "model/value_store.h"

#include "model/text_codec.h"
#include "model/value_store_table.h"

#include <utility>

namespace qzb {

CValueStore::CValueStore()
{
    Reset();
}

void CValueStore::Reset()
{
    m_pages.clear();
    for (const CInitialPage& page : InitialValueStorePages()) {
        CValuePage& list = m_pages.emplace_back();
        list.name = page.name;
        list.records.reserve(page.values.size());
        for (const CInitialValue& value : page.values) {
            list.records.push_back({std::string(value.key), std::string(value.text), value.number});
        }
    }
}

const std::vector<CValueRecord>* CValueStore::FindPageRecords(std::string_view page) const
{
    for (const CValuePage& list : m_pages) {
        if (list.name == page) {
            return &list.records;
        }
    }
    return nullptr;
}

const CValueRecord* CValueStore::Find(std::string_view page, std::string_view key) const
{
    const std::vector<CValueRecord>* records = FindPageRecords(page);
    if (!records || key.empty()) {
        return nullptr;
    }
    for (const CValueRecord& record : *records) {
        if (record.key == key) {
            return &record;
        }
    }
    return nullptr;
}

CValueRecord* CValueStore::Find(std::string_view page, std::string_view key)
{
    return const_cast<CValueRecord*>(std::as_const(*this).Find(page, key));
}

std::int32_t CValueStore::GetItemNumber(std::string_view page, std::string_view key) const
{
    const CValueRecord* record = Find(page, key);
    return record ? record->number : 0;
}

void CValueStore::SetItemNumber(std::string_view page, std::string_view key, std::int32_t number)
{
    if (CValueRecord* record = Find(page, key)) {
        record->number = number;
    }
}

std::u16string CValueStore::GetItemText(std::string_view page, std::string_view key) const
{
    const CValueRecord* record = Find(page, key);
    return record ? ProcessCodePage().Decode(record->text) : std::u16string();
}

std::string CValueStore::GetItemTextRaw(std::string_view page, std::string_view key) const
{
    const CValueRecord* record = Find(page, key);
    return record ? record->text : std::string();
}

void CValueStore::SetItemText(std::string_view page, std::string_view key, std::u16string_view text)
{
    if (CValueRecord* record = Find(page, key)) {
        record->text = ProcessCodePage().EncodeLimited(text, kMaxTextBytes);
        // A converted NUL would end the stored text.
        if (const auto nul = record->text.find('\0'); nul != std::string::npos) {
            record->text.resize(nul);
        }
    }
}

void CValueStore::SetItemTextRaw(std::string_view page, std::string_view key, std::string_view bytes)
{
    if (CValueRecord* record = Find(page, key)) {
        bytes = bytes.substr(0, bytes.find('\0'));
        record->text.assign(bytes.substr(0, kMaxTextBytes));
    }
}

} // namespace qzb
