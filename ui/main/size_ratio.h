#pragma once

class QWidget;

namespace qzb {

// Scales a dialog's direct child controls (position and size) and the dialog itself by the size
// ratio of its translation, truncating each coordinate, keeping the dialog's screen position.
// A ratio outside the sane range leaves the dialog at its designed size.
void ApplySizeRatio(QWidget* dialog, double ratio);

} // namespace qzb
