#include "ui/pages/screen_fit.h"

#include <QAbstractScrollArea>
#include <QDialog>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>

namespace qzb {

namespace {

// Room the window manager's title bar and frame take from the screen's height.
constexpr int kFrameRoom = 60;
constexpr int kLowestPart = 200;

} // namespace

void FitScrollingPart(QDialog& dialog, QAbstractScrollArea& part, QSize content, const QWidget* owner)
{
    part.setMinimumSize(content);
    dialog.adjustSize();
    const QScreen* shown = owner != nullptr ? owner->screen() : dialog.screen();
    const int over = shown != nullptr ? dialog.height() - (shown->availableGeometry().height() - kFrameRoom) : 0;
    if (over > 0) {
        part.setMinimumSize(content.width() + part.verticalScrollBar()->sizeHint().width(),
                            std::max(content.height() - over, kLowestPart));
        dialog.adjustSize();
    }
}

} // namespace qzb
