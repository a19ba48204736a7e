#include "ui/main/qzb_dlg.h"

#include "app/app_context.h"
#include "app/english_texts.h"
#include "app/folders.h"
#include "app/language_choice.h"
#include "app/last_model.h"
#include "app/messenger.h"
#include "app/rendered_text.h"
#include "device/device_protocol.h"
#include "device/model_detection.h"
#include "model/panel_code.h"
#include "pages/command_states.h"
#include "pages/dial_commands.h"
#include "pages/entry_fax_mail.h"
#include "pages/entry_group.h"
#include "pages/entry_scan.h"
#include "pages/navigation.h"
#include "pages/page_registry.h"
#include "session/command_bar.h"
#include "session/qzb_session.h"
#include "ui/main/change_pass_dlg.h"
#include "ui/main/command_actions.h"
#include "ui/main/dial_registration_view.h"
#include "ui/main/entry_dialog.h"
#include "ui/main/pass_dlg.h"
#include "ui/main/print_lists_command.h"
#include "ui/main/qsettings_preferences.h"
#include "ui/main/size_ratio.h"
#include "ui/main/version_dlg.h"
#include "ui/main/window_ports.h"
#include "ui/pages/main_item_dlg.h"
#include "ui/pages/page_view.h"
#include "ui/pages/screen_fit.h"
#include "ui/pages/setting_dialog.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QUrl>

#include <algorithm>
#include <filesystem>
#include <map>

namespace qzb {

namespace {

constexpr int kDesignedWidth = 760;
constexpr int kDesignedHeight = 520;
constexpr int kMinimumWidth = 500;
constexpr int kMinimumHeight = 400;
// Room around a tree label: the focus frame and the text's margins.
constexpr int kTreeLabelMargin = 16;

// The width the tree needs to show every label of its open branches whole.
int TreeLabelsWidth(QTreeWidget& tree)
{
    const QFontMetrics metrics = tree.fontMetrics();
    int widest = 0;
    for (QTreeWidgetItemIterator it(&tree); *it != nullptr; ++it) {
        int depth = 1; // a top-level node has its branch mark too
        bool open = true;
        for (const QTreeWidgetItem* parent = (*it)->parent(); parent != nullptr; parent = parent->parent()) {
            ++depth;
            open = open && parent->isExpanded();
        }
        if (open) {
            widest = std::max(
                widest, depth * tree.indentation() + metrics.horizontalAdvance((*it)->text(0)) + kTreeLabelMargin);
        }
    }
    return widest + 2 * tree.frameWidth() + tree.verticalScrollBar()->sizeHint().width();
}

} // namespace

CQZBDlg::CQZBDlg(
    CAppContext& context, CMessenger& messenger, IPreferences& preferences, CDeviceProtocol* protocol, QWidget* parent)
    : QMainWindow(parent)
    , m_context(context)
    , m_messenger(messenger)
    , m_preferences(preferences)
    , m_protocol(protocol)
    , m_session(std::make_unique<CQZBSession>(
          context,
          messenger,
          preferences,
          protocol,
          QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString()))
{
    setObjectName("CQZBDlg");
    setWindowTitle(Text("STR_CAPTION"));
    const double dpi = screen() ? screen()->logicalDotsPerInchX() : 0.0;
    resize(ScaleForDisplay(kDesignedWidth, dpi), ScaleForDisplay(kDesignedHeight, dpi));
    setMinimumSize(ScaleForDisplay(kMinimumWidth, dpi), ScaleForDisplay(kMinimumHeight, dpi));

    auto* splitter = m_splitter = new QSplitter(this);
    splitter->setObjectName("mainSplitter");
    m_tree = new QTreeWidget(splitter);
    m_tree->setObjectName("navigationTree");
    m_tree->setHeaderHidden(true);
    m_tree->setAccessibleName(Text("STR_MAIN_UI_TXT_NAVIGATION"));
    m_right = new QStackedWidget(splitter);
    m_right->setObjectName("rightPane");
    m_host = new CMainItemDlg(m_context, m_messenger, m_right);
    m_right->addWidget(m_host);
    splitter->addWidget(m_tree);
    splitter->addWidget(m_right);
    splitter->setStretchFactor(1, 1);
    // Names are converted by the panel language, which the machine page writes as soon as it is
    // chosen: the directory is redrawn then, not only at the next store.
    connect(m_host, &CMainItemDlg::ControlChanged, this, [this] {
        if (PanelLanguage(m_context.store) != m_drawnPanelLanguage) {
            RefreshDialBranch();
        }
    });
    splitter->setSizes({220, 540});
    setCentralWidget(splitter);

    m_ports = std::make_unique<CWindowPorts>(
        *this, m_context, m_protocol, [this] { return m_host; }, [this] { UpdateCommandStates(); });
    m_session->SetPages(m_ports.get());
    m_session->SetFiles(m_ports.get());
    m_session->SetTransfers(m_ports.get());
    m_session->SetViews(m_ports.get());
    m_session->SetOwner(this);
    m_print = std::make_unique<CPrintListsCommand>(*this, m_context, m_messenger, *m_session);
    m_commands = std::make_unique<CCommandActions>(
        *this,
        [this](std::string_view key) { return Text(key); },
        CCommandActions::CHandlers{[this](std::uint32_t command) { RunCommand(command); },
                                   [this] { CompareWithDevice(); },
                                   [this] { About(QApplication::keyboardModifiers()); },
                                   [this](std::string_view code) { ChooseLanguage(code); }});
    m_commands->CheckLanguage(m_context.language);
    BuildTree();
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &CQZBDlg::OnCurrentItemChanged);
    connect(
        this,
        &CQZBDlg::SenseFailed,
        this,
        [this](MessageCode code) { Apply(m_session->SenseFailed(code)); },
        Qt::QueuedConnection);
    if (m_protocol != nullptr) {
        // The sense thread only posts; the window acts on its own thread.
        m_protocol->SetFailureReport([this](MessageCode code) { emit SenseFailed(code); });
    }
    UpdateCommandStates();
    ApplySizeRatio(this, m_messenger.SizeRatio("STR_RATIO_DLG_MAIN"));
    m_designed = size();
}

void CQZBDlg::showEvent(QShowEvent* event)
{
    // Sized once, when the window first opens on its screen; the user's size stays after that.
    if (!m_fitted) {
        m_fitted = true;
        FitToScreen();
    }
    QMainWindow::showEvent(event);
}

void CQZBDlg::FitToScreen()
{
    const QScreen* shown = screen();
    if (shown == nullptr) {
        return;
    }
    const QSize page = m_host->LargestPageSize();
    const int labels = FitTreeWidth(TreeLabelsWidth(*m_tree), UsableRoom(shown->availableGeometry()).width());
    // The menu bar, the toolbar and the status bar above and below the tree and the page.
    const int bars = std::max(0, sizeHint().height() - centralWidget()->sizeHint().height());
    const QSize wanted(labels + m_splitter->handleWidth() + page.width(), bars + page.height());
    const QSize fitted = FitWindowToScreen(wanted, m_designed, shown->availableGeometry());
    resize(fitted);
    m_splitter->setSizes({labels, fitted.width() - labels - m_splitter->handleWidth()});
}

void CQZBDlg::FitTree()
{
    // The tree widens for its labels (service-man mode brings longer ones), the page gives the room.
    const QList<int> sizes = m_splitter->sizes();
    const int total = width() - m_splitter->handleWidth();
    const int tree = FitTreeWidth(TreeLabelsWidth(*m_tree), width());
    if (sizes.size() == 2 && tree > sizes[0]) {
        m_splitter->setSizes({tree, total - tree});
    }
}

CQZBDlg::~CQZBDlg()
{
    if (m_protocol != nullptr) {
        m_protocol->SetFailureReport({});
    }
}

QString CQZBDlg::Text(std::string_view key) const
{
    return QString::fromStdU16String(TranslatedText(&m_context.strings, key));
}

QAction* CQZBDlg::CommandAction(std::uint32_t command) const
{
    return m_commands->Action(command);
}

void CQZBDlg::ChooseLanguage(std::string_view code)
{
    CQSettingsPreferences launcher{std::string(kLauncherKeyPath)};
    launcher.WriteText(kPrefLanguage, std::u16string(code.begin(), code.end()));
    m_commands->CheckLanguage(code);
    // The window keeps its texts until it starts again: pages and dialogs hold them already.
    statusBar()->showMessage(code == m_context.language ? QString() : Text("STR_LANGUAGE_AT_NEXT_START"));
}

void CQZBDlg::About(Qt::KeyboardModifiers modifiers)
{
    const AboutAction action =
        m_session->About((modifiers & Qt::ControlModifier) != 0, (modifiers & Qt::ShiftModifier) != 0);
    if (action == AboutAction::AboutBox) {
        CVersionDlg about(m_messenger, m_context.modelBit, this);
        about.exec();
        return;
    }
    CPassDlg password(m_messenger, m_context.store, m_session->ServiceManPassword(), false, this);
    if (password.exec() == QDialog::Accepted) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        EnterServiceMan(password.Typed());
        QApplication::restoreOverrideCursor();
    }
}

void CQZBDlg::BuildTree()
{
    const bool blocked = m_tree->blockSignals(true);
    m_tree->clear();
    std::vector<QTreeWidgetItem*> items;
    for (const CTreeNode& node : BuildNavigationTree(m_context.modelBit, m_session->ServiceMan())) {
        auto* item = node.parent < 0 ? new QTreeWidgetItem(m_tree)
                                     : new QTreeWidgetItem(items[static_cast<std::size_t>(node.parent)]);
        item->setText(0, Text(node.node->textKey));
        item->setToolTip(0, item->text(0)); // the whole label where the tree is too narrow for it
        item->setData(0, Qt::UserRole, static_cast<quint32>(node.node->typeCode));
        item->setExpanded(true);
        items.push_back(item);
    }
    AddDialSlots();
    m_tree->setCurrentItem(nullptr);
    m_tree->blockSignals(blocked);
    m_host->ShowPage(0);
    m_right->setCurrentWidget(m_host);
    if (m_fitted) {
        FitTree();
    }
}

CDialTexts CQZBDlg::DialTexts() const
{
    CDialTexts texts;
    texts.text = TranslatedTexts(m_context.strings);
    texts.panelLanguage = PanelLanguage(m_context.store);
    return texts;
}

QTreeWidgetItem* CQZBDlg::FindTreeItem(std::uint32_t value) const
{
    for (QTreeWidgetItemIterator it(m_tree); *it != nullptr; ++it) {
        if ((*it)->data(0, Qt::UserRole).toUInt() == value) {
            return *it;
        }
    }
    return nullptr;
}

void CQZBDlg::AddDialSlots()
{
    m_drawnPanelLanguage = PanelLanguage(m_context.store);
    // The slots of the dial registration branch hang under their nodes, collapsed.
    const CDialTexts texts = DialTexts();
    for (const std::uint32_t node : {kDialFaxMailNode, kDialScanNode, kDialGroupNode, kDialFavouriteNode}) {
        QTreeWidgetItem* parent = FindTreeItem(node);
        if (parent == nullptr) {
            continue;
        }
        std::map<std::uint32_t, QTreeWidgetItem*> made{{node, parent}};
        for (const CDialTreeItem& slot : DialSlotItems(node, m_context.device.book, texts)) {
            const auto owner = made.find(slot.parent);
            auto* item = new QTreeWidgetItem(owner != made.end() ? owner->second : parent);
            item->setText(0, QString::fromStdU16String(slot.label));
            item->setToolTip(0, item->text(0));
            item->setData(0, Qt::UserRole, static_cast<quint32>(slot.value));
            made[slot.value] = item;
        }
        parent->setExpanded(false);
    }
}

CEntryDialog* CQZBDlg::NewEntryDialog(const CDialCommand& command)
{
    const CEntryEnv env{&m_context.store, &m_context.strings, m_context.modelBit};
    CAddressBook& book = m_context.device.book;
    std::unique_ptr<IEntryEditing> editing;
    switch (command.editor) {
        case DialEditor::FaxMail:
            editing = std::make_unique<CEntryEditing<CFaxMailEditor>>(book, command.number, env);
            break;
        case DialEditor::Scan:
            editing = std::make_unique<CEntryEditing<CScanEditor>>(book, command.number, env);
            break;
        case DialEditor::GroupName:
            editing = std::make_unique<CEntryEditing<CGroupNameEditor>>(book, command.number, env);
            break;
        case DialEditor::Favourite:
            editing = std::make_unique<CEntryEditing<CFavouriteEditor>>(book, command.number, env);
            break;
        case DialEditor::None:
            return nullptr;
    }
    return new CEntryDialog(std::move(editing), book, m_context, m_messenger, this);
}

void CQZBDlg::OpenEntryEditor(const CDialCommand& command)
{
    const std::unique_ptr<CEntryDialog> dialog(NewEntryDialog(command));
    if (dialog == nullptr || dialog->exec() != QDialog::Accepted) {
        return;
    }
    RefreshDialBranch();
    if (QTreeWidgetItem* edited = FindTreeItem(DialItemOfEdited(command))) {
        m_tree->setCurrentItem(edited);
    }
}

bool CQZBDlg::ShowEntryEditor(const CDialCommand& command)
{
    CEntryDialog* dialog = NewEntryDialog(command);
    if (dialog == nullptr) {
        return false;
    }
    CloseShownDialog();
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    m_shownDialog = dialog;
    return true;
}

void CQZBDlg::CloseShownDialog()
{
    // Closing rejects: neither a setting dialog nor an editor writes anything then.
    if (m_shownDialog != nullptr) {
        m_shownDialog->close();
    }
    m_shownDialog = nullptr;
}

void CQZBDlg::RefreshDialBranch()
{
    // Labels and group members follow the book; the selection stays where it is, or moves up to
    // what the book still has (the group of a deleted member).
    const CAddressBook& book = m_context.device.book;
    const std::uint32_t selected = DialItemStillShown(
        m_tree->currentItem() != nullptr ? m_tree->currentItem()->data(0, Qt::UserRole).toUInt() : 0, book);
    const bool blocked = m_tree->blockSignals(true);
    for (const std::uint32_t node : {kDialFaxMailNode, kDialScanNode, kDialGroupNode, kDialFavouriteNode}) {
        if (QTreeWidgetItem* parent = FindTreeItem(node)) {
            const bool expanded = parent->isExpanded();
            qDeleteAll(parent->takeChildren());
            parent->setExpanded(expanded);
        }
    }
    AddDialSlots();
    if (QTreeWidgetItem* again = FindTreeItem(selected)) {
        m_tree->setCurrentItem(again);
    }
    m_tree->blockSignals(blocked);
    if (m_dialView != nullptr) {
        m_dialView->ShowItem(DialItemStillShown(m_dialView->Item(), book));
    }
}

CDialRegistrationView* CQZBDlg::DialView()
{
    if (m_dialView != nullptr) {
        return m_dialView;
    }
    // Built when a list is first shown: the first picture of the window needs none.
    m_dialView = new CDialRegistrationView(m_context, m_messenger, m_right);
    m_right->addWidget(m_dialView);
    connect(m_dialView, &CDialRegistrationView::BookChanged, this, [this] { Apply(m_session->BookEdited()); });
    connect(m_dialView, &CDialRegistrationView::EditorRequested, this, &CQZBDlg::OpenEntryEditor);
    connect(m_dialView, &CDialRegistrationView::TreeFocusRequested, this, [this] { m_tree->setFocus(); });
    connect(m_dialView, &CDialRegistrationView::RowSelected, this, [this](std::uint32_t item) {
        if (QTreeWidgetItem* row = FindTreeItem(item)) {
            m_tree->setCurrentItem(row);
        }
    });
    connect(m_dialView, &CDialRegistrationView::JumpRequested, this, [this](const CDialRadioJump& jump) {
        if (QTreeWidgetItem* collapse = FindTreeItem(jump.collapse)) {
            collapse->setExpanded(false);
        }
        if (QTreeWidgetItem* select = FindTreeItem(jump.select)) {
            select->setExpanded(true);
            m_tree->setCurrentItem(select);
        }
    });
    return m_dialView;
}
void CQZBDlg::UpdateCommandStates()
{
    const std::uint32_t state = m_session->StateWord();
    const bool busy = m_session->Busy();
    m_commands->Apply(ToolbarRowStates(state, busy),
                      FileMenuRowStates(state, busy),
                      DeviceMenuRowStates(state, busy),
                      m_session->ServiceMan(),
                      m_session->CanCompareWithDevice());
    m_host->SetConnectionState(m_session->Online(), m_session->DataPresent());
}

std::uint32_t CQZBDlg::StateWord() const
{
    return m_session->StateWord();
}

const std::filesystem::path& CQZBDlg::CurrentFile() const
{
    return m_session->CurrentFile();
}

std::filesystem::path CQZBDlg::DataFolder() const
{
    return m_session->DataFolder();
}

void CQZBDlg::SetLookOnly(bool lookOnly)
{
    m_session->SetLookOnly(lookOnly);
}

MessageCode CQZBDlg::Apply(const CSessionOutcome& outcome)
{
    using namespace SessionChange;
    if ((outcome.changes & kModel) != 0) {
        RecreatePageHost();
        m_host->ReloadAllPages();
        // The status bar said which model the window started as; it runs as the file's now.
        if (auto* notice = findChild<QLabel*>("modelNotice")) {
            notice->setText(
                QString::fromStdString(RenderTextUtf8(FileModelNotice(m_context.modelCode), &m_context.strings)));
        }
    }
    if ((outcome.changes & kServiceMan) != 0) {
        if (const MessageCode created = m_host->CreateSettingsPages(); created != kOk) {
            m_messenger.ShowMessage(created, this);
        }
        m_host->ReloadAllPages();
    }
    if ((outcome.changes & kTree) != 0) {
        BuildTree();
    } else if ((outcome.changes & kBook) != 0) {
        RefreshDialBranch();
    }
    if ((outcome.changes & kFile) != 0) {
        setWindowTitle(Text("STR_CAPTION") + ' ' +
                       QString::fromStdString(m_session->CurrentFile().filename().string()));
    }
    UpdateCommandStates();
    if ((outcome.changes & kSelectFirst) != 0) {
        m_tree->setCurrentItem(m_tree->topLevelItem(0));
        m_tree->setFocus();
    } else if ((outcome.changes & kCommands) != 0) {
        // The banner of a node without a page of its own tells the connection state.
        m_host->ShowPage(m_host->CurrentType());
    }
    return outcome.code;
}

void CQZBDlg::PrintLists()
{
    m_print->Run();
}

void CQZBDlg::SetInstalledPrinters(const IInstalledPrinters* printers)
{
    m_print->SetInstalledPrinters(printers);
}

MessageCode CQZBDlg::Connect()
{
    return Apply(m_session->Connect());
}

MessageCode CQZBDlg::Disconnect()
{
    return Apply(m_session->Disconnect());
}

MessageCode CQZBDlg::Download()
{
    return Apply(m_session->Download());
}

MessageCode CQZBDlg::Upload()
{
    return Apply(m_session->Upload());
}

void CQZBDlg::OpenSettingsFile()
{
    Apply(m_session->Open());
}

void CQZBDlg::SaveSettingsFile()
{
    Apply(m_session->Save());
}

void CQZBDlg::SaveSettingsFileAs()
{
    Apply(m_session->SaveAs());
}

void CQZBDlg::CompareWithDevice()
{
    Apply(m_session->CompareWithDevice());
}

void CQZBDlg::ImportCsvFile()
{
    Apply(m_session->ImportCsv());
}

void CQZBDlg::ExportCsvFile()
{
    Apply(m_session->ExportCsv());
}

void CQZBDlg::ImportContactsFile()
{
    Apply(m_session->ImportContacts());
}

void CQZBDlg::ExportContactsFile()
{
    Apply(m_session->ExportContacts());
}

void CQZBDlg::RestoreBackup()
{
    Apply(m_session->RestoreBackup());
}

void CQZBDlg::RecreatePageHost()
{
    delete m_host;
    m_host = new CMainItemDlg(m_context, m_messenger, m_right);
    m_right->insertWidget(0, m_host);
    if (m_session->ServiceMan()) {
        m_host->CreateSettingsPages();
    }
}

void CQZBDlg::RunCommand(std::uint32_t command)
{
    switch (command) {
        case kCmdConnect:
            Connect();
            break;
        case kCmdDisconnect:
            Disconnect();
            break;
        case kCmdDownload:
            Download();
            break;
        case kCmdUpload:
            Upload();
            break;
        case kCmdExit:
            close();
            break;
        case kCmdOpen:
        case kCmdToolbarOpen:
            OpenSettingsFile();
            break;
        case kCmdSave:
        case kCmdToolbarSave:
            SaveSettingsFile();
            break;
        case kCmdSaveAs:
            SaveSettingsFileAs();
            break;
        case kCmdDialImport:
            ImportCsvFile();
            break;
        case kCmdDialExport:
            ExportCsvFile();
            break;
        case kCmdContactsImport:
            ImportContactsFile();
            break;
        case kCmdContactsExport:
            ExportContactsFile();
            break;
        case kCmdRestoreBackup:
            RestoreBackup();
            break;
        case kCmdPrint:
            PrintLists();
            break;
        case kCmdChangePassword: {
            std::u16string password = m_session->ServiceManPassword();
            CChangePassDlg change(m_messenger, m_context.store, m_preferences, password, this);
            change.exec();
            m_session->SetServiceManPassword(password);
            break;
        }
        case kCmdHelpTopics:
            if (const std::filesystem::path help = m_session->HelpFile(); !help.empty()) {
                QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(help.string())));
            }
            break;
        default:
            break;
    }
}

bool CQZBDlg::EnterServiceMan(std::u16string_view password)
{
    const CSessionOutcome outcome = m_session->EnterServiceMan(password);
    Apply(outcome);
    return outcome.code == kOk;
}

bool CQZBDlg::SelectPage(std::string_view name)
{
    if (const CDialList* list = FindDialList(name)) {
        return SelectNode(list->node);
    }
    const CPageDef* def = FindPageDef(name);
    if (def == nullptr) {
        return false;
    }
    if (def->pageClass == PageClass::SettingDialog) {
        const CPageDef* page = PageOpeningDialog(name, m_context.modelBit);
        if (page == nullptr || !SelectPage(page->name)) {
            return false;
        }
        CPageView* view = m_host->Page(page->typeCode);
        CPageEnv env = view->Model().Env();
        env.opener = &view->Model();
        auto* dialog = new CSettingDialog(*def, env, m_messenger, this);
        CloseShownDialog();
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->show();
        m_shownDialog = dialog;
        return true;
    }
    return def->typeCode != 0 && SelectNode(def->typeCode) && m_host->CurrentType() == def->typeCode;
}

bool CQZBDlg::SelectNode(std::uint32_t typeCode)
{
    for (QTreeWidgetItemIterator it(m_tree); *it != nullptr; ++it) {
        if ((*it)->data(0, Qt::UserRole).toUInt() == typeCode) {
            m_tree->setCurrentItem(*it);
            return m_tree->currentItem() == *it;
        }
    }
    return false;
}

QPixmap CQZBDlg::Picture()
{
    const QPixmap window = grab();
    if (m_shownDialog == nullptr) {
        return window;
    }
    // The dialog over the window's middle, the picture grown where the dialog is the larger.
    // Sizes in device-independent pixels, so that a scaled screen (200%) draws both at one scale.
    const QPixmap dialog = m_shownDialog->grab();
    const QSize windowSize = window.deviceIndependentSize().toSize();
    const QSize dialogSize = dialog.deviceIndependentSize().toSize();
    const QSize size(std::max(windowSize.width(), dialogSize.width() + 40),
                     std::max(windowSize.height(), dialogSize.height() + 40));
    QPixmap picture(size * window.devicePixelRatio());
    picture.setDevicePixelRatio(window.devicePixelRatio());
    picture.fill(palette().color(QPalette::Window));
    QPainter painter(&picture);
    painter.drawPixmap(0, 0, window);
    const int left = (size.width() - dialogSize.width()) / 2;
    const int top = (size.height() - dialogSize.height()) / 2;
    painter.drawPixmap(left, top, dialog);
    painter.setPen(QPen(Qt::darkGray, 1));
    painter.drawRect(left, top, dialogSize.width() - 1, dialogSize.height() - 1);
    return picture;
}

void CQZBDlg::OnCurrentItemChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous)
{
    if (m_reverting) {
        return;
    }
    // Leaving a settings page checks and stores it; a failure keeps the page, and the tree keeps
    // pointing at it. A mouse press selects the clicked item after this returns, so the selection
    // is put back once more when the click is done.
    if (!m_session->LeavePage(m_host->CurrentType())) {
        const std::uint32_t shown = previous != nullptr ? previous->data(0, Qt::UserRole).toUInt() : 0;
        SelectShownItem(previous);
        QTimer::singleShot(0, this, [this, shown] { SelectShownItem(FindTreeItem(shown)); });
        return;
    }
    const std::uint32_t value = current != nullptr ? current->data(0, Qt::UserRole).toUInt() : 0;
    const std::int64_t type = current != nullptr ? PageTypeOfItem(value) : 0;
    // The dial registration root and the speed dial node have no list: the page host shows the
    // connection band there.
    if (DecodeDialItem(value).kind != DialItemKind::None && DialItemHasList(value)) {
        m_host->ShowPage(0);
        DialView()->ShowItem(value);
        m_right->setCurrentWidget(m_dialView);
        return;
    }
    m_host->ShowPage(type > 0 ? static_cast<std::uint32_t>(type) : 0);
    m_right->setCurrentWidget(m_host);
}

void CQZBDlg::SelectShownItem(QTreeWidgetItem* item)
{
    if (item == nullptr) {
        return;
    }
    m_reverting = true;
    m_tree->setCurrentItem(item);
    m_tree->selectionModel()->select(m_tree->currentIndex(), QItemSelectionModel::ClearAndSelect);
    m_reverting = false;
}

void CQZBDlg::closeEvent(QCloseEvent* event)
{
    if (m_session->Close()) {
        event->accept();
    } else {
        event->ignore();
    }
}

} // namespace qzb
