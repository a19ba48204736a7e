#pragma once

#include <QDialog>

#include <string>

namespace qzb {

class CMessenger;
class CMyEdit;
class CValueStore;
class IPreferences;

// Changes the service-man password: the current one, the new one and the new one retyped. OK runs
// the checks in order and, on the first failure, shows its message and selects the field's text.
// On success the new password applies at once (servicePassword) and is written to the preferences;
// a write that fails is reported, and the new password still applies until the program ends.
class CChangePassDlg : public QDialog
{
    Q_OBJECT

public:
    CChangePassDlg(CMessenger& messenger,
                   const CValueStore& store,
                   IPreferences& preferences,
                   std::u16string& servicePassword,
                   QWidget* parent = nullptr);

    void accept() override;
    // After Accepted: whether the new password reached the preferences.
    bool Saved() const { return m_saved; }

private:
    CMessenger& m_messenger;
    const CValueStore& m_store;
    IPreferences& m_preferences;
    std::u16string& m_servicePassword;
    CMyEdit* m_current = nullptr;
    CMyEdit* m_new = nullptr;
    CMyEdit* m_retype = nullptr;
    bool m_saved = false;
};

} // namespace qzb
