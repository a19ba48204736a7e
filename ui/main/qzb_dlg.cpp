#include "ui/main/qzb_dlg.h"

#include "app/app_context.h"
#include "app/folders.h"
#include "app/messenger.h"
#include "ui/main/size_ratio.h"

#include <QScreen>

namespace qzb {

namespace {

constexpr int kDesignedWidth = 760;
constexpr int kDesignedHeight = 520;

} // namespace

CQZBDlg::CQZBDlg(CAppContext& context, CMessenger& messenger, QWidget* parent)
    : QMainWindow(parent)
    , m_context(context)
    , m_messenger(messenger)
{
    setObjectName("CQZBDlg");
    setWindowTitle(QString::fromStdU16String(m_messenger.Text("STR_CAPTION")));
    const double dpi = screen() ? screen()->logicalDotsPerInchX() : 0.0;
    resize(ScaleForDisplay(kDesignedWidth, dpi), ScaleForDisplay(kDesignedHeight, dpi));
    ApplySizeRatio(this, m_messenger.SizeRatio("STR_RATIO_DLG_MAIN"));
}

} // namespace qzb
