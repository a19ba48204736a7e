#pragma once

#include "pages/page.h"

#include <QWidget>

#include <cstdint>
#include <functional>
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

    // Offers the settings pages of the model besides the information pages; each is built the first
    // time it is asked for (shown, committed, looked up). Entering service-man mode calls it once.
    MessageCode CreateSettingsPages();
    // Builds every page offered that was not built yet; how many exist then.
    std::size_t CreateOfferedPages();
    // Shows the page of the type code and hides the others; no page shows the band.
    void ShowPage(std::uint32_t typeCode);
    std::uint32_t CurrentType() const { return m_current; }
    // Reloads the pages built so far; one built later loads the store as it is then.
    void ReloadAllPages();
    // Stores every page built so far (one never built holds nothing to store); a page whose checks
    // fail keeps its old values and reports nothing.
    void StoreAllPages();
    // Checks and stores one page; nodes without a page commit nothing.
    CCheckResult CommitPage(std::uint32_t typeCode);
    void FocusAfterError(std::uint32_t typeCode, const CCheckResult& result);
    void SetConnectionState(bool online, bool dataPresent);

    // The view of an offered page, built now if it was not yet; null for a page not offered.
    CPageView* Page(std::uint32_t typeCode);
    CPageView* Page(std::string_view name);
    MessageCode CreationResult() const { return m_creation; }
    // The room the largest page of the model takes, in either mode, scroll area frame included:
    // each page is built aside to be measured and dropped again.
    QSize LargestPageSize() const;

signals:
    void ControlChanged(std::uint32_t typeCode, std::int32_t id);

private:
    CPageView* AddPage(const CPageDef& def);
    CPageView* PageWhere(const std::function<bool(const CPageDef&)>& wanted);
    void UpdateBand();

    CAppContext& m_context;
    CMessenger& m_messenger;
    QLabel* m_band = nullptr;
    QStackedWidget* m_stack = nullptr;
    QWidget* m_empty = nullptr;
    std::vector<const CPageDef*> m_offered; // the pages the host shows when asked, built or not
    std::vector<CPageView*> m_pages; // the pages built so far
    std::uint32_t m_current = 0;
    bool m_online = false;
    bool m_dataPresent = false;
    MessageCode m_creation = kOk;
};

} // namespace qzb
