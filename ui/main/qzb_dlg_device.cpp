#include "ui/main/qzb_dlg.h"

#include "app/app_context.h"
#include "app/messenger.h"
#include "base/window_state.h"
#include "device/device_protocol.h"
#include "files/backups.h"
#include "pages/command_states.h"
#include "pages/state_diff.h"
#include "ui/main/upload_preview_dialog.h"
#include "ui/pages/main_item_dlg.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTreeWidget>

#include <chrono>
#include <filesystem>
#include <thread>

// The device commands of the main window: connect, disconnect, download and upload, each run on a
// worker thread while the window keeps painting.
namespace qzb {

MessageCode CQZBDlg::RunTransfer(std::uint32_t operation)
{
    if (m_protocol == nullptr) {
        return kMsgConnectUsb;
    }
    m_transferring = true;
    UpdateCommandStates();
    QProgressDialog progress(this);
    progress.setObjectName("transferProgress");
    progress.setWindowTitle(windowTitle());
    progress.setLabelText(operation == kCmdDownload  ? Text("STR_TB_DOWNLOAD")
                          : operation == kCmdUpload  ? Text("STR_TB_UPLOAD")
                          : operation == kCmdConnect ? Text("STR_TB_CONNECT")
                                                     : Text("STR_TB_DISCONNECT"));
    progress.setCancelButton(nullptr);
    progress.setRange(0, 0);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(400);
    QEventLoop loop;
    m_protocol->SetProgress([&progress](std::string_view step) {
        const QString text = QString::fromUtf8(step.data(), static_cast<qsizetype>(step.size()));
        QMetaObject::invokeMethod(
            &progress, [&progress, text] { progress.setLabelText(text); }, Qt::QueuedConnection);
    });
    MessageCode result = kOk;
    const std::uint32_t state = m_state;
    std::thread worker([this, operation, state, &result, &loop] {
        result = m_protocol->DoDeviceOperation(operation, state);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    m_protocol->SetProgress({});
    m_transferring = false;
    UpdateCommandStates();
    return result;
}

void CQZBDlg::RefreshConnection()
{
    UpdateCommandStates();
    m_host->ShowPage(m_host->CurrentType());
}

MessageCode CQZBDlg::Connect()
{
    const MessageCode result = RunTransfer(kCmdConnect);
    if (result == kOk) {
        m_state |= kStateOnline;
    } else if (result == kMsgAlreadyReported) {
        m_state &= ~kStateOnline;
    } else {
        ShowResult(result);
    }
    RefreshConnection();
    return result;
}

MessageCode CQZBDlg::Disconnect()
{
    const MessageCode result = m_protocol != nullptr ? RunTransfer(kCmdDisconnect) : kOk;
    if (result != kOk && result != kMsgAlreadyReported) {
        ShowResult(result);
    } else {
        m_state &= ~kStateOnline;
    }
    RefreshConnection();
    return result;
}

MessageCode CQZBDlg::Download()
{
    const bool dataPresent = (m_state & kStateDataPresent) != 0;
    if (dataPresent && m_messenger.ShowMessage(kMsgUseMachineData, this, ButtonSet::OkCancel) != kAnswerOk) {
        return kOk;
    }
    const MessageCode result = RunTransfer(kCmdDownload);
    if (result == kOk) {
        m_state |= kStateDeviceData;
        KeepState(true);
        // Every download is kept, so the device's state before any change can be opened again.
        std::filesystem::path backup;
        if (WriteDownloadBackup(DataFolder(), m_context, std::chrono::system_clock::now(), 20, &backup) != kOk) {
            m_messenger.ShowPlain(u"The backup of this download could not be written to " +
                                  (DataFolder() / "backups").u16string() + u".");
        }
        m_host->ReloadAllPages();
        if (dataPresent) {
            m_host->CommitPage(m_host->CurrentType());
        }
        UpdateCommandStates();
        m_tree->setCurrentItem(m_tree->topLevelItem(0));
        m_tree->setFocus();
    } else if (result == kMsgAlreadyReported) {
        m_state &= ~kStateOnline;
        RefreshConnection();
    } else {
        // 0x80010002 too: a transfer broken half-way must not look like a success.
        ShowResult(result);
    }
    return result;
}

MessageCode CQZBDlg::Upload()
{
    const CCheckResult commit = m_host->CommitPage(m_host->CurrentType());
    if (!commit.Ok()) {
        ShowResult(commit.code);
        m_host->FocusAfterError(m_host->CurrentType(), commit);
        return commit.code;
    }
    if (m_messenger.ShowMessage(kMsgUsePcData, this, ButtonSet::OkCancel) != kAnswerOk) {
        return kOk;
    }
    m_host->StoreAllPages();
    if (!PreviewUpload()) {
        return kOk;
    }
    const MessageCode result = RunTransfer(kCmdUpload);
    if (result == kOk) {
        KeepState(true);
    } else if (result == kMsgAlreadyReported) {
        m_state &= ~kStateOnline;
        RefreshConnection();
    } else if (result != kOk) {
        ShowResult(result);
    }
    return result;
}

void CQZBDlg::KeepState(bool deviceState)
{
    m_baseState = std::make_unique<CMachineState>(CMachineState{m_context.store, m_context.device});
    if (deviceState) {
        m_deviceState = std::make_unique<CMachineState>(*m_baseState);
    }
    UpdateCommandStates();
}

namespace {

QStringList Lines(const std::vector<std::u16string>& lines)
{
    QStringList list;
    for (const std::u16string& line : lines) {
        list.push_back(QString::fromStdU16String(line));
    }
    return list;
}

} // namespace

bool CQZBDlg::PreviewUpload()
{
    if (m_baseState == nullptr) {
        return true;
    }
    // Outside service-man mode an upload carries the directory alone.
    const DiffScope scope = (m_state & kStateServiceMan) != 0 ? DiffScope::ServiceUpload : DiffScope::Upload;
    const CDiffEnv env{&m_context.strings, m_context.modelBit};
    const CStateDiff diff = DiffStates(*m_baseState, CMachineState{m_context.store, m_context.device}, env, scope);
    CUploadPreviewDialog::CTexts texts;
    texts.title = Text("STR_PREVIEW_UPLOAD_TITLE");
    texts.summary = QString::fromStdU16String(DiffSummary(diff, env));
    texts.question = Text(diff.Empty() ? "STR_PREVIEW_UPLOAD_ANYWAY" : "STR_PREVIEW_UPLOAD_QUESTION");
    texts.upload = Text("STR_PREVIEW_UPLOAD");
    texts.cancel = Text("STR_PREVIEW_CANCEL");
    return CUploadPreviewDialog::Ask(CUploadPreviewDialog::Kind::Upload, texts, Lines(DiffLines(diff, env)), this);
}

void CQZBDlg::CompareWithDevice()
{
    if (m_deviceState == nullptr || !CommitCurrentPage()) {
        return;
    }
    m_host->StoreAllPages();
    const DiffScope scope = (m_state & kStateServiceMan) != 0 ? DiffScope::ServiceUpload : DiffScope::Upload;
    const CDiffEnv env{&m_context.strings, m_context.modelBit};
    const CStateDiff diff = DiffStates(*m_deviceState, CMachineState{m_context.store, m_context.device}, env, scope);
    CUploadPreviewDialog::CTexts texts;
    texts.title = Text("STR_PREVIEW_COMPARE_TITLE");
    texts.summary = QString::fromStdU16String(DiffSummary(diff, env));
    texts.question = diff.Empty() ? QString() : Text("STR_PREVIEW_COMPARE_NOTE");
    texts.cancel = Text("STR_PREVIEW_CLOSE");
    CUploadPreviewDialog::Ask(CUploadPreviewDialog::Kind::Compare, texts, Lines(DiffLines(diff, env)), this);
}

} // namespace qzb
