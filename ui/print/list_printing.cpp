#include "ui/print/list_printing.h"

#include "base/atomic_file.h"
#include "ui/print/list_painter.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPdfWriter>

#include <span>

namespace qzb {

bool PaintLists(QPagedPaintDevice& device, const CPrintSource& source, const CPrintSelection& selection)
{
    const CPageMetrics metrics = DeviceMetrics(device);
    const CPrintFonts fonts(PageGeometry(metrics), &device);
    return PaintDocument(device, LayOutLists(source, selection, metrics, fonts), fonts);
}

MessageCode WriteListsPdf(const std::filesystem::path& path,
                          const QPageLayout& layout,
                          int resolution,
                          const CPrintSource& source,
                          const CPrintSelection& selection,
                          std::error_code* error)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(layout);
        writer.setResolution(resolution);
        writer.setCreator(QStringLiteral("qzb"));
        if (!PaintLists(writer, source, selection)) {
            return kMsgWriteFileError;
        }
    }
    const QByteArray& bytes = buffer.data();
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    if (!WriteFileAtomically(path, std::span(data, static_cast<std::size_t>(bytes.size())), error)) {
        return kMsgWriteFileError;
    }
    return kOk;
}

} // namespace qzb
