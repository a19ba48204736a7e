#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace qzb {

// A private folder for one test, removed with everything in it (read-only parts included).
class CTempFolder
{
public:
    explicit CTempFolder(const char* prefix = "qzb-test")
    {
        std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
        m_path = ::mkdtemp(pattern.data()) ? std::filesystem::path(pattern) : std::filesystem::path();
    }
    ~CTempFolder()
    {
        std::error_code error;
        std::filesystem::permissions(
            m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, error);
        std::filesystem::remove_all(m_path, error);
    }
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace qzb
