#pragma once

#include <QDialog>

#include <string>

namespace qzb {

class CMessenger;
class CMyEdit;
class CValueStore;

// The password dialog: one masked edit and OK. It closes with Accepted only when the text equals the
// expected password; otherwise it shows the message, selects the text and stays open. Enter acts as
// OK, Escape closes it with Rejected.
class CPassDlg : public QDialog
{
    Q_OBJECT

public:
    // expected: the service-man password, or the password a page supplies (callerSupplied), which
    // limits the edit to 4 characters instead of 8.
    CPassDlg(CMessenger& messenger,
             const CValueStore& store,
             std::u16string expected,
             bool callerSupplied = false,
             QWidget* parent = nullptr);

    void accept() override;
    // The password as typed.
    std::u16string Typed() const;

private:
    CMessenger& m_messenger;
    const CValueStore& m_store;
    std::u16string m_expected;
    CMyEdit* m_edit = nullptr;
};

} // namespace qzb
