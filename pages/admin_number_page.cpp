#include "pages/admin_number_page.h"

namespace qzb {

namespace {

constexpr CControlDef kControls[] = {
    {.id = 2192, .kind = ControlKind::Label, .name = "adminNumberLabel", .textKey = "STR_AM_TXT_ADMINISTRATOR_NO"},
    {.id = kAdminNumberEditId,
     .kind = ControlKind::Edit,
     .name = "adminNumberEdit",
     .binding = Binding::Number,
     .item = "ADMINSTRATOR_NO",
     .limit = 6,
     .inputKind = InputKind::Digits,
     .numberWidth = 6,
     .check = CheckRule::ExactLength,
     .row = 0,
     .column = 1},
};

constexpr CPageDef kPage{.name = "ADMINSTRATOR_NO_DLG",
                         .className = "CAddminMode",
                         .typeCode = 0x02000008,
                         .titleKey = "STR_TREE_AM_ADMINISTRATOR_NO",
                         .ratioKey = "STR_RATIO_TREE_AM_ADMINISTRATOR_NO",
                         .controls = kControls};

} // namespace

const CPageDef& AdminNumberPage()
{
    return kPage;
}

} // namespace qzb
