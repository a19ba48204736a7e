#pragma once

#include "pages/service_man.h"

#include <span>

class QWidget;

namespace qzb {

class CMessenger;

// Sets a dialog's caption (id 0) and the text of each label and button whose "controlId"
// property names a row of the table. A label's buddy field takes the label's text as its accessible
// name.
void ApplyDialogTexts(QWidget* dialog, std::span<const CDialogText> texts, CMessenger& messenger);

} // namespace qzb
