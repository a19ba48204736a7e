#pragma once

#include "pages/page.h"

#include <QDialog>

class QPushButton;

namespace qzb {

class CMessenger;
class CPageView;

// A modal setting dialog (DNS, FTP, custom paper size and the like) built from its model: the
// controls load from the value store when it opens; OK checks and writes them, Cancel writes
// nothing. A refused check shows its message, focuses the control that holds the bad value and
// keeps the dialog open. Enter presses OK and Escape cancels.
class CSettingDialog : public QDialog
{
    Q_OBJECT

public:
    CSettingDialog(const CPageDef& def, const CPageEnv& env, CMessenger& messenger, QWidget* parent = nullptr);

    CPageView& View() { return *m_view; }

    // OK: writes the values and closes with Accepted, or reports the first failed check and stays.
    void accept() override;

private:
    CMessenger& m_messenger;
    CPageView* m_view = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace qzb
