#include "ui/pages/screen_fit.h"

#include <QAbstractScrollArea>
#include <QDialog>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>

namespace qzb {

QSize UsableRoom(const QRect& available)
{
    return {std::max(0, available.width() - kFrameRoomWidth), std::max(0, available.height() - kFrameRoomHeight)};
}

QSize FitWindowToScreen(QSize wanted, QSize designed, const QRect& available)
{
    return wanted.expandedTo(designed).boundedTo(UsableRoom(available));
}

QSize FitScrollingPartSize(QSize content, int dialogHeight, int scrollBarWidth, const QRect& available)
{
    const int over = dialogHeight - UsableRoom(available).height();
    if (over <= 0) {
        return content;
    }
    return {content.width() + scrollBarWidth, std::max(content.height() - over, kLowestScrollingPart)};
}

int FitTreeWidth(int labelsWidth, int windowWidth)
{
    return std::min(labelsWidth, windowWidth / 3);
}

void FitScrollingPart(QDialog& dialog, QAbstractScrollArea& part, QSize content, const QWidget* owner)
{
    part.setMinimumSize(content);
    dialog.adjustSize();
    const QScreen* shown = owner != nullptr ? owner->screen() : dialog.screen();
    if (shown == nullptr) {
        return;
    }
    const QSize fitted = FitScrollingPartSize(
        content, dialog.height(), part.verticalScrollBar()->sizeHint().width(), shown->availableGeometry());
    if (fitted != content) {
        part.setMinimumSize(fitted);
        dialog.adjustSize();
    }
}

} // namespace qzb
