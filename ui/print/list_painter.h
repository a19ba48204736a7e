#pragma once

#include "base/message_codes.h"
#include "print/list_layout.h"

#include <QFont>

#include <filesystem>
#include <system_error>

class QPageLayout;
class QPagedPaintDevice;
class QPaintDevice;

namespace qzb {

// The list font ("Courier") and the small font ("LinePrinter") at a device's resolution. A face the
// system lacks is replaced by its fixed-pitch font; each font is sized so that its line is the
// cell height the layout gives it.
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

// Lays the chosen lists out for the device and draws every page: a printer, a preview or a PDF
// writer. False when the device cannot be painted on.
bool PaintLists(QPagedPaintDevice& device, const CPrintSource& source, const CPrintSelection& selection);

// Writes the lists as a PDF file of the page layout and resolution; the file is replaced only
// after the whole document was made. kMsgWriteFileError when it cannot be written.
MessageCode WriteListsPdf(const std::filesystem::path& path,
                          const QPageLayout& layout,
                          int resolution,
                          const CPrintSource& source,
                          const CPrintSelection& selection,
                          std::error_code* error = nullptr);

} // namespace qzb
