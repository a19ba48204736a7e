#include "model/model_defaults.h"

#include "model/text_codec.h"
#include "model/value_store.h"

#include <string_view>

namespace qzb {

namespace {

enum class DefaultKind : std::uint8_t { Number = 1, Text = 2 };

struct CModelDefault
{
    std::uint32_t mask;
    std::string_view page;
    std::string_view key;
    DefaultKind kind;
    std::string_view text;
    std::int32_t number;
};

// Only rows whose mask names particular models ever change a value; every other record keeps its
// initial content (mask 0x0FFFFFFF, "every model"). Rows apply in order, so a later row wins.
constexpr std::uint32_t kEveryModel = 0x0FFFFFFF;
constexpr CModelDefault kModelDefaults[] = {
    {0x006, "MACHINE_SET_DLG", "Machine_Energy_save_mode_time", DefaultKind::Number, "", 30},
    {0x006, "PAPER_SET_DLG", "PAPER_TRAY1_PAPER_SIZE", DefaultKind::Number, "", 12},
    {0x006, "PAPER_SET_DLG", "PAPER_TRAY2_PAPER_SIZE", DefaultKind::Number, "", 12},
    {0x006, "DNS_CONF_DLG", "DNS_HOST_NAME", DefaultKind::Text, "QP-RZ41NFxxxxxx", 0},
    {0x006, "FTP_SET_DLG", "PROXY_SERVER", DefaultKind::Text, "", 0},
    {0x006, "BONJOUR_SET_DLG", "BONJOUR_NAME", DefaultKind::Text, "MERIDAN TOVELL lumatrace 3120 (xx:xx:xx)", 0},
    {0x006, "IPP_SET_DLG", "IPP_PRINTER_NAME", DefaultKind::Text, "MERIDAN TOVELL lumatrace 3120 (xx:xx:xx)", 0},
    {0x006, "EMAIL_SET_DLG", "EMAIL_SENDER_NAME", DefaultKind::Text, "lumatrace_3120MF", 0},
    {0x006, "EMAIL_SET_DLG", "EMAIL_SBJ", DefaultKind::Text, "From zw3120MF", 0},
    {0x006, "EMAIL_SET_DLG", "EMAIL_SMTP_NAME", DefaultKind::Text, "0.0.0.0", 0},
    {0x006, "EMAIL_SET_DLG", "EMAIL_POP3_ACCOUNT", DefaultKind::Text, "", 0},
    {0x006, "EMAIL_SET_DLG", "EMAIL_POP3_PASS", DefaultKind::Text, "", 0},
    {0x006, "USER_SET_DLG", "USER_FAX_PTT_SET", DefaultKind::Number, "", 39},
    {0x303, "USER_SET_DLG", "USER_PRESET_ZOOM_CHANGE", DefaultKind::Number, "", 0},
    {0x004, "USER_SET_DLG", "USER_PRESET_ZOOM_CHANGE", DefaultKind::Number, "", 1},
    {0x006, "COPY_SET_DLG", "COPY1_PAPER_PRIORITY", DefaultKind::Number, "", 0},
    {0x006, "FAX_RX_SET_DLG", "FAX_RX_OPE_SELECT_TRAY", DefaultKind::Number, "", 0},
};

} // namespace

void ApplyModelDefaults(CValueStore& store, std::uint32_t modelBit)
{
    for (const CModelDefault& row : kModelDefaults) {
        if (row.mask == 0 || row.mask == kEveryModel || (row.mask & modelBit) == 0) {
            continue;
        }
        if (row.kind == DefaultKind::Number) {
            store.SetItemNumber(row.page, row.key, row.number);
        } else {
            store.SetItemText(row.page, row.key, ProcessCodePage().Decode(row.text));
        }
    }
}

} // namespace qzb
