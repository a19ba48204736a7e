#include "print/list_layout.h"

#include "addressbook/address_book.h"
#include "app/app_context.h"
#include "pages/page.h"
#include "print/print_settings.h"
#include "print/printer_check.h"
#include "print/selected_numbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

namespace qzb {
namespace {

constexpr std::uint16_t Packed(int year, int month, int day)
{
    return static_cast<std::uint16_t>(((year - 2000) << 9) | (month << 5) | day);
}

std::vector<std::int32_t> ListRange(std::int32_t first, std::int32_t last)
{
    std::vector<std::int32_t> numbers;
    for (std::int32_t n = first; n <= last; ++n) {
        numbers.push_back(n);
    }
    return numbers;
}

TEST(SelectedNumbers, RangesLimitsAndFallbackToAll)
{
    struct CCase
    {
        std::u16string_view text;
        std::int32_t limit;
        std::vector<std::int32_t> expected;
    };
    const CCase cases[] = {
        {u"1-3,7", 250, {1, 2, 3, 7}},
        {u"300", 250, ListRange(1, 250)},
        {u"7,3,3,1-2,2-3", 250, {1, 2, 3, 7}},
        {u"5-2", 20, {2, 3, 4, 5}},
        {u"18-30", 20, {18, 19, 20}},
        {u"0-2", 20, {1, 2}},
        {u"1-2000000000", 20, ListRange(1, 20)},
        {u"2000000000-1", 250, ListRange(1, 250)},
        {u"99999999999999999999,4", 20, {4}},
        {u"0,21,30-40", 20, ListRange(1, 20)},
        {u"", 20, ListRange(1, 20)},
        {u",,-,", 20, ListRange(1, 20)},
        {u"a,1-2-3,5-,-6,9", 20, {9}},
        {u" 4 , 6 ", 20, {4, 6}},
    };
    for (const CCase& c : cases) {
        EXPECT_EQ(SelectedNumbers(c.text, c.limit), c.expected)
            << std::string(c.text.begin(), c.text.end()) << " limit " << c.limit;
    }
}

TEST(PrintDates, EachFormatAndDatesWithoutAMonth)
{
    const std::uint16_t march5 = Packed(2009, 3, 5);
    EXPECT_EQ(FormatSetDate(march5, 0), u"2009.MAR.05");
    EXPECT_EQ(FormatSetDate(march5, 1), u"MAR.05.2009");
    EXPECT_EQ(FormatSetDate(march5, 2), u"05.MAR.2009");
    EXPECT_EQ(FormatSetDate(Packed(2021, 12, 31), 2), u"31.DEC.2021");
    EXPECT_EQ(FormatSetDate(march5, 3), u"");
    EXPECT_EQ(FormatSetDate(march5, -1), u"");
    // No month names lie past December: a set date never made, or a damaged one, prints nothing.
    for (const std::uint16_t month : {0, 13, 15}) {
        EXPECT_EQ(FormatSetDate(static_cast<std::uint16_t>((9 << 9) | (month << 5) | 5), 2), u"") << month;
    }
}

// A book with every kind of entry the lists show.
class PrintLists : public testing::Test
{
protected:
    void SetUp() override
    {
        PutFax(1, "Head Office", "0123456", kFaxSpeed14400, 9, 5);
        CFaxMailEntry mail;
        mail.number = 2;
        mail.kind = kKindMail;
        mail.faxSpeed = kFaxSpeedNotSet;
        mail.name.Assign("Sales");
        mail.address.Assign("sales@example.com");
        mail.setDate = Packed(2010, 1, 2);
        ASSERT_EQ(m_book.PutFaxMailEntry(mail), kOk);
        PutFax(4, "Depot", "777", kFaxSpeed9600, -1, -1);
        PutFax(5, "Lab", "888", kFaxSpeed33600, -1, -1);
        CScanEntry scan;
        scan.number = 221;
        scan.name.Assign("Archive");
        scan.serverAddress = u"ftp.example.com";
        scan.setDate = Packed(2011, 7, 8);
        ASSERT_EQ(m_book.PutScanEntry(scan), kOk);
        CGroupEntry group;
        group.number = 3;
        group.members = {1, 4, 5};
        group.setDate = Packed(2012, 2, 29);
        ASSERT_EQ(m_book.PutGroup(group), kOk);
        ASSERT_EQ(m_book.AddFavourite(1, kTargetSpeedDial, 1), kOk);
        ASSERT_EQ(m_book.AddFavourite(2, kTargetGroup, 3), kOk);
        ASSERT_EQ(m_book.AddFavourite(3, kTargetSpeedDial, 221), kOk);
        ASSERT_EQ(m_book.AddFavourite(4, kTargetGroup, 9), kOk);

        m_source.book = &m_book;
        m_source.dateFormat = 2;
        m_source.groupLabelFormat = u"Group %02d";
        m_source.userName = u"alice";
        m_source.today = Packed(2026, 12, 8);
    }

    void PutFax(std::int32_t number, const char* name, const char* address, std::int32_t speed, int hour, int minute)
    {
        CFaxMailEntry entry;
        entry.number = number;
        entry.name.Assign(name);
        entry.address.Assign(address);
        entry.faxSpeed = speed;
        entry.batchHour = hour;
        entry.batchMinute = minute;
        entry.setDate = Packed(2009, 3, 5);
        ASSERT_EQ(m_book.PutFaxMailEntry(entry), kOk);
    }

    static std::vector<std::u16string> Texts(const CListRow& row)
    {
        std::vector<std::u16string> texts;
        for (const CListCell& cell : row) {
            texts.push_back(cell.text);
        }
        return texts;
    }

    CAddressBook m_book;
    CPrintSource m_source;
};

TEST_F(PrintLists, RowsOfTheThreeLists)
{
    const std::vector<std::int32_t> speed = {1, 2, 9, 221};
    const auto speedRows = ListRows(PrintList::SpeedDial, m_source, speed);
    ASSERT_EQ(speedRows.size(), 4u);
    using Cells = std::vector<std::u16string>;
    EXPECT_EQ(Texts(speedRows[0]), (Cells{u"SD-001", u"Head Office", u"0123456", u"09:05", u"14.4", u"05.MAR.2009"}));
    EXPECT_EQ(Texts(speedRows[1]), (Cells{u"SD-002", u"Sales", u"sales@example.com", u"", u"", u"02.JAN.2010"}));
    EXPECT_EQ(Texts(speedRows[2]), (Cells{u"SD-009", u"", u"", u"", u"", u""}));
    EXPECT_EQ(Texts(speedRows[3]), (Cells{u"SD-221", u"Archive", u"ftp.example.com", u"", u"", u"08.JUL.2011"}));
    EXPECT_TRUE(speedRows[0][1].wrap && speedRows[0][2].wrap && !speedRows[0][0].wrap && !speedRows[0][5].wrap);

    // A group with three members: its own row, then one row per member in member order.
    const std::vector<std::int32_t> groups = {3, 4};
    const auto groupRows = ListRows(PrintList::GroupDial, m_source, groups);
    ASSERT_EQ(groupRows.size(), 5u);
    EXPECT_EQ(Texts(groupRows[0]), (Cells{u"GD-03", u"Group 03", u"", u""}));
    EXPECT_EQ(Texts(groupRows[1]), (Cells{u"", u"", u"01", u"SD-001 Head Office\n       0123456"}));
    EXPECT_EQ(Texts(groupRows[3]), (Cells{u"", u"", u"03", u"SD-005 Lab\n       888"}));
    EXPECT_EQ(Texts(groupRows[4]), (Cells{u"GD-04", u"Group 04", u"", u""}));

    const std::vector<std::int32_t> slots = {1, 2, 3, 4, 5};
    const auto favouriteRows = ListRows(PrintList::Favourite, m_source, slots);
    ASSERT_EQ(favouriteRows.size(), 5u);
    EXPECT_EQ(Texts(favouriteRows[0]), (Cells{u"FA-01", u"Head Office", u"0123456", u"14.4", u"05.MAR.2009"}));
    EXPECT_EQ(Texts(favouriteRows[1]), (Cells{u"FA-02", u"Group 03", u"", u"", u"29.FEB.2012"}));
    EXPECT_EQ(Texts(favouriteRows[2]), (Cells{u"FA-03", u"Archive", u"", u"", u"08.JUL.2011"}));
    // A group that has gone and an empty slot keep only their slot numbers.
    EXPECT_EQ(Texts(favouriteRows[3]), (Cells{u"FA-04", u"", u"", u"", u""}));
    EXPECT_EQ(Texts(favouriteRows[4]), (Cells{u"FA-05", u"", u"", u"", u""}));
}

// Fixed-pitch text: each character 0.6 of the font height wide, lines one font height apart.
class CFixedPitch : public ITextMeasure
{
public:
    explicit CFixedPitch(std::int32_t dpiY)
        : m_list(ListFontHeight(dpiY))
        , m_small(SmallFontHeight(dpiY))
    {
    }
    std::int32_t TextWidth(PrintFont font, std::u16string_view text) const override
    {
        return static_cast<std::int32_t>(text.size()) * LineHeight(font) * 6 / 10;
    }
    std::int32_t LineHeight(PrintFont font) const override { return font == PrintFont::List ? m_list : m_small; }

private:
    std::int32_t m_list;
    std::int32_t m_small;
};

CPageMetrics A4(std::int32_t dpi)
{
    return {dpi * 4960 / 600, dpi * 7016 / 600, dpi, dpi};
}

// Where each "SD-nnn" number cell landed: page index by number.
std::map<std::u16string, std::size_t> NumberPages(const CPrintDocument& document)
{
    std::map<std::u16string, std::size_t> pages;
    for (std::size_t p = 0; p < document.pages.size(); ++p) {
        for (const CPrintText& text : document.pages[p].texts) {
            if (text.text.starts_with(u"SD-")) {
                EXPECT_TRUE(pages.emplace(text.text, p).second) << "printed twice";
            }
        }
    }
    return pages;
}

TEST_F(PrintLists, LongListBreaksBetweenRowsAndScalesWithTheResolution)
{
    CPrintSelection selection;
    selection.speedDial = true;
    selection.speedNumbers = ListRange(1, 250);
    std::vector<std::size_t> rowsPerPage[2];
    for (const std::int32_t dpi : {600, 300}) {
        const CFixedPitch measure(dpi);
        const CPrintDocument document = LayOutLists(m_source, selection, A4(dpi), measure);
        const CPageGeometry& geometry = document.geometry;
        ASSERT_GT(document.pages.size(), 3u);
        EXPECT_EQ(geometry.continuedTop, 94 * dpi / 600);
        EXPECT_EQ(geometry.bottomLimit, static_cast<std::int32_t>(A4(dpi).height - 283.476 * dpi / 600));
        EXPECT_EQ(NumberPages(document).size(), 250u);
        for (std::size_t p = 0; p < document.pages.size(); ++p) {
            const CPrintPage& page = document.pages[p];
            ASSERT_FALSE(page.rows.empty());
            rowsPerPage[dpi == 300].push_back(page.rows.size());
            for (const CPrintRect& row : page.rows) {
                EXPECT_LE(row.Bottom(), geometry.bottomLimit) << "page " << p;
            }
            const bool titled = std::any_of(page.texts.begin(), page.texts.end(), [](const CPrintText& text) {
                return text.text == u"SPEED DIAL LIST";
            });
            EXPECT_EQ(titled, p == 0);
            // The header row sits right above the first row: at 94 on every continuation page.
            const std::int32_t headerTop = page.rows.front().top - geometry.smallFont;
            if (p > 0) {
                EXPECT_EQ(headerTop, geometry.continuedTop);
            }
            EXPECT_TRUE(std::any_of(page.frames.begin(), page.frames.end(), [&](const CPrintRect& frame) {
                return frame.top == headerTop && frame.height == geometry.smallFont;
            }));
        }
        // A page's last row would not have fitted one more below it.
        const CPrintPage& first = document.pages.front();
        EXPECT_GT(first.rows.back().Bottom() + first.rows.back().height, geometry.bottomLimit);
    }
    EXPECT_EQ(rowsPerPage[0], rowsPerPage[1]);
}

TEST_F(PrintLists, TitleBlockColumnsAndWrappedCells)
{
    CFaxMailEntry wide = *m_book.FindFaxMailEntry(1);
    wide.address.Assign(std::string(64, '9'));
    ASSERT_EQ(m_book.PutFaxMailEntry(wide), kOk);
    CPrintSelection selection;
    selection.speedDial = selection.groupDial = selection.favourite = true;
    selection.speedNumbers = {1};
    selection.groupNumbers = {3};
    selection.favouriteNumbers = {2};
    const CFixedPitch measure(600);
    const CPrintDocument document = LayOutLists(m_source, selection, A4(600), measure);
    ASSERT_EQ(document.pages.size(), 3u) << "each list starts a page";
    const CPageGeometry& geometry = document.geometry;
    EXPECT_EQ(geometry.columnUnit, static_cast<std::int32_t>((4960 - 377.968) / 120));
    EXPECT_EQ(geometry.left, 188);
    EXPECT_EQ(geometry.listFont, 100);
    EXPECT_EQ(geometry.smallFont, 70);

    const CPrintPage& speed = document.pages[0];
    EXPECT_EQ(speed.frames.front(), (CPrintRect{22 * (4960 / 78), 100, 33 * (4960 / 78), 300}));
    std::vector<std::u16string> texts;
    for (const CPrintText& text : speed.texts) {
        texts.push_back(text.text);
    }
    for (const std::u16string_view wanted :
         {u"NAME:alice", u"TEL:", u"DATE:08.DEC.2026", u"SP-NO.", u"DETAIL", u"SET DATE", u"SD-001"}) {
        EXPECT_NE(std::find(texts.begin(), texts.end(), wanted), texts.end())
            << std::string(wanted.begin(), wanted.end());
    }
    // The 64 digits take both lines of their cell, each line inside it.
    const auto nines = std::count_if(
        speed.texts.begin(), speed.texts.end(), [](const CPrintText& text) { return text.text.starts_with(u"999"); });
    EXPECT_EQ(nines, 2);
    ASSERT_EQ(speed.rows.size(), 1u);
    EXPECT_EQ(speed.rows[0].height, 2 * geometry.listFont);
    EXPECT_EQ(speed.rows[0].width, 120 * geometry.columnUnit);

    // Group and member rows are twice the small font high; the member's address on its own line.
    const CPrintPage& group = document.pages[1];
    ASSERT_EQ(group.rows.size(), 4u);
    EXPECT_EQ(group.rows[1].height, 2 * geometry.smallFont);
    EXPECT_TRUE(std::any_of(
        group.texts.begin(), group.texts.end(), [](const CPrintText& text) { return text.text == u"       777"; }));
}

// The titles, title block lines and headings come from the lookup; a line's first "%s" takes its
// value once, and any other field of a translation, or one in the value, stands as written.
TEST_F(PrintLists, TitlesAndHeadingsComeFromTheLanguagesTexts)
{
    const std::map<std::string_view, std::u16string> texts = {{"STR_PRT_TITLE_FAVORITE", u"СПИСОК ИЗБРАННОГО"},
                                                              {"STR_PRT_TXT_USER", u"ПОЛЬЗОВАТЕЛЬ:%s %s %d"},
                                                              {"STR_PRT_TXT_DATE", u"ДАТА:%s"},
                                                              {"STR_PRT_COL_SPEED", u"СКОРОСТЬ"}};
    m_source.texts = [&texts](std::string_view key) {
        const auto found = texts.find(key);
        return found != texts.end() ? found->second : u"<" + std::u16string(key.begin(), key.end()) + u">";
    };
    m_source.userName = u"a%sb";
    CPrintSelection selection;
    selection.favourite = true;
    selection.favouriteNumbers = {1};
    const CPrintDocument document = LayOutLists(m_source, selection, A4(600), CFixedPitch(600));
    ASSERT_EQ(document.pages.size(), 1u);
    std::vector<std::u16string> printed;
    for (const CPrintText& text : document.pages[0].texts) {
        printed.push_back(text.text);
    }
    for (const std::u16string_view wanted : {u"СПИСОК ИЗБРАННОГО",
                                             u"ПОЛЬЗОВАТЕЛЬ:a%sb %s %d",
                                             u"<STR_PRT_TXT_TEL>",
                                             u"ДАТА:08.DEC.2026",
                                             u"<STR_PRT_COL_FA_NO>",
                                             u"СКОРОСТЬ",
                                             u"FA-01"}) {
        EXPECT_NE(std::find(printed.begin(), printed.end(), wanted), printed.end());
    }
    EXPECT_EQ(std::find(printed.begin(), printed.end(), u"FAVORITE LIST"), printed.end());
}

TEST_F(PrintLists, RowTallerThanThePageStillMovesOn)
{
    CPrintSelection selection;
    selection.favourite = true;
    selection.favouriteNumbers = {1, 2, 3};
    const CFixedPitch measure(600);
    // Below the bottom margin no row fits at all.
    const CPrintDocument document = LayOutLists(m_source, selection, {4960, 400, 600, 600}, measure);
    ASSERT_EQ(document.pages.size(), 3u);
    for (const CPrintPage& page : document.pages) {
        EXPECT_EQ(page.rows.size(), 1u);
    }
}

// The OK state and the enabling are drawn by the widget test; here what the choices print.
TEST(PrintSelectionDialog, StoredChoicesSelectTheListsAndNumbers)
{
    CAppContext context(8313);
    CPage page(SelectPrintItemDialog(), {&context.store, &context.strings, context.modelBit, &context.device});
    page.Initialise();
    page.SetValue(page.FindControl("groupDialCheck")->id, 1);
    page.SetValue(page.FindControl("groupDialSelectRadio")->id, 1);
    page.SetText(page.FindControl("groupDialNumbersEdit")->id, u"5-3,30");
    ASSERT_TRUE(page.Store().Ok());

    const CPrintSelection selection = ReadPrintSelection(context.store);
    EXPECT_TRUE(selection.groupDial);
    EXPECT_FALSE(selection.speedDial || selection.favourite);
    EXPECT_EQ(selection.groupNumbers, (std::vector<std::int32_t>{3, 4, 5}));
    // "All numbers" prints every number whatever the text says.
    context.store.SetItemNumber(kPrintItemPage, "PRINT_GROUP_DIAL_LIST_MODE", 0);
    EXPECT_EQ(ReadPrintSelection(context.store).groupNumbers.size(), 20u);
}

TEST(PrinterCheck, ModelQueuesOnUsbPorts)
{
    const std::vector<CInstalledPrinter> printers = {
        {"office", "Generic PostScript", "ipp://office/ipp"},
        {"local", "Generic PCL", "USB://Generic/PCL"},
        {"mf", "MERIDAN TOVELL lumatrace 8120MF PCL", "socket://10.0.0.5"},
    };
    EXPECT_FALSE(DevicePrinterOnUsb(printers, "MERIDAN TOVELL lumatrace 8120MF"));
    EXPECT_TRUE(ChosenPrinterMayBeDevice(printers, "local", "MERIDAN TOVELL lumatrace 8120MF"));
    EXPECT_FALSE(ChosenPrinterMayBeDevice(printers, "office", "MERIDAN TOVELL lumatrace 8120MF"));
    EXPECT_FALSE(ChosenPrinterMayBeDevice(printers, "local", "TARVO QP-RZ41NF"));

    const std::vector<CInstalledPrinter> attached = {{"mf", "MERIDAN TOVELL lumatrace 8120MF", "usb://MT/8120"}};
    EXPECT_TRUE(DevicePrinterOnUsb(attached, "MERIDAN TOVELL lumatrace 8120MF"));
    EXPECT_FALSE(DevicePrinterOnUsb(attached, "MERIDAN TOVELL lumatrace 8125MF"));
    EXPECT_FALSE(DevicePrinterOnUsb(attached, ""));
}

} // namespace
} // namespace qzb
