#include "ui/main/change_pass_dlg.h"

#include "app/messenger.h"
#include "app/preferences.h"
#include "pages/service_man.h"
#include "ui/controls/my_edit.h"
#include "ui/main/dialog_texts.h"
#include "ui/main/password_edit.h"
#include "ui/main/size_ratio.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace qzb {

namespace {

QLabel* AddLabel(QWidget* dialog, const char* name, int id, QWidget* field = nullptr)
{
    auto* label = new QLabel(dialog);
    label->setBuddy(field);
    label->setObjectName(name);
    label->setProperty("controlId", id);
    return label;
}

QPushButton* AddButton(QWidget* dialog, const char* name, int id)
{
    auto* button = new QPushButton(dialog);
    button->setObjectName(name);
    button->setProperty("controlId", id);
    return button;
}

} // namespace

CChangePassDlg::CChangePassDlg(CMessenger& messenger,
                               const CValueStore& store,
                               IPreferences& preferences,
                               std::u16string& servicePassword,
                               QWidget* parent)
    : QDialog(parent)
    , m_messenger(messenger)
    , m_store(store)
    , m_preferences(preferences)
    , m_servicePassword(servicePassword)
{
    setObjectName("CChangePassDlg");
    setModal(true);
    m_current = CreatePasswordEdit(this, "currentPasswordEdit", store, kPasswordLimit);
    m_new = CreatePasswordEdit(this, "newPasswordEdit", store, kPasswordLimit);
    m_retype = CreatePasswordEdit(this, "retypePasswordEdit", store, kPasswordLimit);
    QPushButton* ok = AddButton(this, "okButton", 1857);
    ok->setDefault(true);
    QPushButton* cancel = AddButton(this, "cancelButton", 1858);
    connect(ok, &QPushButton::clicked, this, &CChangePassDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CChangePassDlg::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(AddLabel(this, "changePasswordLabel", 1850), 0, 0, 1, 2);
    layout->addWidget(AddLabel(this, "currentPasswordLabel", 1851, m_current), 1, 0);
    layout->addWidget(m_current, 1, 1);
    layout->addWidget(AddLabel(this, "newPasswordLabel", 1853, m_new), 2, 0);
    layout->addWidget(m_new, 2, 1);
    layout->addWidget(AddLabel(this, "retypePasswordLabel", 1855, m_retype), 3, 0);
    layout->addWidget(m_retype, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons, 4, 0, 1, 2);
    ApplyDialogTexts(this, ChangePasswordDialogTexts(), messenger);
    adjustSize();
    ApplySizeRatio(this, messenger.SizeRatio("STR_RATIO_DLG_SM_CHANGE_PASSWORD"));
    m_current->setFocus();
}

void CChangePassDlg::accept()
{
    const std::u16string retyped = m_retype->text().toStdU16String();
    const CPasswordCheck check = CheckPasswordChange(
        m_current->text().toStdU16String(), m_new->text().toStdU16String(), retyped, m_servicePassword, m_store);
    if (!check.Ok()) {
        m_messenger.ShowMessage(check.code,
                                static_cast<QWidget*>(this),
                                std::nullopt,
                                check.insert.empty() ? std::nullopt : std::optional<std::u16string_view>(check.insert));
        CMyEdit* field = check.field == PasswordField::Current ? m_current
                         : check.field == PasswordField::New   ? m_new
                                                               : m_retype;
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
        return;
    }
    m_servicePassword = retyped;
    m_saved = WriteServiceManPassword(m_preferences, retyped);
    if (!m_saved) {
        // The change is not lost: it holds until the program ends, and the user knows it was not kept.
        m_messenger.ShowMessage(kMsgSmPasswordSaveErr, static_cast<QWidget*>(this));
    }
    QDialog::accept();
}

} // namespace qzb
