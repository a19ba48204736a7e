#pragma once

#include "session/session_ports.h"

#include <QString>

#include <functional>

class QWidget;

namespace qzb {

class CDeviceProtocol;
class CMainItemDlg;
struct CAppContext;

// The window's side of the session: its page host, file dialogs, progress dialog and previews.
class CWindowPorts : public ISessionPages, public ISessionFiles, public ISessionTransfers, public ISessionViews
{
public:
    // host gives the page host of the moment (a model switch makes a new one); busyChanged runs
    // when a transfer starts and ends, so that the window greys its commands meanwhile.
    CWindowPorts(QWidget& window,
                 const CAppContext& context,
                 CDeviceProtocol* protocol,
                 std::function<CMainItemDlg*()> host,
                 std::function<void()> busyChanged);

    CCheckResult CommitCurrent() override;
    void FocusRefusal(const CCheckResult& refusal) override;
    void StoreAll() override;
    void ReloadAll() override;

    std::optional<std::filesystem::path> ChooseOpen(FileKind kind, const std::filesystem::path& start) override;
    std::optional<std::filesystem::path> ChooseSave(FileKind kind, const std::filesystem::path& start) override;

    MessageCode Run(std::uint32_t operation, const std::function<MessageCode()>& work) override;

    bool ConfirmUpload(const CSessionPreview& preview) override;
    void ShowComparison(const CSessionPreview& preview) override;
    void ShowReport(const CSessionReport& report) override;
    std::optional<std::filesystem::path> ChooseBackup(const std::vector<CBackupFile>& backups,
                                                      const std::function<CSessionPreview(std::size_t)>& compare,
                                                      bool directoryOnly) override;
    bool ConfirmContactsImport(CContactsOptions& options,
                               const std::function<CContactsPreview(const CContactsOptions&)>& preview) override;

private:
    QString Text(std::string_view key) const;
    QString Caption(FileKind kind, bool save) const;

    QWidget& m_window;
    const CAppContext& m_context;
    CDeviceProtocol* m_protocol;
    std::function<CMainItemDlg*()> m_host;
    std::function<void()> m_busyChanged;
};

} // namespace qzb
