#pragma once

#include "print/list_layout.h"

#include <QFont>

class QPagedPaintDevice;
class QPaintDevice;

namespace qzb {

// The list font ("Courier") and the small font ("LinePrinter") at a device's resolution. A face the
// system lacks is replaced by its fixed-pitch font, and faces with Cyrillic and Japanese glyphs back
// it for the characters it lacks; each font is sized so that its line is the cell height the layout
// gives it. Widths are measured with the faces that draw the text.
class CPrintFonts : public ITextMeasure
{
public:
    CPrintFonts(const CPageGeometry& geometry, QPaintDevice* device);

    const QFont& Font(PrintFont font) const { return font == PrintFont::List ? m_list : m_small; }
    std::int32_t Ascent(PrintFont font) const;

    std::int32_t TextWidth(PrintFont font, std::u16string_view text) const override;
    std::int32_t LineHeight(PrintFont font) const override;

private:
    QPaintDevice* m_device;
    QFont m_list;
    QFont m_small;
};

// The device's printable area and resolution.
CPageMetrics DeviceMetrics(const QPaintDevice& device);

// Draws every page of a laid-out document with the fonts it was measured with. False when the
// device cannot be painted on.
bool PaintDocument(QPagedPaintDevice& device, const CPrintDocument& document, const CPrintFonts& fonts);

} // namespace qzb
