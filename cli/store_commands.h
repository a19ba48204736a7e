#pragma once

#include "cli/cli_command.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace CLI {
class App;
class Option;
} // namespace CLI

namespace qzb {

class CValueStore;
struct CCliOptions;
struct CSettingCheck;

// The usage text for a page the store does not have (naming its pages) or a key the page does
// not have (naming the page's keys); nothing when both are known. Without a key the page alone
// is checked.
std::optional<std::string>
UnknownSettingText(const CValueStore& store, std::string_view page, std::optional<std::string_view> key);

// Why set refuses a value, in words for the error line.
std::string SettingRefusalText(const CSettingCheck& check, std::string_view page, std::string_view key, bool number);

// qzbctl keys [PAGE]: the store's pages, or the keys of one page, one a line (a key listed twice
// on a page once). An unknown page is a usage error.
int RunKeys(const std::optional<std::string>& page, std::ostream& out, std::ostream& err);

// "set FILE PAGE KEY --number N|--text T": one value of a DAT file changed and saved in place, only
// when the saved file gives it back as set.
class CSetCommand : public CCliCommand
{
public:
    void AddCommand(CLI::App& root) override;
    int Run(const CCliOptions& options, std::ostream& out, std::ostream& err) const override;

private:
    std::string m_file;
    std::string m_page;
    std::string m_key;
    std::int32_t m_number = 0;
    std::string m_text;
    CLI::Option* m_numberOption = nullptr;
    CLI::Option* m_textOption = nullptr;
};

// "get FILE PAGE KEY": one value of a DAT file as JSON {"number", "text"}.
class CGetCommand : public CCliCommand
{
public:
    void AddCommand(CLI::App& root) override;
    int Run(const CCliOptions& options, std::ostream& out, std::ostream& err) const override;

private:
    std::string m_file;
    std::string m_page;
    std::string m_key;
};

// "keys [PAGE]": see RunKeys.
class CKeysCommand : public CCliCommand
{
public:
    void AddCommand(CLI::App& root) override;
    int Run(const CCliOptions& options, std::ostream& out, std::ostream& err) const override;

private:
    std::string m_page;
    CLI::Option* m_pageOption = nullptr;
};

} // namespace qzb
