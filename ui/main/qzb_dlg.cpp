#include "ui/main/qzb_dlg.h"

#include "app/app_context.h"
#include "app/english_texts.h"
#include "app/folders.h"
#include "app/messenger.h"
#include "app/preferences.h"
#include "device/device_protocol.h"
#include "files/dat_file.h"
#include "model/panel_code.h"
#include "pages/command_states.h"
#include "pages/dial_commands.h"
#include "pages/entry_fax_mail.h"
#include "pages/entry_group.h"
#include "pages/entry_scan.h"
#include "pages/navigation.h"
#include "pages/page_registry.h"
#include "pages/state_diff.h"
#include "ui/main/change_pass_dlg.h"
#include "ui/main/dial_registration_view.h"
#include "ui/main/entry_dialog.h"
#include "ui/main/pass_dlg.h"
#include "ui/main/size_ratio.h"
#include "ui/main/toolbar_icons.h"
#include "ui/main/version_dlg.h"
#include "ui/pages/main_item_dlg.h"
#include "ui/pages/page_view.h"
#include "ui/pages/setting_dialog.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QToolBar>
#include <QTreeWidget>
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

// Commands this window carries out so far; the others stay out of the toolbar and menus.
bool Implemented(std::uint32_t command)
{
    switch (command) {
        case kCmdConnect:
        case kCmdDisconnect:
        case kCmdUpload:
        case kCmdDownload:
        case kCmdExit:
        case kCmdHelpTopics:
        case kCmdChangePassword:
        case kCmdOpen:
        case kCmdSave:
        case kCmdSaveAs:
        case kCmdDialImport:
        case kCmdDialExport:
        case kCmdPrint:
        case kCmdToolbarOpen:
        case kCmdToolbarSave:
        case kCmdSeparator:
            return true;
        default:
            return false;
    }
}

QString ActionName(std::string_view textKey)
{
    // "STR_TB_CONNECT" -> "connectAction", "STR_MENU_HELP_TOPICS" -> "helpTopicsAction"
    std::string_view stem = textKey;
    for (const std::string_view prefix : {"STR_TB_SM_", "STR_TB_", "STR_MENU_SM_", "STR_MENU_"}) {
        if (stem.starts_with(prefix)) {
            stem.remove_prefix(prefix.size());
            break;
        }
    }
    QString name;
    bool upper = false;
    for (const char c : stem) {
        if (c == '_') {
            upper = true;
            continue;
        }
        const QChar ch = QChar::fromLatin1(c);
        name += upper ? ch.toUpper() : ch.toLower();
        upper = false;
    }
    return name + "Action";
}

void ApplyState(QAction* action, CommandState state, std::uint32_t command, bool busy)
{
    const bool visible = state != CommandState::Hidden && Implemented(command);
    action->setVisible(visible);
    action->setEnabled(state == CommandState::Enabled && !busy);
}

} // namespace

CQZBDlg::CQZBDlg(
    CAppContext& context, CMessenger& messenger, IPreferences& preferences, CDeviceProtocol* protocol, QWidget* parent)
    : QMainWindow(parent)
    , m_context(context)
    , m_messenger(messenger)
    , m_preferences(preferences)
    , m_protocol(protocol)
{
    setObjectName("CQZBDlg");
    setWindowTitle(Text("STR_CAPTION"));
    const double dpi = screen() ? screen()->logicalDotsPerInchX() : 0.0;
    resize(ScaleForDisplay(kDesignedWidth, dpi), ScaleForDisplay(kDesignedHeight, dpi));
    setMinimumSize(ScaleForDisplay(kMinimumWidth, dpi), ScaleForDisplay(kMinimumHeight, dpi));

    auto* splitter = new QSplitter(this);
    splitter->setObjectName("mainSplitter");
    m_tree = new QTreeWidget(splitter);
    m_tree->setObjectName("navigationTree");
    m_tree->setHeaderHidden(true);
    m_right = new QStackedWidget(splitter);
    m_right->setObjectName("rightPane");
    m_host = new CMainItemDlg(m_context, m_messenger, m_right);
    m_dialView = new CDialRegistrationView(m_context, m_messenger, m_right);
    m_right->addWidget(m_host);
    m_right->addWidget(m_dialView);
    splitter->addWidget(m_tree);
    splitter->addWidget(m_right);
    splitter->setStretchFactor(1, 1);
    connect(m_dialView, &CDialRegistrationView::BookChanged, this, &CQZBDlg::RefreshDialBranch);
    // Names are converted by the panel language, which the machine page writes as soon as it is
    // chosen: the directory is redrawn then, not only at the next store.
    connect(m_host, &CMainItemDlg::ControlChanged, this, [this] {
        if (PanelLanguage(m_context.store) != m_drawnPanelLanguage) {
            RefreshDialBranch();
        }
    });
    connect(m_dialView, &CDialRegistrationView::EditorRequested, this, &CQZBDlg::OpenEntryEditor);
    connect(m_dialView, &CDialRegistrationView::TreeFocusRequested, this, [this] { m_tree->setFocus(); });
    connect(m_dialView, &CDialRegistrationView::JumpRequested, this, [this](const CDialRadioJump& jump) {
        if (QTreeWidgetItem* collapse = FindTreeItem(jump.collapse)) {
            collapse->setExpanded(false);
        }
        if (QTreeWidgetItem* select = FindTreeItem(jump.select)) {
            select->setExpanded(true);
            m_tree->setCurrentItem(select);
        }
    });
    splitter->setSizes({220, 540});
    setCentralWidget(splitter);

    BuildToolbar();
    BuildMenus();
    BuildTree();
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &CQZBDlg::OnCurrentItemChanged);
    connect(this, &CQZBDlg::SenseFailed, this, &CQZBDlg::OnSenseFailed, Qt::QueuedConnection);
    if (m_protocol != nullptr) {
        // The sense thread only posts; the window acts on its own thread.
        m_protocol->SetFailureReport([this](MessageCode code) { emit SenseFailed(code); });
    }
    m_servicePassword = ReadServiceManPassword(m_preferences);
    UpdateCommandStates();
    ApplySizeRatio(this, m_messenger.SizeRatio("STR_RATIO_DLG_MAIN"));
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
    const auto found = m_actions.find(command);
    return found != m_actions.end() ? found->second : nullptr;
}

void CQZBDlg::BuildToolbar()
{
    auto* toolbar = addToolBar(Text("STR_CAPTION"));
    toolbar->setObjectName("commandToolbar");
    toolbar->setMovable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar->setIconSize(QSize(24, 24));
    for (const CToolbarButton& button : ToolbarButtons()) {
        if (button.command == kCmdSeparator) {
            m_toolbarActions.push_back(toolbar->addSeparator());
            continue;
        }
        QAction* action = toolbar->addAction(ToolbarIcon(button.command), Text(button.textKey));
        action->setObjectName(ActionName(button.textKey));
        action->setToolTip(action->text());
        const std::uint32_t command = button.command;
        connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
        m_toolbarActions.push_back(action);
        m_actions[command] = action;
    }
}

void CQZBDlg::BuildMenus()
{
    QMenu* file = menuBar()->addMenu(Text("STR_MENU_FILE"));
    file->setObjectName("fileMenu");
    const std::map<std::uint32_t, QKeySequence> shortcuts = {
        {kCmdOpen, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {kCmdSave, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {kCmdDialImport, QKeySequence(Qt::CTRL | Qt::Key_I)},
        {kCmdDialExport, QKeySequence(Qt::CTRL | Qt::Key_E)},
        {kCmdPrint, QKeySequence(Qt::CTRL | Qt::Key_P)},
        {kCmdExit, QKeySequence(Qt::CTRL | Qt::Key_Q)},
    };
    for (const CMenuRow& row : FileMenuRows()) {
        if (row.command == kCmdSeparator) {
            m_fileActions.push_back(file->addSeparator());
            continue;
        }
        QAction* action = file->addAction(Text(row.textKey));
        action->setObjectName(ActionName(row.textKey));
        if (const auto shortcut = shortcuts.find(row.command); shortcut != shortcuts.end()) {
            action->setShortcut(shortcut->second);
        }
        const std::uint32_t command = row.command;
        connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
        m_fileActions.push_back(action);
        m_actions[command] = action;
    }
    m_compareAction = new QAction(Text("STR_MENU_COMPARE_WITH_DEVICE"), this);
    m_compareAction->setObjectName("compareWithDeviceAction");
    connect(m_compareAction, &QAction::triggered, this, &CQZBDlg::CompareWithDevice);
    // Beside Open, whose file it compares.
    const auto open = std::find(m_fileActions.begin(), m_fileActions.end(), CommandAction(kCmdOpen));
    file->insertAction(open != m_fileActions.end() && open + 1 != m_fileActions.end() ? *(open + 1) : nullptr,
                       m_compareAction);
    QMenu* help = menuBar()->addMenu(Text("STR_MENU_HELP"));
    help->setObjectName("helpMenu");
    for (const CMenuRow& row : HelpMenuRows()) {
        QAction* action = help->addAction(Text(row.textKey));
        action->setObjectName(ActionName(row.textKey));
        const std::uint32_t command = row.command;
        connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
        m_actions[command] = action;
    }
    // Linux has no system menu: About ends the Help menu.
    if (const QString about = Text("STR_MENU_ABOUT"); !about.isEmpty()) {
        help->addSeparator();
        QAction* action = help->addAction(about);
        action->setObjectName("aboutAction");
        connect(action, &QAction::triggered, this, [this] { About(QApplication::keyboardModifiers()); });
    }
}

void CQZBDlg::About(Qt::KeyboardModifiers modifiers)
{
    const bool serviceEntry = m_context.modelBit != 4 && (modifiers & Qt::ControlModifier) &&
                              (modifiers & Qt::ShiftModifier) && (m_state & kStateServiceMan) == 0;
    if (!serviceEntry) {
        CVersionDlg about(m_messenger, m_context.modelBit, this);
        about.exec();
        return;
    }
    CPassDlg password(m_messenger, m_context.store, m_servicePassword, false, this);
    if (password.exec() == QDialog::Accepted) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        EnterServiceMan(m_servicePassword);
        QApplication::restoreOverrideCursor();
    }
}

void CQZBDlg::BuildTree()
{
    const bool blocked = m_tree->blockSignals(true);
    m_tree->clear();
    std::vector<QTreeWidgetItem*> items;
    for (const CTreeNode& node : BuildNavigationTree(m_context.modelBit, (m_state & kStateServiceMan) != 0)) {
        auto* item = node.parent < 0 ? new QTreeWidgetItem(m_tree)
                                     : new QTreeWidgetItem(items[static_cast<std::size_t>(node.parent)]);
        item->setText(0, Text(node.node->textKey));
        item->setData(0, Qt::UserRole, static_cast<quint32>(node.node->typeCode));
        item->setExpanded(true);
        items.push_back(item);
    }
    AddDialSlots();
    m_tree->setCurrentItem(nullptr);
    m_tree->blockSignals(blocked);
    m_host->ShowPage(0);
    m_right->setCurrentWidget(m_host);
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
    // Labels and group members follow the book; the selection stays where it is.
    const std::uint32_t selected =
        m_tree->currentItem() != nullptr ? m_tree->currentItem()->data(0, Qt::UserRole).toUInt() : 0;
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
    m_dialView->Refresh();
}
void CQZBDlg::UpdateCommandStates()
{
    const auto buttons = ToolbarButtons();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        ApplyState(m_toolbarActions[i], ToolbarState(i, m_state), buttons[i].command, m_transferring);
    }
    // A separator goes with the group after it.
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i].command != kCmdSeparator) {
            continue;
        }
        bool groupShown = false;
        for (std::size_t j = i + 1; j < buttons.size() && buttons[j].command != kCmdSeparator; ++j) {
            groupShown = groupShown || m_toolbarActions[j]->isVisible();
        }
        m_toolbarActions[i]->setVisible(groupShown);
    }
    // A separator shows only where a row of its group does.
    const auto rows = FileMenuRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        CommandState state = MenuRowState(rows[i], m_state);
        if (rows[i].command == kCmdSeparator && state != CommandState::Hidden) {
            bool groupShown = false;
            for (std::size_t j = i; j-- > 0 && rows[j].command != kCmdSeparator;) {
                groupShown = groupShown ||
                             (MenuRowState(rows[j], m_state) != CommandState::Hidden && Implemented(rows[j].command));
            }
            state = groupShown ? state : CommandState::Hidden;
        }
        ApplyState(m_fileActions[i], state, rows[i].command, m_transferring);
    }
    // Settings files are a service-man matter; comparing needs the device's state and a file.
    if (m_compareAction != nullptr) {
        m_compareAction->setVisible((m_state & kStateServiceMan) != 0);
        m_compareAction->setEnabled(Online() && m_deviceState != nullptr && (m_state & kStateFileData) != 0 &&
                                    !m_transferring);
    }
    m_host->SetConnectionState(Online(), (m_state & kStateDataPresent) != 0);
}

bool CQZBDlg::Online() const
{
    return (m_state & kStateOnline) != 0;
}

void CQZBDlg::ShowResult(MessageCode code)
{
    m_messenger.ShowMessage(code, this);
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
        case kCmdPrint:
            PrintLists();
            break;
        case kCmdChangePassword: {
            CChangePassDlg change(m_messenger, m_context.store, m_preferences, m_servicePassword, this);
            change.exec();
            break;
        }
        case kCmdHelpTopics:
            if (m_context.helpFilePath.empty() || !std::filesystem::exists(m_context.helpFilePath)) {
                m_messenger.ShowPlain(u"The help file " + m_context.helpFilePath.u16string() + u" is not installed.");
            } else {
                QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(m_context.helpFilePath)));
            }
            break;
        default:
            break;
    }
}

bool CQZBDlg::EnterServiceMan(std::u16string_view password)
{
    if ((m_state & kStateServiceMan) != 0) {
        return true;
    }
    if (password != m_servicePassword) {
        return false;
    }
    m_state |= kStateServiceMan;
    m_host->CommitPage(m_host->CurrentType());
    BuildTree();
    if (const MessageCode created = m_host->CreateSettingsPages(); created != kOk) {
        ShowResult(created);
    }
    m_host->ReloadAllPages();
    UpdateCommandStates();
    m_tree->setCurrentItem(m_tree->topLevelItem(0));
    m_tree->setFocus();
    return true;
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
        // The page with a control that opens the dialog.
        for (const CPageDef* page : PageDefsForModel(m_context.modelBit)) {
            for (const CControlDef& control : page->controls) {
                if (control.opensDialog == name && SelectPage(page->name)) {
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
            }
        }
        return false;
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
    const QPixmap dialog = m_shownDialog->grab();
    QPixmap picture(std::max(window.width(), dialog.width() + 40), std::max(window.height(), dialog.height() + 40));
    picture.fill(palette().color(QPalette::Window));
    QPainter painter(&picture);
    painter.drawPixmap(0, 0, window);
    const int left = (picture.width() - dialog.width()) / 2;
    const int top = (picture.height() - dialog.height()) / 2;
    painter.drawPixmap(left, top, dialog);
    painter.setPen(QPen(Qt::darkGray, 1));
    painter.drawRect(left, top, dialog.width() - 1, dialog.height() - 1);
    return picture;
}

void CQZBDlg::OnCurrentItemChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous)
{
    if (m_reverting) {
        return;
    }
    // Leaving a settings page checks and stores it; a failure keeps the page.
    const std::uint32_t leaving = m_host->CurrentType();
    if ((leaving & kSettingsPageBit) != 0 && !m_lookOnly) {
        const CCheckResult commit = m_host->CommitPage(leaving);
        if (!commit.Ok()) {
            m_reverting = true;
            m_tree->setCurrentItem(previous);
            m_reverting = false;
            ShowResult(commit.code);
            m_host->FocusAfterError(leaving, commit);
            return;
        }
    }
    const std::uint32_t value = current != nullptr ? current->data(0, Qt::UserRole).toUInt() : 0;
    const std::int64_t type = current != nullptr ? PageTypeOfItem(value) : 0;
    if (DecodeDialItem(value).kind != DialItemKind::None) {
        m_host->ShowPage(0);
        m_dialView->ShowItem(value);
        m_right->setCurrentWidget(m_dialView);
        return;
    }
    m_host->ShowPage(type > 0 ? static_cast<std::uint32_t>(type) : 0);
    m_right->setCurrentWidget(m_host);
}

void CQZBDlg::OnSenseFailed(MessageCode code)
{
    if (m_closing) {
        return;
    }
    m_messenger.ShowMessage(code);
    if (m_protocol != nullptr) {
        m_protocol->EndSession();
    }
    m_state &= ~kStateOnline;
    RefreshConnection();
}

void CQZBDlg::closeEvent(QCloseEvent* event)
{
    if (m_transferring) {
        event->ignore();
        return;
    }
    // No sense failure is reported while the window closes.
    m_closing = true;
    int answer = kAnswerNo;
    const bool fileData = (m_state & kStateFileData) != 0;
    if (fileData) {
        answer = m_messenger.ShowMessage(kMsgTerminationSave, this, ButtonSet::YesNoCancel, m_datPath.u16string());
    } else if ((m_state & (kStateCsvData | kStateDeviceData)) != 0 && Online()) {
        answer = m_messenger.ShowMessage(kMsgTerminationUpdate, this, ButtonSet::YesNoCancel);
    }
    if (answer != kAnswerYes && answer != kAnswerNo) {
        m_closing = false;
        event->ignore();
        return;
    }
    if (answer == kAnswerYes && !SaveOrUpdateBeforeClosing(fileData)) {
        // The edits are not on the device or in the file yet: the window stays.
        m_closing = false;
        event->ignore();
        return;
    }
    if (Online()) {
        Disconnect();
    }
    event->accept();
}

bool CQZBDlg::SaveOrUpdateBeforeClosing(bool fileData)
{
    const CCheckResult commit = m_host->CommitPage(m_host->CurrentType());
    if (!commit.Ok()) {
        ShowResult(commit.code);
        m_host->FocusAfterError(m_host->CurrentType(), commit);
        return false;
    }
    m_host->StoreAllPages();
    if (fileData) {
        const MessageCode saved = WriteDatFile(m_datPath, m_context);
        if (saved != kOk) {
            ShowResult(saved);
        }
        return saved == kOk;
    }
    const MessageCode result = RunTransfer(kCmdUpload);
    if (result == kMsgAlreadyReported) {
        m_state &= ~kStateOnline;
    } else if (result != kOk) {
        ShowResult(result);
    }
    return result == kOk;
}

} // namespace qzb
