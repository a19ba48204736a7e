#include "ui/main/window_ports.h"

#include "app/app_context.h"
#include "app/english_texts.h"
#include "app/rendered_text.h"
#include "device/device_protocol.h"
#include "ui/main/contacts_import_dialog.h"
#include "ui/main/file_dialogs.h"
#include "ui/main/restore_backup_dialog.h"
#include "ui/main/upload_preview_dialog.h"
#include "ui/pages/main_item_dlg.h"

#include <QEventLoop>
#include <QProgressDialog>

#include <thread>

namespace qzb {

namespace {

QStringList Lines(const std::vector<std::u16string>& lines)
{
    QStringList list;
    for (const std::u16string& line : lines) {
        list.push_back(QString::fromStdU16String(line));
    }
    return list;
}

QString Filter(FileKind kind)
{
    switch (kind) {
        case FileKind::Dat:
            return QStringLiteral("DAT (*.DAT *.dat *.Dat)");
        case FileKind::Csv:
            return QStringLiteral("CSV (*.csv)");
        case FileKind::Vcf:
            return QStringLiteral("vCard (*.vcf *.VCF *.vcard)");
    }
    return {};
}

std::optional<std::filesystem::path> Chosen(const QString& chosen)
{
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(chosen.toStdString());
}

} // namespace

CWindowPorts::CWindowPorts(QWidget& window,
                           const CAppContext& context,
                           CDeviceProtocol* protocol,
                           std::function<CMainItemDlg*()> host,
                           std::function<void()> busyChanged)
    : m_window(window)
    , m_context(context)
    , m_protocol(protocol)
    , m_host(std::move(host))
    , m_busyChanged(std::move(busyChanged))
{
}

QString CWindowPorts::Text(std::string_view key) const
{
    return QString::fromStdU16String(TranslatedText(&m_context.strings, key));
}

CCheckResult CWindowPorts::CommitCurrent()
{
    CMainItemDlg* host = m_host();
    return host->CommitPage(host->CurrentType());
}

void CWindowPorts::FocusRefusal(const CCheckResult& refusal)
{
    CMainItemDlg* host = m_host();
    host->FocusAfterError(host->CurrentType(), refusal);
}

void CWindowPorts::StoreAll()
{
    m_host()->StoreAllPages();
}

void CWindowPorts::ReloadAll()
{
    m_host()->ReloadAllPages();
}

QString CWindowPorts::Caption(FileKind kind, bool save) const
{
    if (kind == FileKind::Csv) {
        return Text(save ? "STR_DLG_DIALEXPORT" : "STR_DLG_DIALIMPORT");
    }
    if (kind == FileKind::Vcf) {
        return Text(save ? "STR_DLG_CONTACTS_EXPORT" : "STR_DLG_CONTACTS_IMPORT");
    }
    return m_window.windowTitle();
}

std::optional<std::filesystem::path> CWindowPorts::ChooseOpen(FileKind kind, const std::filesystem::path& start)
{
    return Chosen(CFileDialogs::ChooseOpenFile(
        &m_window, Caption(kind, false), QString::fromStdString(start.string()), Filter(kind)));
}

std::optional<std::filesystem::path> CWindowPorts::ChooseSave(FileKind kind, const std::filesystem::path& start)
{
    return Chosen(CFileDialogs::ChooseSaveFile(
        &m_window, Caption(kind, true), QString::fromStdString(start.string()), Filter(kind)));
}

MessageCode CWindowPorts::Run(std::uint32_t operation, const std::function<MessageCode()>& work)
{
    m_busyChanged();
    QProgressDialog progress(&m_window);
    progress.setObjectName("transferProgress");
    progress.setWindowTitle(m_window.windowTitle());
    progress.setLabelText(operation == kOperationDownload  ? Text("STR_TB_DOWNLOAD")
                          : operation == kOperationUpload  ? Text("STR_TB_UPLOAD")
                          : operation == kOperationConnect ? Text("STR_TB_CONNECT")
                                                           : Text("STR_TB_DISCONNECT"));
    progress.setCancelButton(nullptr);
    progress.setRange(0, 0);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(400);
    QEventLoop loop;
    if (m_protocol != nullptr) {
        // Told on the worker thread; the window renders the step in its language and shows it.
        m_protocol->SetProgress([&progress, this](const CKeyedText& step) {
            QMetaObject::invokeMethod(
                &progress,
                [&progress, this, step] {
                    progress.setLabelText(QString::fromStdString(RenderTextUtf8(step, &m_context.strings)));
                },
                Qt::QueuedConnection);
        });
    }
    MessageCode result = kOk;
    // The device's pauses run on a worker thread while the window keeps painting.
    std::thread worker([&work, &result, &loop] {
        result = work();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    if (m_protocol != nullptr) {
        m_protocol->SetProgress({});
    }
    m_busyChanged();
    return result;
}

bool CWindowPorts::ConfirmUpload(const CSessionPreview& preview)
{
    CUploadPreviewDialog::CTexts texts;
    texts.title = Text("STR_PREVIEW_UPLOAD_TITLE");
    if (!preview.deviceKnown) {
        texts.summary = Text("STR_PREVIEW_DEVICE_UNKNOWN");
        texts.question = Text("STR_PREVIEW_UNKNOWN_QUESTION");
    } else {
        texts.summary = QString::fromStdU16String(preview.summary);
        texts.question = Text(preview.empty ? "STR_PREVIEW_UPLOAD_ANYWAY" : "STR_PREVIEW_UPLOAD_QUESTION");
    }
    texts.upload = Text("STR_PREVIEW_UPLOAD");
    texts.cancel = Text("STR_PREVIEW_CANCEL");
    return CUploadPreviewDialog::Ask(CUploadPreviewDialog::Kind::Upload, texts, Lines(preview.lines), &m_window);
}

void CWindowPorts::ShowComparison(const CSessionPreview& preview)
{
    CUploadPreviewDialog::CTexts texts;
    texts.title = Text("STR_PREVIEW_COMPARE_TITLE");
    texts.summary = QString::fromStdU16String(preview.summary);
    texts.question = preview.empty ? QString() : Text("STR_PREVIEW_COMPARE_NOTE");
    texts.cancel = Text("STR_PREVIEW_CLOSE");
    CUploadPreviewDialog::Ask(CUploadPreviewDialog::Kind::Compare, texts, Lines(preview.lines), &m_window);
}

void CWindowPorts::ShowReport(const CSessionReport& report)
{
    CUploadPreviewDialog::CTexts texts;
    texts.title = m_window.windowTitle();
    QString summary = QString::fromStdU16String(report.summary);
    if (!report.notesHeading.empty()) {
        summary += (summary.isEmpty() ? "" : "\n\n") + QString::fromStdU16String(report.notesHeading);
    }
    texts.summary = summary;
    texts.cancel = Text("STR_PREVIEW_CLOSE");
    CUploadPreviewDialog::Ask(CUploadPreviewDialog::Kind::Report, texts, Lines(report.notes), &m_window);
}

std::optional<std::filesystem::path>
CWindowPorts::ChooseBackup(const std::vector<CBackupFile>& backups,
                           const std::function<CSessionPreview(std::size_t)>& compare,
                           bool directoryOnly)
{
    CRestoreBackupDialog::CTexts texts{Text("STR_DLG_RESTORE_BACKUP"),
                                       Text(directoryOnly ? "STR_BACKUP_SCOPE_DIRECTORY" : "STR_BACKUP_SCOPE_ALL"),
                                       Text("STR_BACKUP_COL_DATE"),
                                       Text("STR_BACKUP_COL_TIME"),
                                       Text("STR_BACKUP_COL_CHANGES"),
                                       Text("STR_BACKUP_UNREADABLE"),
                                       Text("STR_BACKUP_NONE"),
                                       Text("STR_BACKUP_COMPARE"),
                                       Text("STR_BACKUP_RESTORE"),
                                       Text("STR_PREVIEW_CANCEL")};
    CRestoreBackupDialog dialog(backups, compare, texts, &m_window);
    if (dialog.exec() != QDialog::Accepted || dialog.Chosen() < 0) {
        return std::nullopt;
    }
    return backups.at(static_cast<std::size_t>(dialog.Chosen())).path;
}

bool CWindowPorts::ConfirmContactsImport(CContactsOptions& options,
                                         const std::function<CContactsPreview(const CContactsOptions&)>& preview)
{
    CContactsImportDialog dialog(
        options, preview, [this](std::string_view key) { return Text(key); }, &m_window);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    options = dialog.Options();
    return true;
}

} // namespace qzb
