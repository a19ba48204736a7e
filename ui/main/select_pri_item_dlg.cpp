#include "ui/main/select_pri_item_dlg.h"

#include "app/app_context.h"
#include "print/print_settings.h"
#include "ui/pages/page_view.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace qzb {

CSelectPriItemDlg::CSelectPriItemDlg(CAppContext& context, CMessenger& messenger, QWidget* parent)
    : QDialog(parent)
{
    const CPageDef& def = SelectPrintItemDialog();
    setObjectName(QString::fromLatin1(def.className.data(), static_cast<qsizetype>(def.className.size())));
    setModal(true);
    const CPageEnv env{&context.store, &context.strings, context.modelBit, &context.device};
    m_view = new CPageView(def, env, messenger, this);
    m_view->SetDialogKeys(true);
    m_view->Initialise();
    setWindowTitle(QString::fromStdU16String(m_view->Model().Text(def.titleKey)));

    m_ok = new QPushButton(QString::fromStdU16String(m_view->Model().Text("STR_DLG_BTN_OK")), this);
    m_ok->setObjectName("okButton");
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(QString::fromStdU16String(m_view->Model().Text("STR_DLG_BTN_CANCEL")), this);
    cancel->setObjectName("cancelButton");
    connect(m_ok, &QPushButton::clicked, this, &CSelectPriItemDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CSelectPriItemDlg::reject);
    connect(m_view, &CPageView::ControlChanged, this, &CSelectPriItemDlg::UpdateOk);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);
    m_view->setMinimumSize(m_view->ContentSize());
    adjustSize();
    UpdateOk();
}

void CSelectPriItemDlg::showEvent(QShowEvent* event)
{
    // Polished widgets know their real sizes only now: open showing every control, as large as
    // the controls' room was made.
    const QSize frame = m_view->size() - m_view->viewport()->size();
    m_view->setMinimumSize(m_view->ContentSize().expandedTo(m_view->widget()->size() + frame));
    adjustSize();
    QDialog::showEvent(event);
}

void CSelectPriItemDlg::UpdateOk()
{
    m_ok->setEnabled(SelectPrintItemAccepts(m_view->Model()));
}

void CSelectPriItemDlg::accept()
{
    // Nothing to print: Enter must not close the dialog either.
    if (!SelectPrintItemAccepts(m_view->Model()) || !m_view->Commit().Ok()) {
        return;
    }
    QDialog::accept();
}

} // namespace qzb
