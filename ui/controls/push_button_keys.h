#pragma once

#include <QObject>

class QEvent;

namespace qzb {

// Return and Enter press the push button that has the focus, wherever it stands: in a setting
// dialog, an editor, a message box or on a page of the main window. Anywhere else they go on to
// the focused control and then to the dialog's default button. Installed once on the application,
// so that no dialog can leave a focused Cancel or Details… to the default button's action.
class CPushButtonKeys : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Installs one filter on the running application; a second call does nothing.
    static void Install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace qzb
