#include "addressbook/group_label.h"

#include "base/text_format.h"
#include "model/panel_code.h"
#include "model/text_codec.h"

namespace qzb {

std::u16string DefaultGroupLabel(std::u16string_view labelFormat, std::int32_t number)
{
    return FormatNumberText(labelFormat, number);
}

std::u16string GroupDisplayLabel(const CGroupEntry* group,
                                 std::int32_t number,
                                 std::u16string_view labelFormat,
                                 std::int32_t panelLanguage)
{
    if (!group || group->name.Empty()) {
        return DefaultGroupLabel(labelFormat, number);
    }
    const std::u16string ansi = ProcessCodePage().Decode(group->name.View());
    for (std::int32_t n = kFirstGroupNumber; n <= kLastGroupNumber; ++n) {
        if (ansi == DefaultGroupLabel(labelFormat, n)) {
            return ansi;
        }
    }
    return PanelBytesToText(group->name.View(), panelLanguage);
}

} // namespace qzb
