#pragma once

#include <QRect>
#include <QSize>

class QAbstractScrollArea;
class QDialog;
class QWidget;

namespace qzb {

// Room the window manager's title bar and frame take around a top-level window.
inline constexpr int kFrameRoomWidth = 16;
inline constexpr int kFrameRoomHeight = 60;
// A scrolling part is never made lower than this, even on a screen too small for it.
inline constexpr int kLowestScrollingPart = 200;

// The room a top-level window may take on a screen: the available geometry (without panels and
// docks) less the window manager's frame.
QSize UsableRoom(const QRect& available);

// The size a window opens at: what its content asks for, at least the size it was designed for,
// and never more than the screen leaves. The screen wins over the designed size.
QSize FitWindowToScreen(QSize wanted, QSize designed, const QRect& available);

// The minimum size of a dialog's scrolling part: its whole content while the dialog fits the screen;
// otherwise shortened by what the dialog is over (not below kLowestScrollingPart) and widened by the
// vertical scroll bar it then shows.
QSize FitScrollingPartSize(QSize content, int dialogHeight, int scrollBarWidth, const QRect& available);

// The tree's width: its labels whole, unless that takes more than a third of the window.
int FitTreeWidth(int labelsWidth, int windowWidth);

// Gives a dialog's scrolling part the room its content needs. When the dialog would then be taller
// than the screen its owner is on, the part is shortened (and widened by its scroll bar) so that the
// dialog's buttons stay in reach.
void FitScrollingPart(QDialog& dialog, QAbstractScrollArea& part, QSize content, const QWidget* owner);

} // namespace qzb
