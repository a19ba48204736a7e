#pragma once

#include <QDialog>

class QPushButton;

namespace qzb {

class CMessenger;
class CPageView;
struct CAppContext;

// Which address-book lists to print, and for each all numbers or the numbers typed: the model's
// controls with OK and Cancel. OK is enabled only while a list is checked and writes the choices
// to the print settings; Cancel writes nothing.
class CSelectPriItemDlg : public QDialog
{
    Q_OBJECT

public:
    CSelectPriItemDlg(CAppContext& context, CMessenger& messenger, QWidget* parent = nullptr);

    CPageView& View() { return *m_view; }
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void UpdateOk();

    CPageView* m_view = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace qzb
