#include "ui/pages/setting_dialog.h"

#include "app/messenger.h"
#include "ui/pages/page_view.h"
#include "ui/pages/screen_fit.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qzb {

namespace {

QString Latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CSettingDialog::CSettingDialog(const CPageDef& def, const CPageEnv& env, CMessenger& messenger, QWidget* parent)
    : QDialog(parent)
    , m_messenger(messenger)
{
    setObjectName(Latin1(def.className));
    setModal(true);
    m_view = new CPageView(def, env, messenger, this);
    m_view->SetDialogKeys(true);
    m_view->Initialise();
    setWindowTitle(QString::fromStdU16String(m_view->Model().Text(def.titleKey)));

    const std::u16string okText = m_view->Model().Text("STR_DLG_BTN_SM_OK");
    const std::u16string cancelText = m_view->Model().Text("STR_DLG_BTN_SM_CANCEL");
    m_ok = new QPushButton(QString::fromStdU16String(okText), this);
    m_ok->setObjectName("okButton");
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QString::fromStdU16String(cancelText), this);
    m_cancel->setObjectName("cancelButton");
    connect(m_ok, &QPushButton::clicked, this, &CSettingDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CSettingDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);
    // The view enlarges its controls' room by the dialog's size ratio; the dialog opens showing all of
    // it, unless it is taller than the screen: then the view scrolls, so that OK and Cancel stay in reach.
    FitScrollingPart(*this, *m_view, m_view->ContentSize(), parent);
    setTabOrder(m_ok, m_cancel);
}

void CSettingDialog::accept()
{
    const CCheckResult result = m_view->Commit();
    if (!result.Ok()) {
        m_messenger.ShowMessage(result.code, static_cast<QWidget*>(this), result.inserts);
        m_view->FocusAfterError(result);
        return;
    }
    QDialog::accept();
}

} // namespace qzb
