#pragma once

#include "print/list_rows.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qzb {

enum class PrintFont : std::uint8_t { List, Small };

// Text measured with the fonts the printer actually draws with, in device units.
class ITextMeasure
{
public:
    virtual ~ITextMeasure() = default;
    virtual std::int32_t TextWidth(PrintFont font, std::u16string_view text) const = 0;
    // The distance from one line's top to the next.
    virtual std::int32_t LineHeight(PrintFont font) const = 0;
};

// The printable area of a page in device units and the printer's resolution.
struct CPageMetrics
{
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t dpiX = 600;
    std::int32_t dpiY = 600;
};

// The string table keys of the lists' titles, headings and title block lines.
std::vector<std::string> ListTextKeys();

// Font cell heights: the list font is 12 points, the small font 8.5 points.
std::int32_t ListFontHeight(std::int32_t dpiY);
std::int32_t SmallFontHeight(std::int32_t dpiY);

// The page's lengths in device units. The list was drawn for 600 dots per inch; its fixed offsets
// scale with the resolution so that every printer and a PDF get the same page.
struct CPageGeometry
{
    std::int32_t horizontalUnit = 0; // page width / 78, for the title frame
    std::int32_t columnUnit = 0; // the columns share 120 of these
    std::int32_t left = 0; // where the columns start
    std::int32_t continuedTop = 0; // the header row of a continuation page
    std::int32_t bottomLimit = 0; // no row passes it, unless it is alone on its page
    std::int32_t pen = 0; // frame width
    std::int32_t listFont = 0;
    std::int32_t smallFont = 0;
};
CPageGeometry PageGeometry(const CPageMetrics& metrics);

struct CPrintRect
{
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    std::int32_t Right() const { return left + width; }
    std::int32_t Bottom() const { return top + height; }
    bool operator==(const CPrintRect&) const = default;
};

// A line of text; top is the top of its line, not its baseline.
struct CPrintText
{
    std::int32_t left = 0;
    std::int32_t top = 0;
    PrintFont font = PrintFont::List;
    std::u16string text;
};

struct CPrintPage
{
    std::vector<CPrintRect> frames; // each drawn with the geometry's pen
    std::vector<CPrintText> texts;
    std::vector<CPrintRect> rows; // the data rows placed on the page, for checking breaks
};

struct CPrintDocument
{
    CPageGeometry geometry;
    std::vector<CPrintPage> pages;
};

// The lists chosen for printing and the numbers of each, in printing order.
struct CPrintSelection
{
    bool speedDial = false;
    bool groupDial = false;
    bool favourite = false;
    std::vector<std::int32_t> speedNumbers;
    std::vector<std::int32_t> groupNumbers;
    std::vector<std::int32_t> favouriteNumbers;

    bool Any() const { return speedDial || groupDial || favourite; }
};

// The lines a text takes in a width: broken at its line breaks, then after the last blank that fits,
// or inside a word longer than the width. At least one character goes on each line.
std::vector<std::u16string>
WrapText(std::u16string_view text, std::int32_t width, PrintFont font, const ITextMeasure& measure);

// Every page of the chosen lists: each list starts a page with its title block; a row that would
// pass the bottom limit goes to the next page, which starts with the header row.
CPrintDocument LayOutLists(const CPrintSource& source,
                           const CPrintSelection& selection,
                           const CPageMetrics& metrics,
                           const ITextMeasure& measure);

} // namespace qzb
