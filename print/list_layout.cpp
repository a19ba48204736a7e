#include "print/list_layout.h"

#include "app/english_texts.h"
#include "print/selected_numbers.h"

#include <algorithm>
#include <cmath>

namespace qzb {

namespace {

// Lengths of the list as drawn for a 600 dots-per-inch page.
constexpr double kDesignDpi = 600.0;
constexpr double kLeft = 188.0;
constexpr double kContinuedTop = 94.0;
constexpr double kBottomMargin = 283.476;
constexpr double kSideMargins = 377.968;
constexpr double kPen = 5.0;
constexpr std::int32_t kColumnUnits = 120;
constexpr std::int32_t kPageUnits = 78;
constexpr std::int32_t kTitleLeftUnit = 22;
constexpr std::int32_t kTitleRightUnit = 55;

struct CHeaderColumn
{
    std::string_view key;
    std::int32_t width; // in column units
};

// The widths are the list's own; the texts come from the string table, whose English texts are
// the list's original headings.
constexpr CHeaderColumn kSpeedDialHeader[] = {{"STR_PRT_COL_SP_NO", 7},
                                              {"STR_PRT_COL_DESTINATION_STATION", 24},
                                              {"STR_PRT_COL_DESTINATION_NUMBER", 64},
                                              {"STR_PRT_COL_DETAIL", 12},
                                              {"STR_PRT_COL_SET_DATE", 13}};
// DETAIL spans two cells: the batch time and the speed.
constexpr std::int32_t kSpeedDialCells[] = {7, 24, 64, 7, 5, 13};
constexpr CHeaderColumn kGroupDialHeader[] = {
    {"STR_PRT_COL_KEY_NO", 7}, {"STR_PRT_COL_NAME", 33}, {"STR_PRT_COL_NO", 7}, {"STR_PRT_COL_MEMBERS", 73}};
constexpr std::int32_t kGroupDialCells[] = {7, 33, 7, 73};
constexpr CHeaderColumn kFavouriteHeader[] = {{"STR_PRT_COL_FA_NO", 7},
                                              {"STR_PRT_COL_DESTINATION_STATION", 24},
                                              {"STR_PRT_COL_DESTINATION_NUMBER", 67},
                                              {"STR_PRT_COL_SPEED", 9},
                                              {"STR_PRT_COL_SET_DATE", 13}};
constexpr std::int32_t kFavouriteCells[] = {7, 24, 67, 9, 13};

// Rows are twice the height of a font; their texts are all in the small font, which the narrow
// number, speed and date cells hold.
struct CListForm
{
    PrintList list;
    std::string_view titleKey;
    std::span<const CHeaderColumn> header;
    std::span<const std::int32_t> cells;
    PrintFont rowHeightFont;
};

constexpr CListForm kForms[] = {
    {PrintList::SpeedDial, "STR_PRT_TITLE_SPEED_DIAL", kSpeedDialHeader, kSpeedDialCells, PrintFont::List},
    {PrintList::GroupDial, "STR_PRT_TITLE_GROUP_DIAL", kGroupDialHeader, kGroupDialCells, PrintFont::Small},
    {PrintList::Favourite, "STR_PRT_TITLE_FAVORITE", kFavouriteHeader, kFavouriteCells, PrintFont::List},
};

// The lines below the title: the user, an empty telephone line and today's date.
constexpr std::string_view kUserLineKey = "STR_PRT_TXT_USER";
constexpr std::string_view kTelephoneLineKey = "STR_PRT_TXT_TEL";
constexpr std::string_view kDateLineKey = "STR_PRT_TXT_DATE";

std::u16string ListText(const CPrintSource& source, std::string_view key)
{
    return source.texts ? source.texts(key) : EnglishText(key);
}

// The value takes the place of the line's first "%s"; anything else in a translation stands as
// written, so that it can never read values that are not there.
std::u16string WithValue(std::u16string line, std::u16string_view value)
{
    if (const std::size_t field = line.find(u"%s"); field != std::u16string::npos) {
        line.replace(field, 2, value);
    }
    return line;
}

std::int32_t Scaled(double length, std::int32_t dpi)
{
    return static_cast<std::int32_t>(std::lround(length * dpi / kDesignDpi));
}

class CPageWriter
{
public:
    CPageWriter(CPrintDocument& document, const ITextMeasure& measure)
        : m_document(document)
        , m_geometry(document.geometry)
        , m_measure(measure)
    {
    }

    void NewPage() { m_document.pages.emplace_back(); }
    CPrintPage& Page() { return m_document.pages.back(); }

    std::int32_t FontHeight(PrintFont font) const
    {
        return font == PrintFont::List ? m_geometry.listFont : m_geometry.smallFont;
    }

    // A text centred in the rectangle, on one line; one too wide starts at the left inset.
    void Centred(const CPrintRect& rect, PrintFont font, std::u16string_view text)
    {
        if (text.empty()) {
            return;
        }
        const std::int32_t spare = rect.width - m_measure.TextWidth(font, text);
        const std::int32_t left = rect.left + (spare >= 0 ? spare / 2 : Inset());
        const std::int32_t top = rect.top + (rect.height - m_measure.LineHeight(font)) / 2;
        Page().texts.push_back({left, top, font, std::u16string(text)});
    }

    // A text wrapped within the rectangle, as many lines as fit, centred as a block in its height.
    void Wrapped(const CPrintRect& rect, PrintFont font, std::u16string_view text)
    {
        if (text.empty()) {
            return;
        }
        const std::int32_t lineHeight = std::max(1, m_measure.LineHeight(font));
        std::vector<std::u16string> lines = WrapText(text, rect.width - 2 * Inset(), font, m_measure);
        const std::size_t fit = static_cast<std::size_t>(std::max(1, rect.height / lineHeight));
        lines.resize(std::min(lines.size(), fit));
        std::int32_t top = rect.top + (rect.height - static_cast<std::int32_t>(lines.size()) * lineHeight) / 2;
        for (std::u16string& line : lines) {
            Page().texts.push_back({rect.left + Inset(), top, font, std::move(line)});
            top += lineHeight;
        }
    }

    void Frame(const CPrintRect& rect) { Page().frames.push_back(rect); }

    // The title frame, and the user, telephone and date lines below it; returns where the header
    // row starts.
    std::int32_t TitleBlock(const CListForm& form, const CPrintSource& source)
    {
        const std::int32_t unit = m_geometry.horizontalUnit;
        const std::int32_t list = m_geometry.listFont;
        const CPrintRect title{kTitleLeftUnit * unit, list, (kTitleRightUnit - kTitleLeftUnit) * unit, 3 * list};
        Frame(title);
        Centred(title, PrintFont::List, ListText(source, form.titleKey));

        const std::u16string text =
            WithValue(ListText(source, kUserLineKey), source.userName) + u"\n" + ListText(source, kTelephoneLineKey) +
            u"\n" + WithValue(ListText(source, kDateLineKey), FormatSetDate(source.today, source.dateFormat));
        const std::int32_t lineHeight = m_measure.LineHeight(PrintFont::Small);
        std::int32_t top = 4 * list;
        for (std::u16string& line : WrapText(text, m_geometry.columnUnit * kColumnUnits, PrintFont::Small, m_measure)) {
            Page().texts.push_back({m_geometry.left, top, PrintFont::Small, std::move(line)});
            top += lineHeight;
        }
        return top;
    }

    // The header row at top; returns its bottom.
    std::int32_t HeaderRow(const CListForm& form, const CPrintSource& source, std::int32_t top)
    {
        std::int32_t left = m_geometry.left;
        for (const CHeaderColumn& column : form.header) {
            const CPrintRect cell{left, top, column.width * m_geometry.columnUnit, m_geometry.smallFont};
            Frame(cell);
            Centred(cell, PrintFont::Small, ListText(source, column.key));
            left = cell.Right();
        }
        return top + m_geometry.smallFont;
    }

    void Row(const CListForm& form, const CListRow& row, std::int32_t top, std::int32_t height)
    {
        std::int32_t left = m_geometry.left;
        for (std::size_t i = 0; i < form.cells.size(); ++i) {
            const CPrintRect cell{left, top, form.cells[i] * m_geometry.columnUnit, height};
            Frame(cell);
            if (i < row.size()) {
                if (row[i].wrap) {
                    Wrapped(cell, PrintFont::Small, row[i].text);
                } else {
                    Centred(cell, PrintFont::Small, row[i].text);
                }
            }
            left = cell.Right();
        }
        Page().rows.push_back({m_geometry.left, top, left - m_geometry.left, height});
    }

private:
    // Keeps text off the frame lines.
    std::int32_t Inset() const { return 2 * m_geometry.pen; }

    CPrintDocument& m_document;
    const CPageGeometry& m_geometry;
    const ITextMeasure& m_measure;
};

std::span<const std::int32_t>
NumbersOf(const CPrintSelection& selection, PrintList list, std::vector<std::int32_t>& all)
{
    const std::vector<std::int32_t>& chosen = list == PrintList::SpeedDial   ? selection.speedNumbers
                                              : list == PrintList::GroupDial ? selection.groupNumbers
                                                                             : selection.favouriteNumbers;
    if (!chosen.empty()) {
        return chosen;
    }
    all = AllNumbers(list == PrintList::SpeedDial   ? kSpeedDialPrintLimit
                     : list == PrintList::GroupDial ? kGroupDialPrintLimit
                                                    : kFavouritePrintLimit);
    return all;
}

bool Chosen(const CPrintSelection& selection, PrintList list)
{
    switch (list) {
        case PrintList::SpeedDial:
            return selection.speedDial;
        case PrintList::GroupDial:
            return selection.groupDial;
        case PrintList::Favourite:
            return selection.favourite;
    }
    return false;
}

} // namespace

std::vector<std::string> ListTextKeys()
{
    std::vector<std::string> keys = {
        std::string(kUserLineKey), std::string(kTelephoneLineKey), std::string(kDateLineKey)};
    for (const CListForm& form : kForms) {
        keys.emplace_back(form.titleKey);
        for (const CHeaderColumn& column : form.header) {
            keys.emplace_back(column.key);
        }
    }
    return keys;
}

std::int32_t ListFontHeight(std::int32_t dpiY)
{
    return dpiY * 12 / 72;
}

std::int32_t SmallFontHeight(std::int32_t dpiY)
{
    return dpiY * 85 / 720;
}

CPageGeometry PageGeometry(const CPageMetrics& metrics)
{
    CPageGeometry geometry;
    geometry.horizontalUnit = metrics.width / kPageUnits;
    geometry.columnUnit = std::max(
        1, static_cast<std::int32_t>((metrics.width - kSideMargins * metrics.dpiX / kDesignDpi) / kColumnUnits));
    geometry.left = Scaled(kLeft, metrics.dpiX);
    geometry.continuedTop = Scaled(kContinuedTop, metrics.dpiY);
    geometry.bottomLimit = static_cast<std::int32_t>(metrics.height - kBottomMargin * metrics.dpiY / kDesignDpi);
    geometry.pen = std::max(1, Scaled(kPen, metrics.dpiX));
    geometry.listFont = std::max(1, ListFontHeight(metrics.dpiY));
    geometry.smallFont = std::max(1, SmallFontHeight(metrics.dpiY));
    return geometry;
}

std::vector<std::u16string>
WrapText(std::u16string_view text, std::int32_t width, PrintFont font, const ITextMeasure& measure)
{
    std::vector<std::u16string> lines;
    while (true) {
        const std::size_t end = text.find(u'\n');
        std::u16string_view rest = text.substr(0, end);
        if (rest.empty()) {
            lines.emplace_back();
        }
        while (!rest.empty()) {
            // The longest start of the rest that fits, at least one character.
            std::size_t fit = 1;
            while (fit < rest.size() && measure.TextWidth(font, rest.substr(0, fit + 1)) <= width) {
                ++fit;
            }
            if (fit < rest.size()) {
                // Break after the last blank that follows some text, when there is one.
                const std::size_t blank = rest.substr(0, fit + 1).find_last_of(u' ');
                const std::size_t first = rest.find_first_not_of(u' ');
                if (blank != std::u16string_view::npos && blank > first) {
                    fit = blank + 1;
                }
            }
            std::u16string_view line = rest.substr(0, fit);
            rest.remove_prefix(fit);
            while (!line.empty() && line.back() == u' ' && !rest.empty()) {
                line.remove_suffix(1);
            }
            lines.emplace_back(line);
        }
        if (end == std::u16string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

CPrintDocument LayOutLists(const CPrintSource& source,
                           const CPrintSelection& selection,
                           const CPageMetrics& metrics,
                           const ITextMeasure& measure)
{
    CPrintDocument document;
    document.geometry = PageGeometry(metrics);
    const CPageGeometry& geometry = document.geometry;
    CPageWriter writer(document, measure);
    for (const CListForm& form : kForms) {
        if (!Chosen(selection, form.list)) {
            continue;
        }
        std::vector<std::int32_t> all;
        const std::vector<CListRow> rows = ListRows(form.list, source, NumbersOf(selection, form.list, all));
        const std::int32_t rowHeight = 2 * writer.FontHeight(form.rowHeightFont);
        writer.NewPage();
        std::int32_t top = writer.HeaderRow(form, source, writer.TitleBlock(form, source));
        bool rowOnPage = false;
        for (const CListRow& row : rows) {
            // A row alone on its page is printed even when it is taller than the page can hold, so
            // that every page moves the list on.
            if (rowOnPage && top + rowHeight > geometry.bottomLimit) {
                writer.NewPage();
                top = writer.HeaderRow(form, source, geometry.continuedTop);
                rowOnPage = false;
            }
            writer.Row(form, row, top, rowHeight);
            top += rowHeight;
            rowOnPage = true;
        }
    }
    return document;
}

} // namespace qzb
