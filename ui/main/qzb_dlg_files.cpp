#include "ui/main/qzb_dlg.h"

#include "addressbook/csv_exchange.h"
#include "app/app_context.h"
#include "app/english_texts.h"
#include "app/folders.h"
#include "app/messenger.h"
#include "app/preferences.h"
#include "base/window_state.h"
#include "files/dat_commands.h"
#include "files/dat_file.h"
#include "model/panel_code.h"
#include "model/text_codec.h"
#include "ui/main/file_dialogs.h"
#include "ui/pages/main_item_dlg.h"

#include <QStackedWidget>
#include <QStandardPaths>
#include <QTreeWidget>

#include <cstdio>

// The settings-file commands of the main window: Open, Save and Save As of DAT files.
namespace qzb {

std::filesystem::path CQZBDlg::DataFolder() const
{
    const QString local = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const std::filesystem::path folder = DefaultDataFolder(local.toStdString(), *m_context.profile);
    CreateFolderPath(folder);
    return folder;
}

std::filesystem::path CQZBDlg::StartPath() const
{
    const std::filesystem::path remembered = m_preferences.ReadText(kPrefDatFilePath, u"");
    if (!remembered.empty() && std::filesystem::is_regular_file(remembered)) {
        return remembered;
    }
    return DataFolder() / "NewFile.Dat";
}

bool CQZBDlg::CommitCurrentPage()
{
    const CCheckResult commit = m_host->CommitPage(m_host->CurrentType());
    if (!commit.Ok()) {
        ShowResult(commit.code);
        m_host->FocusAfterError(m_host->CurrentType(), commit);
    }
    return commit.Ok();
}

void CQZBDlg::MakeCurrentFile(const std::filesystem::path& path)
{
    m_datPath = path;
    m_state |= kStateFileData;
    m_preferences.WriteText(kPrefDatFilePath, path.u16string());
    m_preferences.WriteText(kPrefDatFileName, path.filename().u16string());
    setWindowTitle(Text("STR_CAPTION") + ' ' + QString::fromStdString(path.filename().string()));
    UpdateCommandStates();
}

void CQZBDlg::RecreatePageHost()
{
    delete m_host;
    m_host = new CMainItemDlg(m_context, m_messenger, m_right);
    m_right->insertWidget(0, m_host);
    if ((m_state & kStateServiceMan) != 0) {
        m_host->CreateSettingsPages();
    }
}

void CQZBDlg::OpenSettingsFile()
{
    if ((m_state & kStateServiceMan) == 0) {
        return;
    }
    if ((m_state & (kStateDeviceData | kStateFileData)) != 0 &&
        m_messenger.ShowMessage(kMsgOpenUseFileData, this, ButtonSet::OkCancel) != kAnswerOk) {
        return;
    }
    const QString chosen = CFileDialogs::ChooseOpenFile(
        this, windowTitle(), QString::fromStdString(StartPath()), "DAT (*.DAT *.dat *.Dat)");
    if (chosen.isEmpty()) {
        return;
    }
    const std::filesystem::path path = chosen.toStdString();
    if (const MessageCode family = CheckDatFamily(path, m_context.modelCode); family != kOk) {
        ShowResult(family == kMsgOpenFileError ? kMsgServicemanOpenFileError : family);
        return;
    }
    const std::uint32_t modelBit = m_context.modelBit;
    if (const MessageCode opened = OpenDatFile(path, m_context, TranslatedTexts(m_context.strings)); opened != kOk) {
        ShowResult(opened);
        return;
    }
    // A file of another model of the family switches the utility to that model.
    if (m_context.modelBit != modelBit) {
        RecreatePageHost();
    }
    m_host->ReloadAllPages();
    MakeCurrentFile(path);
    KeepState(false);
    BuildTree();
    m_tree->setCurrentItem(m_tree->topLevelItem(0));
}

void CQZBDlg::SaveSettingsFile()
{
    if ((m_state & kStateServiceMan) == 0 || !CommitCurrentPage()) {
        return;
    }
    if (m_datPath.empty()) {
        SaveSettingsFileAs();
        return;
    }
    m_host->StoreAllPages();
    if (const MessageCode saved = WriteDatFile(m_datPath, m_context); saved != kOk) {
        ShowResult(saved);
    }
}

void CQZBDlg::SaveSettingsFileAs()
{
    if (!CommitCurrentPage()) {
        return;
    }
    const QString chosen = CFileDialogs::ChooseSaveFile(
        this, windowTitle(), QString::fromStdString(StartPath()), "DAT (*.DAT *.dat *.Dat)");
    if (chosen.isEmpty()) {
        return;
    }
    const std::filesystem::path path = DatPathWithExtension(chosen.toStdString());
    m_host->StoreAllPages();
    if (WriteDatFile(path, m_context) != kOk) {
        ShowResult(kMsgWriteFileError);
        return;
    }
    MakeCurrentFile(path);
}

std::filesystem::path CQZBDlg::CsvStartPath() const
{
    const std::filesystem::path remembered = m_preferences.ReadText(kPrefCsvFilePath, u"");
    if (!remembered.empty() && std::filesystem::is_regular_file(remembered)) {
        return remembered;
    }
    return DataFolder() / "NewFile.csv";
}

void CQZBDlg::ShowCsvReport(const CCsvReport& report, bool imported)
{
    if (!imported && report.notes.empty()) {
        return;
    }
    const TextLookup texts = [this](std::string_view key) { return Text(key).toStdU16String(); };
    // An import always says what it read, so that a file with nothing usable is not taken for a good one.
    std::u16string text = imported ? CsvReadSummary(report.read, texts) : std::u16string();
    if (!report.notes.empty()) {
        text.append(text.empty() ? u"" : u"\n\n").append(Text("STR_MSG_CSV_NOTES").toStdU16String());
    }
    for (const CCsvNote& note : report.notes) {
        text.append(u"\n").append(CsvNoteLine(note, texts));
    }
    m_messenger.ShowPlain(text);
}

void CQZBDlg::ExportCsvFile()
{
    if (!CommitCurrentPage()) {
        return;
    }
    const QString chosen = CFileDialogs::ChooseSaveFile(
        this, Text("STR_DLG_DIALEXPORT"), QString::fromStdString(CsvStartPath()), "CSV (*.csv)");
    if (chosen.isEmpty()) {
        return;
    }
    const std::filesystem::path path = WithCsvExtension(chosen.toStdString());
    m_host->StoreAllPages();
    CCsvReport report;
    const TextLookup texts = [this](std::string_view key) { return Text(key).toStdU16String(); };
    if (const MessageCode code = ExportAddressBook(path, m_context.device.book, m_context.store, texts, &report);
        code != kOk) {
        ShowResult(code);
        return;
    }
    m_preferences.WriteText(kPrefCsvFilePath, path.u16string());
    m_preferences.WriteText(kPrefCsvFileName, path.filename().u16string());
    ShowCsvReport(report, false);
}

void CQZBDlg::ImportCsvFile()
{
    if (!CommitCurrentPage()) {
        return;
    }
    if ((m_state & (kStateDeviceData | kStateFileData)) != 0 &&
        m_messenger.ShowMessage(kMsgUseFileData, this, ButtonSet::OkCancel) != kAnswerOk) {
        return;
    }
    const QString chosen = CFileDialogs::ChooseOpenFile(
        this, Text("STR_DLG_DIALIMPORT"), QString::fromStdString(CsvStartPath()), "CSV (*.csv)");
    if (chosen.isEmpty()) {
        return;
    }
    const std::filesystem::path path = chosen.toStdString();
    CCsvReport report;
    if (const MessageCode code =
            ImportAddressBook(path, m_context.device.book, m_context.store, PackDeviceDate(), &report);
        code != kOk) {
        ShowResult(code);
        return;
    }
    m_preferences.WriteText(kPrefCsvFilePath, path.u16string());
    m_preferences.WriteText(kPrefCsvFileName, path.filename().u16string());
    m_state |= kStateCsvData;
    m_host->ReloadAllPages();
    BuildTree();
    UpdateCommandStates();
    m_tree->setCurrentItem(m_tree->topLevelItem(0));
    m_tree->setFocus();
    ShowCsvReport(report, true);
}

} // namespace qzb
