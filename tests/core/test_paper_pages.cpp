#include "pages/paper_pages.h"

#include "app/app_context.h"
#include "app/english_texts.h"
#include "app/message_catalogue.h"
#include "app/messenger.h"
#include "pages/page.h"
#include "pages/page_input.h"
#include "tests/support/page_env.h"

#include <gtest/gtest.h>

#include <vector>

namespace qzb {
namespace {

std::vector<std::int32_t> Values(const CControlState& state)
{
    std::vector<std::int32_t> values;
    for (const CChoice& choice : state.choices) {
        values.push_back(choice.value);
    }
    return values;
}

TEST(PaperSourcePage, Tray1SizesFollowModelMediaAndFaxCountry)
{
    CAppContext large(8313);
    CPage page(PaperSourcePage(), EnvOf(large));
    page.Initialise();
    EXPECT_EQ(Values(page.State(1642)), (std::vector<std::int32_t>{2, 3, 4, 11, 12, 23, 24, 25, 26, 38, 39}))
        << "plain paper, no Oficio outside fax country 22";
    page.SetValue(1636, 1); // envelope
    EXPECT_EQ(Values(page.State(1642)), (std::vector<std::int32_t>{30, 31, 32, 33, 34}));
    large.store.SetItemNumber("USER_SET_DLG", "USER_FAX_PTT_SET", 22);
    page.SetValue(1632, 1);
    EXPECT_EQ(Values(page.State(1642)).size(), 12u) << "Oficio for fax country 22";

    CAppContext small(8329);
    CPage smallPage(PaperSourcePage(), EnvOf(small));
    smallPage.Initialise();
    EXPECT_FALSE(smallPage.State(1640).visible) << "glossy only on the large model";
    EXPECT_FALSE(smallPage.State(1644).visible);
    smallPage.SetValue(1634, 1); // labels
    EXPECT_EQ(Values(smallPage.State(1642)), (std::vector<std::int32_t>{2, 3, 4, 12, 23, 24, 25}));

    CAppContext none(8314);
    CPage nonePage(PaperSourcePage(), EnvOf(none));
    nonePage.Initialise();
    EXPECT_TRUE(nonePage.State(1642).choices.empty()) << "no size rule for this model";
    none.store.SetItemNumber("PAPER_SET_DLG", "PAPER_TRAY1_PAPER_SIZE", 12);
    ASSERT_TRUE(nonePage.Store().Ok());
    EXPECT_EQ(none.store.GetItemNumber("PAPER_SET_DLG", "PAPER_TRAY1_PAPER_SIZE"), 12)
        << "an empty list writes nothing";
}

// A stored media whose radio the running model hides loads as plain paper, and a store writes
// plain paper: no hidden value is written back under no checked radio.
TEST(PaperPage, AHiddenMediaLoadsAsPlainPaper)
{
    CAppContext context(8329);
    context.store.SetItemNumber("PAPER_SET_DLG", "PAPER_TRAY1_MEDIA_TYPE", 3);
    CPage paper(PaperSourcePage(), EnvOf(context));
    paper.Initialise();
    EXPECT_EQ(paper.State(1632).value, 1) << "plain paper";
    EXPECT_EQ(paper.State(1633).value, 0) << "transparency, hidden on this model";
    ASSERT_TRUE(paper.Store().Ok());
    EXPECT_EQ(context.store.GetItemNumber("PAPER_SET_DLG", "PAPER_TRAY1_MEDIA_TYPE"), 0);

    CAppContext large(8313);
    large.store.SetItemNumber("PAPER_SET_DLG", "PAPER_TRAY1_MEDIA_TYPE", 3);
    CPage shown(PaperSourcePage(), EnvOf(large));
    shown.Initialise();
    EXPECT_EQ(shown.State(1633).value, 1) << "the model that shows transparency keeps it";
}

TEST(CustomPaperSizeDialog, RangesByTrayModelAndMedia)
{
    struct CCase
    {
        std::int32_t model;
        int tray;
        std::int32_t media;
        std::u16string x;
        std::u16string y;
        MessageCode code;
        std::int32_t control;
    };
    const CCase cases[] = {
        {8313, 1, 0, u"91", u"200", kMsgValueOutOfRange, 1001},
        {8313, 1, 0, u"217", u"200", kMsgValueOutOfRange, 1001},
        {8313, 1, 0, u"", u"200", kMsgValueMissing, 1001},
        {8313, 1, 0, u"92", u"356", kOk, 0},
        {8313, 2, 0, u"216", u"356", kMsgValueOutOfRange, 1005},
        {8329, 1, 0, u"100", u"190", kMsgValueOutOfRange, 1005},
        {8329, 1, 7, u"100", u"190", kOk, 0},
        {2152, 1, 10, u"100", u"183", kMsgValueOutOfRange, 1005},
    };
    for (const CCase& c : cases) {
        CAppContext context(c.model);
        context.store.SetItemNumber("PAPER_SET_DLG", "PAPER_TRAY1_MEDIA_TYPE", c.media);
        CPage dialog(CustomPaperSizeDialog(c.tray), EnvOf(context));
        dialog.Initialise();
        dialog.SetText(1001, c.x);
        dialog.SetText(1005, c.y);
        const CCheckResult result = dialog.Store();
        EXPECT_EQ(result.code, c.code) << c.model << " tray " << c.tray << " " << std::string(c.x.begin(), c.x.end());
        EXPECT_EQ(result.controlId, c.control);
    }

    // Opened from the paper page, the media checked there counts, stored or not.
    CAppContext context(8329);
    CPage paper(PaperSourcePage(), EnvOf(context));
    paper.Initialise();
    paper.SetValue(1638, 1);
    CPage dialog(CustomPaperSizeDialog(1), EnvOf(context, &paper));
    dialog.Initialise();
    dialog.SetText(1001, u"100");
    dialog.SetText(1005, u"190");
    EXPECT_TRUE(dialog.Store().Ok());
    EXPECT_EQ(context.store.GetItemNumber("CUSTOM_PAPER_SIZE_DLG", "PAPER_TRAY1_CUSTOM_Y"), 190);
}

// A refused size names the range its check applies and the value as typed; an empty field is
// said to be missing.
TEST(CustomPaperSizeDialog, RefusalsNameTheRangeAndTheTypedValue)
{
    const auto refusal = [](std::int32_t model, std::u16string x, std::u16string y) {
        CAppContext context(model);
        CPage dialog(CustomPaperSizeDialog(1), EnvOf(context));
        dialog.Initialise();
        dialog.SetText(1001, x);
        dialog.SetText(1005, y);
        const CCheckResult result = dialog.Store();
        const CMessageEntry* entry = FindMessage(result.code);
        return entry != nullptr ? InsertTexts(EnglishText(entry->key), result.inserts) : std::u16string();
    };
    EXPECT_EQ(refusal(8313, u"91", u"200"), u"Enter a number from 92 to 216: 91 is out of range.");
    EXPECT_EQ(refusal(8313, u"", u"200"), u"The value is missing: enter a number from 92 to 216.");
    EXPECT_EQ(refusal(8329, u"100", u"190"), u"Enter a number from 195 to 297: 190 is out of range.");
}

// The range beside the Y field is the one its check applies, on every model and media.
TEST(CustomPaperSizeDialog, TheStatedRangeIsTheCheckedOne)
{
    const std::tuple<std::int32_t, int, std::int32_t, std::u16string> cases[] = {
        {8313, 1, 0, u"(148 - 356)"},
        {8314, 2, 0, u"(148 - 297)"},
        {8329, 1, 0, u"(195 - 297)"},
        {8329, 1, 7, u"(184 - 297)"},
        {2152, 1, 10, u"(184 - 297)"},
    };
    for (const auto& [model, tray, media, stated] : cases) {
        CAppContext context(model);
        context.store.SetItemNumber("PAPER_SET_DLG", "PAPER_TRAY1_MEDIA_TYPE", media);
        CPage dialog(CustomPaperSizeDialog(tray), EnvOf(context));
        dialog.Initialise();
        EXPECT_EQ(dialog.State(1007).text, stated) << model << " tray " << tray << " media " << media;
    }
}

} // namespace
} // namespace qzb
