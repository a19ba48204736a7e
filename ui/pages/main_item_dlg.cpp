#include "ui/pages/main_item_dlg.h"

#include "app/app_context.h"
#include "app/english_texts.h"
#include "pages/page_layout.h"
#include "pages/page_registry.h"
#include "ui/pages/page_view.h"

#include <QColor>
#include <QLabel>
#include <QPalette>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace qzb {

namespace {

// The pale yellow of the connection-state band, and the room around its text. A palette rather than
// a style sheet: a style sheet puts a style of its own over the window's, which costs every start.
constexpr QColor kBandColour(255, 255, 200);
constexpr int kBandMargin = 6;
// How many of the tallest and of the widest pages are measured for the window's size.
constexpr std::size_t kMeasuredPages = 2;

} // namespace

QSize CMainItemDlg::LargestPageSize() const
{
    // Building every page costs more of the start than the window's first picture: only the pages
    // with the most rows and the most columns, which make the tallest and widest, are built aside.
    struct CCandidate
    {
        const CPageDef* def;
        CPageLayout layout;
    };
    std::vector<CCandidate> candidates;
    for (const CPageDef* def : PageDefsForModel(m_context.modelBit)) {
        if (def->pageClass != PageClass::SettingDialog) {
            candidates.push_back({def, LayOutPage(def->controls, m_context.modelBit)});
        }
    }
    std::vector<const CPageDef*> measured;
    auto pick = [&candidates, &measured](auto larger) {
        std::sort(candidates.begin(), candidates.end(), larger);
        for (std::size_t i = 0; i < candidates.size() && i < kMeasuredPages; ++i) {
            if (std::find(measured.begin(), measured.end(), candidates[i].def) == measured.end()) {
                measured.push_back(candidates[i].def);
            }
        }
    };
    pick([](const CCandidate& a, const CCandidate& b) { return a.layout.rowCount > b.layout.rowCount; });
    pick([](const CCandidate& a, const CCandidate& b) { return a.layout.lastColumn > b.layout.lastColumn; });

    const CPageEnv env{&m_context.store, &m_context.strings, m_context.modelBit, &m_context.device};
    QSize largest;
    for (const CPageDef* def : measured) {
        CPageView view(*def, env, m_messenger);
        view.Initialise();
        largest = largest.expandedTo(view.ContentSize());
    }
    return largest;
}

CMainItemDlg::CMainItemDlg(CAppContext& context, CMessenger& messenger, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_messenger(messenger)
{
    setObjectName("CMainItemDlg");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_band = new QLabel(this);
    m_band->setObjectName("connectionStateBand");
    m_band->setAutoFillBackground(true);
    QPalette palette = m_band->palette();
    palette.setColor(QPalette::Window, kBandColour);
    m_band->setPalette(palette);
    m_band->setMargin(kBandMargin);
    layout->addWidget(m_band);
    m_stack = new QStackedWidget(this);
    m_stack->setObjectName("pageFrame");
    m_empty = new QWidget(m_stack);
    m_stack->addWidget(m_empty);
    layout->addWidget(m_stack, 1);

    for (const CPageDef* def : PageDefsForModel(m_context.modelBit)) {
        if (def->pageClass == PageClass::Information) {
            m_offered.push_back(def);
        }
    }
    UpdateBand();
}

CPageView* CMainItemDlg::AddPage(const CPageDef& def)
{
    const CPageEnv env{&m_context.store, &m_context.strings, m_context.modelBit, &m_context.device};
    auto* view = new CPageView(def, env, m_messenger, m_stack);
    view->Initialise();
    m_stack->addWidget(view);
    m_pages.push_back(view);
    const std::uint32_t typeCode = def.typeCode;
    connect(view, &CPageView::ControlChanged, this, [this, typeCode](std::int32_t id) {
        emit ControlChanged(typeCode, id);
    });
    return view;
}

MessageCode CMainItemDlg::CreateSettingsPages()
{
    for (const CRegistryRow& row : PageRegistry()) {
        if ((row.typeCode & kSettingsPageBit) == 0 || row.className.empty() ||
            (row.modelMask & m_context.modelBit) == 0) {
            continue;
        }
        const CPageDef* def = FindPageDef(row.typeCode);
        if (def == nullptr) {
            continue; // a page this build does not describe yet
        }
        if (std::find(m_offered.begin(), m_offered.end(), def) == m_offered.end()) {
            m_offered.push_back(def);
        }
    }
    return kOk;
}

CPageView* CMainItemDlg::Page(std::uint32_t typeCode)
{
    return PageWhere([typeCode](const CPageDef& def) { return def.typeCode == typeCode; });
}

CPageView* CMainItemDlg::Page(std::string_view name)
{
    return PageWhere([name](const CPageDef& def) { return def.name == name; });
}

CPageView* CMainItemDlg::PageWhere(const std::function<bool(const CPageDef&)>& wanted)
{
    for (CPageView* view : m_pages) {
        if (wanted(view->Def())) {
            return view;
        }
    }
    // A page is built the first time it is asked for: from the store as it is then.
    for (const CPageDef* def : m_offered) {
        if (wanted(*def)) {
            if (CPageView* view = AddPage(*def)) {
                return view;
            }
            m_creation = kMsgCreatePageErr;
            return nullptr;
        }
    }
    return nullptr;
}

std::size_t CMainItemDlg::CreateOfferedPages()
{
    for (const CPageDef* def : m_offered) {
        Page(def->name);
    }
    return m_pages.size();
}

void CMainItemDlg::ShowPage(std::uint32_t typeCode)
{
    CPageView* view = Page(typeCode);
    if (view != nullptr && m_current != typeCode) {
        view->ResetScroll();
    }
    m_current = typeCode;
    UpdateBand();
}

void CMainItemDlg::ReloadAllPages()
{
    for (CPageView* view : m_pages) {
        view->Reload();
    }
}

void CMainItemDlg::StoreAllPages()
{
    for (CPageView* view : m_pages) {
        view->Commit();
    }
}

CCheckResult CMainItemDlg::CommitPage(std::uint32_t typeCode)
{
    CPageView* view = Page(typeCode);
    if (view == nullptr || view->Def().pageClass != PageClass::Settings) {
        return {};
    }
    const CCheckResult result = view->Commit();
    if (result.Ok()) {
        // A page may write items another page shows (the network switch turns fax forwarding
        // off; the fax country decides paper sizes). The others hold nothing unsaved: a page is
        // committed whenever it is left.
        for (CPageView* other : m_pages) {
            if (other != view) {
                other->Reload();
            }
        }
    }
    return result;
}

void CMainItemDlg::FocusAfterError(std::uint32_t typeCode, const CCheckResult& result)
{
    if (CPageView* view = Page(typeCode)) {
        view->FocusAfterError(result);
    }
}

void CMainItemDlg::SetConnectionState(bool online, bool dataPresent)
{
    m_online = online;
    m_dataPresent = dataPresent;
    UpdateBand();
}

void CMainItemDlg::UpdateBand()
{
    // Without data a page would show the store's initial values (counters of zero): the band alone.
    CPageView* view = m_dataPresent ? Page(m_current) : nullptr;
    m_stack->setCurrentWidget(view != nullptr ? static_cast<QWidget*>(view) : m_empty);
    m_band->setVisible(view == nullptr);
    auto text = [this](std::string_view key) {
        return QString::fromStdU16String(TranslatedText(&m_context.strings, key));
    };
    m_band->setText(text("STR_MAIN_UI_TXT_CONNECT_STATE") + " : " +
                    text(m_online ? "STR_MAIN_UI_TXT_ON_LINE" : "STR_MAIN_UI_TXT_OFF_LINE"));
}

} // namespace qzb
