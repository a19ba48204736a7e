#pragma once

#include "app/preferences.h"

#include <QString>

namespace qzb {

// Preferences in an INI file under the user's configuration folder, one file per profile key:
// "Software\<maker>\<name>" becomes <config>/<maker>/<name>.ini. The file holds the service-man
// password, so it is kept readable and writable by its owner only.
class CQSettingsPreferences : public IPreferences
{
public:
    explicit CQSettingsPreferences(const std::string& keyPath);

    std::u16string ReadText(std::string_view name, std::u16string_view defaultText) const override;
    bool WriteText(std::string_view name, std::u16string_view text) override;
    std::optional<std::vector<std::uint8_t>> ReadBinary(std::string_view name) const override;
    bool WriteBinary(std::string_view name, const std::vector<std::uint8_t>& bytes) override;

    QString FilePath() const;

private:
    bool Usable() const { return !m_application.isEmpty(); }
    bool Write(std::string_view name, const QVariant& value);

    QString m_organization;
    QString m_application;
};

} // namespace qzb
