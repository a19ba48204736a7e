#include "ui/main/qsettings_preferences.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QVariant>

namespace qzb {

namespace {

constexpr auto kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QString Key(std::string_view name)
{
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

} // namespace

CQSettingsPreferences::CQSettingsPreferences(const std::string& keyPath)
{
    // An empty path (too long a key) leaves the preferences unusable: reads give defaults.
    QStringList parts = QString::fromStdString(keyPath).split(u'\\', Qt::SkipEmptyParts);
    if (!parts.isEmpty() && parts.front() == u"Software") {
        parts.pop_front();
    }
    if (parts.size() >= 2) {
        m_application = parts.takeLast();
        m_organization = parts.join(u'/');
    }
}

QString CQSettingsPreferences::FilePath() const
{
    if (!Usable()) {
        return {};
    }
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, m_organization, m_application);
    return settings.fileName();
}

std::u16string CQSettingsPreferences::ReadText(std::string_view name, std::u16string_view defaultText) const
{
    if (!Usable()) {
        return std::u16string(defaultText);
    }
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, m_organization, m_application);
    const QVariant value = settings.value(Key(name));
    if (!value.isValid()) {
        return std::u16string(defaultText);
    }
    return value.toString().toStdU16String();
}

bool CQSettingsPreferences::WriteText(std::string_view name, std::u16string_view text)
{
    return Write(name, QString::fromStdU16String(std::u16string(text)));
}

std::optional<std::vector<std::uint8_t>> CQSettingsPreferences::ReadBinary(std::string_view name) const
{
    if (!Usable()) {
        return std::nullopt;
    }
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, m_organization, m_application);
    const QVariant value = settings.value(Key(name));
    if (!value.isValid()) {
        return std::nullopt;
    }
    const QByteArray bytes = value.toByteArray();
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

bool CQSettingsPreferences::WriteBinary(std::string_view name, const std::vector<std::uint8_t>& bytes)
{
    return Write(name, QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
}

bool CQSettingsPreferences::Write(std::string_view name, const QVariant& value)
{
    if (!Usable()) {
        return false;
    }
    const QString path = FilePath();
    // Create the file owner-only before QSettings writes into it; its atomic rewrite keeps the
    // permissions of the file it replaces.
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!QFileInfo::exists(path)) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            return false;
        }
        file.setPermissions(kOwnerOnly);
    }
    {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, m_organization, m_application);
        settings.setValue(Key(name), value);
        settings.sync();
        if (settings.status() != QSettings::NoError) {
            return false;
        }
    }
    return QFile::setPermissions(path, kOwnerOnly);
}

} // namespace qzb
