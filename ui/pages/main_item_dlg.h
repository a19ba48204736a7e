#pragma once

#include "pages/page.h"

#include <QWidget>

#include <cstdint>
#include <vector>

class QLabel;
class QStackedWidget;

namespace qzb {

class CMessenger;
class CPageView;
struct CAppContext;

// Code the host keeps when a settings page could not be created.
inline constexpr MessageCode kMsgCreatePageErr = 0x80020200;

// The page host beside the navigation tree: one view per page, one shown at a time, and the
// connection-state band where no page is shown.
class CMainItemDlg : public QWidget
{
    Q_OBJECT

public:
    // The messenger shows the messages of the setting dialogs the pages open.
    CMainItemDlg(CAppContext& context, CMessenger& messenger, QWidget* parent = nullptr);

    // Creates the settings pages that do not exist yet, in registry order, stopping at the first
    // that fails; 0 or kMsgCreatePageErr. Entering service-man mode calls it once.
    MessageCode CreateSettingsPages();
    // Shows the page of the type code and hides the others; no page shows the band.
    void ShowPage(std::uint32_t typeCode);
    std::uint32_t CurrentType() const { return m_current; }
    void ReloadAllPages();
    // Stores every page; a page whose checks fail keeps its old values and reports nothing.
    void StoreAllPages();
    // Checks and stores one page; nodes without a page commit nothing.
    CCheckResult CommitPage(std::uint32_t typeCode);
    void FocusAfterError(std::uint32_t typeCode, const CCheckResult& result);
    void SetConnectionState(bool online, bool dataPresent);

    CPageView* Page(std::uint32_t typeCode) const;
    CPageView* Page(std::string_view name) const;
    MessageCode CreationResult() const { return m_creation; }

signals:
    void ControlChanged(std::uint32_t typeCode, std::int32_t id);

private:
    CPageView* AddPage(const CPageDef& def);
    void UpdateBand();

    CAppContext& m_context;
    CMessenger& m_messenger;
    QLabel* m_band = nullptr;
    QStackedWidget* m_stack = nullptr;
    QWidget* m_empty = nullptr;
    std::vector<CPageView*> m_pages;
    std::uint32_t m_current = 0;
    bool m_online = false;
    bool m_dataPresent = false;
    MessageCode m_creation = kOk;
};

} // namespace qzb
