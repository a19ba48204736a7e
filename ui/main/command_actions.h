#pragma once

#include "session/command_bar.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <string_view>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;

namespace qzb {

// The toolbar and the File, Device and Help menus of the main window, built from the command tables
// and drawn in the states the session decides.
class CCommandActions
{
public:
    struct CHandlers
    {
        std::function<void(std::uint32_t)> run; // a command by its id
        std::function<void()> compare; // File ▸ Compare with the Device
        std::function<void()> about; // Help ▸ About
        std::function<void(std::string_view)> language; // File ▸ Language, by the language's code
    };

    CCommandActions(QMainWindow& window, const std::function<QString(std::string_view)>& text, CHandlers handlers);

    QAction* Action(std::uint32_t command) const;
    // Checks the language of the texts shown in File ▸ Language.
    void CheckLanguage(std::string_view code);
    void Apply(const std::vector<CCommandRowState>& toolbar,
               const std::vector<CCommandRowState>& menu,
               const std::vector<CCommandRowState>& deviceMenu,
               bool compareVisible,
               bool compareEnabled);

private:
    void BuildToolbar(QMainWindow& window, const std::function<QString(std::string_view)>& text);
    void BuildMenus(QMainWindow& window, const std::function<QString(std::string_view)>& text);
    void BuildDeviceMenu(QMainWindow& window, const std::function<QString(std::string_view)>& text);
    void BuildLanguageMenu(QMenu& file, const std::function<QString(std::string_view)>& text);

    CHandlers m_handlers;
    std::map<std::uint32_t, QAction*> m_actions;
    std::vector<QAction*> m_toolbarActions; // in toolbar order, separators included
    std::vector<QAction*> m_fileActions; // in menu order, separators included
    std::vector<QAction*> m_deviceActions; // in menu order, separators included
    QAction* m_compareAction = nullptr;
    std::vector<QAction*> m_languageActions; // in the panel's order of the languages
};

} // namespace qzb
