#include "ui/main/toolbar_icons.h"

#include "pages/command_states.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace qzb {

namespace {

constexpr int kSize = 32;

void Plug(QPainter& p, const QColor& colour, bool broken)
{
    p.setPen(QPen(colour.darker(140), 2));
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(4, 11, 10, 10), 2, 2);
    p.drawRoundedRect(QRectF(broken ? 20 : 16, 11, 10, 10), 2, 2);
    p.drawLine(QPointF(1, 16), QPointF(4, 16));
    p.drawLine(QPointF(broken ? 30 : 26, 16), QPointF(31, 16));
    if (broken) {
        p.setPen(QPen(QColor(200, 40, 40), 3));
        p.drawLine(QPointF(14, 8), QPointF(20, 24));
    }
}

void Arrow(QPainter& p, bool up)
{
    p.setPen(QPen(QColor(30, 70, 140), 2));
    p.setBrush(QColor(60, 120, 210));
    QPainterPath arrow;
    if (up) {
        arrow.moveTo(16, 3);
        arrow.lineTo(26, 14);
        arrow.lineTo(20, 14);
        arrow.lineTo(20, 22);
        arrow.lineTo(12, 22);
        arrow.lineTo(12, 14);
        arrow.lineTo(6, 14);
    } else {
        arrow.moveTo(16, 22);
        arrow.lineTo(26, 11);
        arrow.lineTo(20, 11);
        arrow.lineTo(20, 3);
        arrow.lineTo(12, 3);
        arrow.lineTo(12, 11);
        arrow.lineTo(6, 11);
    }
    arrow.closeSubpath();
    p.drawPath(arrow);
    // The device the data travels to or from.
    p.setPen(QPen(QColor(80, 80, 80), 2));
    p.setBrush(QColor(210, 210, 210));
    p.drawRect(QRectF(4, 24, 24, 6));
}

} // namespace

QIcon ToolbarIcon(std::uint32_t command)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (command) {
        case kCmdConnect:
            Plug(p, QColor(80, 170, 80), false);
            break;
        case kCmdDisconnect:
            Plug(p, QColor(160, 160, 160), true);
            break;
        case kCmdUpload:
            Arrow(p, true);
            break;
        case kCmdDownload:
            Arrow(p, false);
            break;
        case kCmdToolbarOpen:
            p.setPen(QPen(QColor(150, 110, 20), 2));
            p.setBrush(QColor(240, 200, 80));
            p.drawRect(QRectF(3, 9, 26, 18));
            p.drawRect(QRectF(3, 6, 10, 4));
            break;
        case kCmdToolbarSave:
            p.setPen(QPen(QColor(20, 40, 90), 2));
            p.setBrush(QColor(50, 90, 170));
            p.drawRect(QRectF(4, 4, 24, 24));
            p.setBrush(QColor(235, 235, 235));
            p.drawRect(QRectF(9, 4, 14, 9));
            break;
        case kCmdChangePassword:
            p.setPen(QPen(QColor(140, 100, 10), 2));
            p.setBrush(QColor(230, 180, 40));
            p.drawEllipse(QRectF(3, 9, 12, 12));
            p.drawLine(QPointF(15, 15), QPointF(29, 15));
            p.drawLine(QPointF(25, 15), QPointF(25, 21));
            p.drawLine(QPointF(21, 15), QPointF(21, 19));
            break;
        default:
            break;
    }
    p.end();
    return QIcon(pixmap);
}

} // namespace qzb
