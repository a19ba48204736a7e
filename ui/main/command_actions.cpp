#include "ui/main/command_actions.h"

#include "app/language_choice.h"
#include "pages/command_states.h"
#include "ui/main/toolbar_icons.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include <algorithm>

namespace qzb {

namespace {

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

} // namespace

CCommandActions::CCommandActions(QMainWindow& window,
                                 const std::function<QString(std::string_view)>& text,
                                 CHandlers handlers)
    : m_handlers(std::move(handlers))
{
    BuildToolbar(window, text);
    BuildMenus(window, text);
}

QAction* CCommandActions::Action(std::uint32_t command) const
{
    const auto found = m_actions.find(command);
    return found != m_actions.end() ? found->second : nullptr;
}

void CCommandActions::BuildToolbar(QMainWindow& window, const std::function<QString(std::string_view)>& text)
{
    auto* toolbar = window.addToolBar(text("STR_CAPTION"));
    toolbar->setObjectName("commandToolbar");
    toolbar->setMovable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar->setIconSize(QSize(24, 24));
    for (const CToolbarButton& button : ToolbarButtons()) {
        if (button.command == kCmdSeparator) {
            m_toolbarActions.push_back(toolbar->addSeparator());
            continue;
        }
        QAction* action = toolbar->addAction(ToolbarIcon(button.command), text(button.textKey));
        action->setObjectName(ActionName(button.textKey));
        action->setToolTip(action->text());
        const std::uint32_t command = button.command;
        QObject::connect(action, &QAction::triggered, &window, [this, command] { m_handlers.run(command); });
        m_toolbarActions.push_back(action);
        m_actions[command] = action;
    }
}

void CCommandActions::BuildMenus(QMainWindow& window, const std::function<QString(std::string_view)>& text)
{
    QMenu* file = window.menuBar()->addMenu(text("STR_MENU_FILE"));
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
        QAction* action = file->addAction(text(row.textKey));
        action->setObjectName(ActionName(row.textKey));
        if (const auto shortcut = shortcuts.find(row.command); shortcut != shortcuts.end()) {
            action->setShortcut(shortcut->second);
        }
        const std::uint32_t command = row.command;
        QObject::connect(action, &QAction::triggered, &window, [this, command] { m_handlers.run(command); });
        m_fileActions.push_back(action);
        m_actions[command] = action;
    }
    m_compareAction = new QAction(text("STR_MENU_COMPARE_WITH_DEVICE"), &window);
    m_compareAction->setObjectName("compareWithDeviceAction");
    QObject::connect(m_compareAction, &QAction::triggered, &window, [this] { m_handlers.compare(); });
    // Beside Open, whose file it compares.
    const auto open = std::find(m_fileActions.begin(), m_fileActions.end(), Action(kCmdOpen));
    file->insertAction(open != m_fileActions.end() && open + 1 != m_fileActions.end() ? *(open + 1) : nullptr,
                       m_compareAction);
    BuildLanguageMenu(*file, text);
    BuildDeviceMenu(window, text);
    QMenu* help = window.menuBar()->addMenu(text("STR_MENU_HELP"));
    help->setObjectName("helpMenu");
    for (const CMenuRow& row : HelpMenuRows()) {
        QAction* action = help->addAction(text(row.textKey));
        action->setObjectName(ActionName(row.textKey));
        if (row.command == kCmdHelpTopics) {
            action->setShortcut(QKeySequence::HelpContents);
        }
        const std::uint32_t command = row.command;
        QObject::connect(action, &QAction::triggered, &window, [this, command] { m_handlers.run(command); });
        m_actions[command] = action;
    }
    // Linux has no system menu: About ends the Help menu.
    if (const QString about = text("STR_MENU_ABOUT"); !about.isEmpty()) {
        help->addSeparator();
        QAction* action = help->addAction(about);
        action->setObjectName("aboutAction");
        QObject::connect(action, &QAction::triggered, &window, [this] { m_handlers.about(); });
    }
}

void CCommandActions::BuildLanguageMenu(QMenu& file, const std::function<QString(std::string_view)>& text)
{
    auto* languages = new QMenu(text("STR_MENU_LANGUAGE"), &file);
    languages->setObjectName("languageMenu");
    auto* group = new QActionGroup(languages);
    group->setExclusive(true);
    // Each language by its own name, so that a user lost in a language they do not read finds theirs.
    for (const CUiLanguage& language : UiLanguages()) {
        QAction* action =
            languages->addAction(QString::fromUtf8(language.nativeName.data(), qsizetype(language.nativeName.size())));
        const QString code = QString::fromUtf8(language.code.data(), qsizetype(language.code.size()));
        action->setObjectName("language_" + code + "_Action");
        action->setData(code);
        action->setCheckable(true);
        group->addAction(action);
        const std::string_view chosen = language.code;
        QObject::connect(action, &QAction::triggered, languages, [this, chosen] { m_handlers.language(chosen); });
        m_languageActions.push_back(action);
    }
    // Above Exit, apart from the commands.
    QAction* exit = Action(kCmdExit);
    file.insertMenu(exit, languages);
    file.insertSeparator(exit);
}

void CCommandActions::CheckLanguage(std::string_view code)
{
    for (QAction* action : m_languageActions) {
        action->setChecked(action->data().toString().toStdString() == code);
    }
}

void CCommandActions::BuildDeviceMenu(QMainWindow& window, const std::function<QString(std::string_view)>& text)
{
    QMenu* device = window.menuBar()->addMenu(text("STR_MENU_DEVICE"));
    device->setObjectName("deviceMenu");
    // Download reads the device again, as Reload does; Upload sends, as Ctrl+Enter sends a message.
    // None of them is a key a text field or the File menu takes.
    const std::map<std::uint32_t, QKeySequence> shortcuts = {
        {kCmdConnect, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)},
        {kCmdDisconnect, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D)},
        {kCmdUpload, QKeySequence(Qt::CTRL | Qt::Key_Return)},
        {kCmdDownload, QKeySequence(Qt::Key_F5)},
    };
    for (const CDeviceMenuRow& row : DeviceMenuRows()) {
        if (row.command == kCmdSeparator) {
            m_deviceActions.push_back(device->addSeparator());
            continue;
        }
        QAction* action = device->addAction(text(row.textKey));
        // Apart from the toolbar's actions of the same commands: "deviceConnectAction".
        QString name = ActionName(row.textKey);
        name[0] = name[0].toUpper();
        action->setObjectName("device" + name);
        if (const auto shortcut = shortcuts.find(row.command); shortcut != shortcuts.end()) {
            action->setShortcut(shortcut->second);
        }
        const std::uint32_t command = row.command;
        QObject::connect(action, &QAction::triggered, &window, [this, command] { m_handlers.run(command); });
        m_deviceActions.push_back(action);
    }
}

void CCommandActions::Apply(const std::vector<CCommandRowState>& toolbar,
                            const std::vector<CCommandRowState>& menu,
                            const std::vector<CCommandRowState>& deviceMenu,
                            bool compareVisible,
                            bool compareEnabled)
{
    for (std::size_t i = 0; i < toolbar.size() && i < m_toolbarActions.size(); ++i) {
        m_toolbarActions[i]->setVisible(toolbar[i].visible);
        m_toolbarActions[i]->setEnabled(toolbar[i].enabled);
    }
    for (std::size_t i = 0; i < menu.size() && i < m_fileActions.size(); ++i) {
        m_fileActions[i]->setVisible(menu[i].visible);
        m_fileActions[i]->setEnabled(menu[i].enabled);
    }
    for (std::size_t i = 0; i < deviceMenu.size() && i < m_deviceActions.size(); ++i) {
        m_deviceActions[i]->setVisible(deviceMenu[i].visible);
        m_deviceActions[i]->setEnabled(deviceMenu[i].enabled);
    }
    m_compareAction->setVisible(compareVisible);
    m_compareAction->setEnabled(compareEnabled);
}

} // namespace qzb
