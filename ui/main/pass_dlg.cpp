#include "ui/main/pass_dlg.h"

#include "app/messenger.h"
#include "model/input_chars.h"
#include "pages/service_man.h"
#include "ui/controls/my_edit.h"
#include "ui/main/dialog_texts.h"
#include "ui/main/password_edit.h"
#include "ui/main/size_ratio.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace qzb {

CPassDlg::CPassDlg(
    CMessenger& messenger, const CValueStore& store, std::u16string expected, bool callerSupplied, QWidget* parent)
    : QDialog(parent)
    , m_messenger(messenger)
    , m_store(store)
    , m_expected(std::move(expected))
{
    setObjectName("CPassDlg");
    setModal(true);
    auto* label = new QLabel(this);
    label->setObjectName("passwordLabel");
    label->setProperty("controlId", 2170);
    m_edit = CreatePasswordEdit(this, "passwordEdit", store, callerSupplied ? kCallerPasswordLimit : kPasswordLimit);
    label->setBuddy(m_edit);
    auto* ok = new QPushButton(this);
    ok->setObjectName("okButton");
    ok->setProperty("controlId", 2172);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CPassDlg::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(m_edit, 0, 1);
    layout->addWidget(ok, 1, 1, Qt::AlignRight);
    ApplyDialogTexts(this, PasswordDialogTexts(), messenger);
    adjustSize();
    ApplySizeRatio(this, messenger.SizeRatio("STR_RATIO_DLG_CHANGE_SERVISMAM_MODE"));
    m_edit->setFocus();
}

void CPassDlg::accept()
{
    const CPasswordCheck check = CheckPassword(m_edit->text().toStdU16String(), m_expected, m_store);
    if (!check.Ok()) {
        m_messenger.ShowMessage(check.code, static_cast<QWidget*>(this));
        m_edit->setFocus(Qt::OtherFocusReason);
        m_edit->selectAll();
        return;
    }
    QDialog::accept();
}

std::u16string CPassDlg::Typed() const
{
    return m_edit->text().toStdU16String();
}

} // namespace qzb
