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

CRecordRef CValueStore::FindRecord(std::string_view page, std::string_view key) const
{
    if (key.empty()) {
        return {};
    }
    for (std::size_t p = 0; p < m_pages.size(); ++p) {
        if (m_pages[p].name != page) {
            continue;
        }
        const std::vector<CValueRecord>& records = m_pages[p].records;
        for (std::size_t r = 0; r < records.size(); ++r) {
            if (records[r].key == key) {
                return {static_cast<std::uint16_t>(p), static_cast<std::uint16_t>(r)};
            }
        }
        return {};
    }
    return {};
}

const CValueRecord* CValueStore::Record(CRecordRef ref) const
{
    if (!ref.Valid() || ref.page >= m_pages.size() || ref.record >= m_pages[ref.page].records.size()) {
        return nullptr;
    }
    return &m_pages[ref.page].records[ref.record];
}

CValueRecord* CValueStore::Record(CRecordRef ref)
{
    return const_cast<CValueRecord*>(std::as_const(*this).Record(ref));
}

const CValueRecord* CValueStore::Find(std::string_view page, std::string_view key) const
{
    return Record(FindRecord(page, key));
}

std::int32_t CValueStore::Number(CRecordRef ref) const
{
    const CValueRecord* record = Record(ref);
    return record ? record->number : 0;
}

void CValueStore::SetNumber(CRecordRef ref, std::int32_t number)
{
    if (CValueRecord* record = Record(ref)) {
        record->number = number;
    }
}

const std::string& CValueStore::RawText(CRecordRef ref) const
{
    static const std::string empty;
    const CValueRecord* record = Record(ref);
    return record ? record->text : empty;
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
    SetText(FindRecord(page, key), text);
}

void CValueStore::SetText(CRecordRef ref, std::u16string_view text)
{
    if (CValueRecord* record = Record(ref)) {
        record->text = ProcessCodePage().EncodeLimited(text, kMaxTextBytes);
        // A converted NUL would end the stored text.
        if (const auto nul = record->text.find('\0'); nul != std::string::npos) {
            record->text.resize(nul);
        }
    }
}

void CValueStore::SetItemTextRaw(std::string_view page, std::string_view key, std::string_view bytes)
{
    SetTextRaw(FindRecord(page, key), bytes);
}

void CValueStore::SetTextRaw(CRecordRef ref, std::string_view bytes)
{
    if (CValueRecord* record = Record(ref)) {
        bytes = bytes.substr(0, bytes.find('\0'));
        record->text.assign(bytes.substr(0, kMaxTextBytes));
    }
}

} // namespace qzb
