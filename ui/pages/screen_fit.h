#pragma once

#include <QSize>

class QAbstractScrollArea;
class QDialog;
class QWidget;

namespace qzb {

// Gives a dialog's scrolling part the room its content needs. When the dialog would then be taller
// than the screen its owner is on, the part is shortened (and widened by its scroll bar) so that the
// dialog's buttons stay in reach.
void FitScrollingPart(QDialog& dialog, QAbstractScrollArea& part, QSize content, const QWidget* owner);

} // namespace qzb
