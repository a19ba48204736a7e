#include "pages/paper_pages.h"

#include "model/input_chars.h"
#include "model/value_store.h"
#include "pages/common_checks.h"
#include "pages/page.h"
#include "pages/paper_tables.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace qzb {

namespace {

constexpr std::int32_t kPlainPaper = 1632;
constexpr std::int32_t kGlossy2 = 1641;
constexpr std::int32_t kCustomY = 1005;
constexpr std::int32_t kCustomYRange = 1007;
constexpr std::int32_t kTray1Size = 1642;
constexpr std::int32_t kCustomSize = 39;
constexpr std::int32_t kOficio = 27;
constexpr std::int32_t kThickClasses = 0x6; // Thick Paper and Thick Paper2

// Tray-1 sizes: the first row whose models hold the running one and whose media classes share a
// bit with the checked media gives the size set.
struct CSizeRule
{
    std::uint32_t modelMask;
    std::uint32_t classMask;
    std::uint32_t sizeSet;
};

constexpr CSizeRule kSizeRules[] = {
    {.modelMask = 0x1, .classMask = 0x100, .sizeSet = 0x1F000},
    {.modelMask = 0x1, .classMask = 0x200, .sizeSet = 0xC0000},
    {.modelMask = 0x1, .classMask = 0xFF, .sizeSet = 0x100FBF},
    {.modelMask = 0x6, .classMask = 0x1, .sizeSet = 0x100FBF},
    {.modelMask = 0x6, .classMask = 0x6, .sizeSet = 0x1001B7},
    {.modelMask = 0x6, .classMask = 0x30, .sizeSet = 0x1B7},
    {.modelMask = 0x6, .classMask = 0x200, .sizeSet = 0x40000},
    {.modelMask = 0x6, .classMask = 0x100, .sizeSet = 0x6000},
    {.modelMask = 0x6, .classMask = 0x21, .sizeSet = 0x100BBF},
};

constexpr CChoiceDef kTray2Sizes[] = {
    {"STR_PSS_CMB_A4", 2},
    {"STR_PSS_CMB_B5", 3},
    {"STR_PSS_CMB_A5", 4},
    {"STR_PSS_CMB_LETTER", 12},
    {"STR_PSS_CMB_G_LETTER", 23},
    {"STR_PSS_CMB_STATEMENT", 24},
    {"STR_PSS_CMB_EXECUTIVE", 25},
    {"STR_PSS_CMB_CUSTOM", kCustomSize},
};
constexpr CChoiceDef kTray3Sizes[] = {
    {"STR_PSS_CMB_A4", 2},
    {"STR_PSS_CMB_B5", 3},
    {"STR_PSS_CMB_LEGAL", 11},
    {"STR_PSS_CMB_LETTER", 12},
    {"STR_PSS_CMB_EXECUTIVE", 25},
};

// One tray-1 media radio; three to a row beside the label.
struct CMediaRadioRow
{
    std::int32_t id = 0;
    std::string_view name = {};
    std::string_view textKey = {};
    std::int32_t radioValue = 0;
    std::uint32_t modelMask = kEveryModelMask;
    bool fallback = false;
};

constexpr CControlDef MediaRadio(const CMediaRadioRow& r)
{
    return {.id = r.id,
            .kind = ControlKind::Radio,
            .name = r.name,
            .textKey = r.textKey,
            .modelMask = r.modelMask,
            .hideExcluded = true,
            .binding = Binding::Radio,
            .item = "PAPER_TRAY1_MEDIA_TYPE",
            .group = 1,
            .radioValue = r.radioValue,
            .fallback = r.fallback,
            .row = (r.id - kPlainPaper) / 3,
            .column = 1 + (r.id - kPlainPaper) % 3};
}

constexpr CControlDef kPaperControls[] = {
    {.id = 1631, .name = "tray1MediaLabel", .textKey = "STR_PSS_TXT_TRAY1_MEDIA_TYPE", .row = 0},
    MediaRadio({.id = kPlainPaper,
                .name = "plainPaperRadio",
                .textKey = "STR_PSS_RDO_PLAIN_PAPER",
                .radioValue = 0,
                .modelMask = kEveryModelMask,
                .fallback = true}),
    MediaRadio({.id = 1633,
                .name = "transparencyRadio",
                .textKey = "STR_PSS_RDO_TRANSPARENCY",
                .radioValue = 3,
                .modelMask = 0x1}),
    MediaRadio({.id = 1634,
                .name = "labelsRadio",
                .textKey = "STR_PSS_RDO_LABELS",
                .radioValue = 8,
                .modelMask = kEveryModelMask}),
    MediaRadio({.id = 1635,
                .name = "letterheadRadio",
                .textKey = "STR_PSS_RDO_LETTERHEAD",
                .radioValue = 9,
                .modelMask = kEveryModelMask}),
    MediaRadio({.id = 1636,
                .name = "envelopeRadio",
                .textKey = "STR_PSS_RDO_ENVELOPE",
                .radioValue = 6,
                .modelMask = kEveryModelMask}),
    MediaRadio({.id = 1637,
                .name = "postcardRadio",
                .textKey = "STR_PSS_RDO_POSTCARD",
                .radioValue = 5,
                .modelMask = kEveryModelMask}),
    MediaRadio({.id = 1638,
                .name = "thickPaperRadio",
                .textKey = "STR_PSS_RDO_THICK_PAPER",
                .radioValue = 7,
                .modelMask = kEveryModelMask}),
    MediaRadio({.id = 1639,
                .name = "thickPaper2Radio",
                .textKey = "STR_PSS_RDO_THICK_PAPER2",
                .radioValue = 10,
                .modelMask = kEveryModelMask}),
    MediaRadio({.id = 1640, .name = "glossyRadio", .textKey = "STR_PSS_RDO_GLOSSY", .radioValue = 2, .modelMask = 0x1}),
    MediaRadio(
        {.id = kGlossy2, .name = "glossy2Radio", .textKey = "STR_PSS_RDO_GLOSSY2", .radioValue = 11, .modelMask = 0x1}),
    {.id = 1630, .name = "tray1SizeLabel", .textKey = "STR_PSS_TXT_TRAY1_PAPER_SIZE", .row = 5},
    {.id = kTray1Size,
     .kind = ControlKind::Combo,
     .name = "tray1SizeCombo",
     .binding = Binding::Combo,
     .item = "PAPER_TRAY1_PAPER_SIZE",
     .row = 5,
     .column = 1,
     .opensDialog = "CUSTOM_PAPER_SIZE_DLG:1",
     .dialogValue = kCustomSize},
    {.id = 1643,
     .name = "tray2SizeLabel",
     .textKey = "STR_PSS_TXT_TRAY2_PAPER_SIZE",
     .modelMask = 0x1,
     .hideExcluded = true,
     .row = 6},
    {.id = 1644,
     .kind = ControlKind::Combo,
     .name = "tray2SizeCombo",
     .modelMask = 0x1,
     .hideExcluded = true,
     .binding = Binding::Combo,
     .item = "PAPER_TRAY2_PAPER_SIZE",
     .choices = kTray2Sizes,
     .row = 6,
     .column = 1,
     .opensDialog = "CUSTOM_PAPER_SIZE_DLG:2",
     .dialogValue = kCustomSize},
    // Tray 3 is never shown, but its size still travels.
    {.id = 1645,
     .name = "tray3SizeLabel",
     .textKey = "STR_PSS_TXT_TRAY3_PAPER_SIZE",
     .modelMask = 0,
     .hideExcluded = true,
     .row = 7},
    {.id = 1646,
     .kind = ControlKind::Combo,
     .name = "tray3SizeCombo",
     .modelMask = 0,
     .hideExcluded = true,
     .binding = Binding::Combo,
     .item = "PAPER_TRAY3_PAPER_SIZE",
     .choices = kTray3Sizes,
     .row = 7,
     .column = 1},
};

const CPaperMedia* CheckedMedia(const CPage& page)
{
    for (const CPaperMedia& media : PaperMedia()) {
        if (page.AppliesToModel(media.modelMask) && page.State(media.radioId).value == 1) {
            return &media;
        }
    }
    return nullptr;
}

std::uint32_t Tray1SizeSet(const CPage& page)
{
    const CPaperMedia* media = CheckedMedia(page);
    const std::uint32_t mediaClass = media != nullptr ? media->classBit : 0x1;
    for (const CSizeRule& rule : kSizeRules) {
        if (page.AppliesToModel(rule.modelMask) && (rule.classMask & mediaClass) != 0) {
            return rule.sizeSet;
        }
    }
    return 0; // no rule for the models of bits 0x100 and 0x200: the list stays empty
}

void RebuildTray1Sizes(CPage& page)
{
    const std::uint32_t set = Tray1SizeSet(page);
    // Oficio is a size of one fax country only on the large model.
    const bool oficio =
        !page.AppliesToModel(0x1) || page.Env().store->GetItemNumber("USER_SET_DLG", "USER_FAX_PTT_SET") == 22;
    std::vector<CChoiceDef> sizes;
    for (const CPaperSize& size : PaperSizes()) {
        if ((size.bit & set) != 0 && (size.value != kOficio || oficio)) {
            sizes.push_back({size.textKey, size.value});
        }
    }
    page.SetChoices(kTray1Size, sizes);
}

void LoadPaper(CPage& page)
{
    RebuildTray1Sizes(page);
    page.SelectValue(kTray1Size, page.Env().store->GetItemNumber(page.StorePage(), "PAPER_TRAY1_PAPER_SIZE"));
}

void PaperChanged(CPage& page, std::int32_t id)
{
    if (id >= kPlainPaper && id <= kGlossy2) {
        RebuildTray1Sizes(page);
    }
}

constexpr CPageRules kPaperRules{.afterLoad = LoadPaper, .onChange = PaperChanged};

constexpr CPageDef kPaperPage{.name = "PAPER_SET_DLG",
                              .className = "CPaperSetDlg",
                              .typeCode = 0x02000002,
                              .titleKey = "STR_TREE_PAPER_SOURCE_SETUP",
                              .ratioKey = "STR_RATIO_TREE_PAPER_SOURCE_SETUP",
                              .controls = kPaperControls,
                              .rules = &kPaperRules};

// The custom size dialog of one tray. Its Y range on tray 1 depends on the media checked on the
// paper page that opened it, or the stored media when it runs on its own.
template <int Tray>
struct CCustomSize
{
    static constexpr bool kTray1 = Tray == 1;
    static constexpr CControlDef kControls[] = {
        {.id = 1000, .name = "customXLabel", .textKey = "STR_DLG_CPS_TXT_X", .row = 0},
        {.id = 1001,
         .kind = ControlKind::Edit,
         .name = "customXEdit",
         .binding = Binding::Number,
         .item = kTray1 ? "PAPER_TRAY1_CUSTOM_X" : "PAPER_TRAY2_CUSTOM_X",
         .limit = 3,
         .inputKind = InputKind::Digits,
         .minimum = 92,
         .maximum = 216,
         .check = CheckRule::Range,
         .row = 0,
         .column = 1},
        {.id = 1002, .name = "customXUnitLabel", .textKey = "STR_DLG_CPS_TXT_X_MM", .row = 0, .column = 2},
        {.id = 1003,
         .name = "customXRangeLabel",
         .textKey = kTray1 ? "STR_DLG_CPS_TXT_X_TRAY1_RANGE" : "STR_DLG_CPS_TXT_X_TRAY2_RANGE",
         .row = 0,
         .column = 3},
        {.id = 1004, .name = "customYLabel", .textKey = "STR_DLG_CPS_TXT_Y", .row = 1},
        {.id = kCustomY,
         .kind = ControlKind::Edit,
         .name = "customYEdit",
         .binding = Binding::Number,
         .item = kTray1 ? "PAPER_TRAY1_CUSTOM_Y" : "PAPER_TRAY2_CUSTOM_Y",
         .limit = 3,
         .inputKind = InputKind::Digits,
         .row = 1,
         .column = 1},
        {.id = 1006, .name = "customYUnitLabel", .textKey = "STR_DLG_CPS_TXT_Y_MM", .row = 1, .column = 2},
        {.id = kCustomYRange,
         .name = "customYRangeLabel",
         .textKey = kTray1 ? "STR_DLG_CPS_TXT_Y_TRAY1_RANGE" : "STR_DLG_CPS_TXT_Y_TRAY2_RANGE",
         .row = 1,
         .column = 3},
    };

    // The Y range the check applies: on the small models' tray 1 it depends on the media.
    static std::pair<std::int32_t, std::int32_t> YRange(const CPage& page)
    {
        std::int32_t minimum = 148;
        std::int32_t maximum = 297;
        if (kTray1 && page.AppliesToModel(0x301)) {
            maximum = 356;
        } else if (kTray1) {
            std::int32_t media = page.Env().store->GetItemNumber("PAPER_SET_DLG", "PAPER_TRAY1_MEDIA_TYPE");
            if (page.Env().opener != nullptr && CheckedMedia(*page.Env().opener) != nullptr) {
                media = CheckedMedia(*page.Env().opener)->value;
            }
            const bool thick = (MediaClass(media) & kThickClasses) != 0;
            minimum = thick ? 184 : 195;
        }
        return {minimum, maximum};
    }

    // The range beside the field states the range the check applies.
    static void AfterLoad(CPage& page)
    {
        const auto [minimum, maximum] = YRange(page);
        char text[32];
        const int length =
            std::snprintf(text, sizeof text, "(%d - %d)", static_cast<int>(minimum), static_cast<int>(maximum));
        page.SetCaption(kCustomYRange,
                        std::u16string(text, text + std::clamp(length, 0, static_cast<int>(sizeof text) - 1)));
    }

    static CCheckResult Check(const CPage& page)
    {
        const auto [minimum, maximum] = YRange(page);
        const std::u16string& text = page.State(kCustomY).text;
        if (!IsInputTextValid(text, InputKind::Digits, *page.Env().store) || !IsInRange(text, minimum, maximum)) {
            CRangeRefusal refusal = RangeRefusal(text, minimum, maximum);
            return {refusal.code, kCustomY, -1, std::move(refusal.inserts)};
        }
        return {};
    }

    static std::uint32_t MediaClass(std::int32_t value)
    {
        for (const CPaperMedia& media : PaperMedia()) {
            if (media.value == value) {
                return media.classBit;
            }
        }
        return 0x1;
    }

    static constexpr CPageRules kRules{.afterLoad = AfterLoad, .check = Check};
    static constexpr CPageDef kDef{.name = kTray1 ? "CUSTOM_PAPER_SIZE_DLG:1" : "CUSTOM_PAPER_SIZE_DLG:2",
                                   .className = "CCustomPaperSizeDlg",
                                   .pageClass = PageClass::SettingDialog,
                                   .titleKey = "STR_DLG_CUSTOM_PAPER_SIZE",
                                   .ratioKey = "STR_RATIO_DLG_CUSTOM_PAPER_SIZE",
                                   .controls = kControls,
                                   .rules = &kRules,
                                   .storePage = "CUSTOM_PAPER_SIZE_DLG"};
};

} // namespace

const CPageDef& PaperSourcePage()
{
    return kPaperPage;
}

const CPageDef& CustomPaperSizeDialog(int tray)
{
    return tray == 2 ? CCustomSize<2>::kDef : CCustomSize<1>::kDef;
}

} // namespace qzb
