#include "model/item_records.h"

#include "model/item_table.h"

#include <string>
#include <vector>

namespace qzb {

std::span<const CItemRecords> ItemRecords()
{
    static const std::vector<CItemRecords> records = [] {
        const CValueStore layout;
        std::vector<CItemRecords> rows;
        rows.reserve(kItemTableRows);
        for (const CItemRow& row : ItemTable()) {
            CItemRecords entry;
            if (row.kind == ItemKind::Address) {
                const std::string stem(row.key.substr(0, row.key.size() - 1));
                for (std::size_t part = 0; part < entry.parts.size(); ++part) {
                    entry.parts[part] = layout.FindRecord(row.page, stem + std::to_string(part + 1));
                }
                entry.record = entry.parts[0];
            } else if (row.key != kBufferLengthKey) {
                entry.record = layout.FindRecord(row.page, row.key);
            }
            rows.push_back(entry);
        }
        return rows;
    }();
    return records;
}

} // namespace qzb
