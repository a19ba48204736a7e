#pragma once

#include <QMainWindow>

namespace qzb {

class CMessenger;
struct CAppContext;

// The utility's only top-level window. Navigation tree, toolbar, menu and pages come with the
// main-window work; for now it is the captioned, resizable frame scaled by its size ratio.
class CQZBDlg : public QMainWindow
{
    Q_OBJECT

public:
    CQZBDlg(CAppContext& context, CMessenger& messenger, QWidget* parent = nullptr);

private:
    CAppContext& m_context;
    CMessenger& m_messenger;
};

} // namespace qzb
