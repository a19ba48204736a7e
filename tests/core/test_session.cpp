#include "session/qzb_session.h"

#include "app/app_context.h"
#include "app/messenger.h"
#include "app/model_profile.h"
#include "device/device_link.h"
#include "device/device_protocol.h"
#include "device/device_simulator.h"
#include "device/shared_words.h"
#include "device/simulator_faults.h"
#include "files/dat_file.h"
#include "pages/command_states.h"
#include "session/command_bar.h"
#include "tests/support/csv_files.h"
#include "tests/support/memory_preferences.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

namespace qzb {
namespace {

// Message boxes answered from a queue (OK or Yes when it runs dry), every request kept.
class CScriptedPresenter : public IMessagePresenter
{
public:
    int Present(const CMessageBoxRequest& request) override
    {
        shown.push_back(request);
        if (answers.empty()) {
            return request.buttons == ButtonSet::YesNoCancel ? kAnswerYes : kAnswerOk;
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<MessageCode> Codes() const
    {
        std::vector<MessageCode> codes;
        for (const CMessageBoxRequest& request : shown) {
            codes.push_back(request.code);
        }
        return codes;
    }
    std::deque<int> answers;
    std::vector<CMessageBoxRequest> shown;
};

// The file dialogs, the previews and the reports of a front end, scripted.
class CScriptedPorts : public ISessionFiles, public ISessionViews
{
public:
    std::optional<std::filesystem::path> ChooseOpen(FileKind, const std::filesystem::path&) override { return Next(); }
    std::optional<std::filesystem::path> ChooseSave(FileKind, const std::filesystem::path&) override { return Next(); }
    bool ConfirmUpload(const CSessionPreview& preview) override
    {
        previews.push_back(preview);
        return send;
    }
    void ShowComparison(const CSessionPreview& preview) override { previews.push_back(preview); }
    void ShowReport(const CSessionReport& report) override { reports.push_back(report); }

    std::optional<std::filesystem::path> Next()
    {
        if (files.empty()) {
            return std::nullopt;
        }
        auto next = files.front();
        files.pop_front();
        return next;
    }
    std::deque<std::optional<std::filesystem::path>> files;
    std::vector<CSessionPreview> previews;
    std::vector<CSessionReport> reports;
    bool send = true;
};

// The session over the simulated device, whose memory lives in a file of the test's folder.
class Session : public ::testing::Test
{
protected:
    explicit Session(std::int32_t model = 8314)
        : context(model)
        , messenger(context.strings, presenter)
        , simulator(model, DefaultUsbVendorId(), folder.Path() / "device.dat")
        , link(simulator, context, words, Unlocked())
        , protocol(link, context, messenger, CProtocolTimings::Fast())
        , session(context, messenger, preferences, &protocol, folder.Path() / "data")
    {
        context.strings.LoadFile(std::filesystem::path(QZB_TEST_DATA_DIR) / StringTableFileName(*context.profile));
        session.SetFiles(&ports);
        session.SetViews(&ports);
    }

    static CDeviceLinkConfig Unlocked()
    {
        CDeviceLinkConfig config;
        config.lockDevice = false;
        config.sensePeriod = std::chrono::hours(1);
        return config;
    }

    // What the simulated device holds, read back from its memory file.
    CAppContext DeviceMemory() const
    {
        CAppContext memory(context.modelCode);
        EXPECT_EQ(OpenDatFile(folder.Path() / "device.dat", memory), kOk);
        return memory;
    }

    void ConnectAndDownload()
    {
        ASSERT_EQ(session.Connect().code, kOk);
        ASSERT_EQ(session.Download().code, kOk);
        presenter.shown.clear();
    }

    void RenameSpeedDial(CAppContext& data, std::int32_t number, const char* name)
    {
        CFaxMailEntry entry = *data.device.book.FindFaxMailEntry(number);
        entry.name.Assign(name);
        ASSERT_EQ(data.device.book.PutFaxMailEntry(entry), kOk);
    }

    CTempFolder folder{"qzb-session"};
    CScriptedPresenter presenter;
    CApplicationWords words;
    CAppContext context;
    CMessenger messenger;
    CDeviceSimulator simulator;
    CDeviceLink link;
    CDeviceProtocol protocol;
    CMemoryPreferences preferences;
    CScriptedPorts ports;
    CQZBSession session;
};

// The page shown holds a value its checks refuse: the refusal is told and focused, nothing is stored
// and nothing is sent.
class CRefusingPages : public ISessionPages
{
public:
    CCheckResult CommitCurrent() override { return refusal; }
    void FocusRefusal(const CCheckResult& shown) override { focused.push_back(shown.controlId); }
    void StoreAll() override { ++stores; }
    void ReloadAll() override { }

    CCheckResult refusal{kMsgInvalidRangeValue, 1005};
    std::vector<std::int32_t> focused;
    int stores = 0;
};

TEST_F(Session, UploadWhileThePageHoldsAnInvalidValueTellsItAndSendsNothing)
{
    ConnectAndDownload();
    CRefusingPages pages;
    session.SetPages(&pages);
    presenter.answers = {kAnswerOk, kAnswerOk};
    EXPECT_EQ(session.Upload().code, kMsgAlreadyReported);
    EXPECT_EQ(presenter.Codes(), std::vector<MessageCode>{kMsgInvalidRangeValue}) << "no question about sending";
    EXPECT_EQ(pages.focused, std::vector<std::int32_t>{1005});
    EXPECT_EQ(pages.stores, 0);
    EXPECT_EQ(simulator.Device().WriteCommandCount(), 0u);

    pages.refusal = {};
    presenter.shown.clear();
    presenter.answers = {kAnswerOk};
    EXPECT_EQ(session.Upload().code, kOk);
    EXPECT_EQ(pages.stores, 1);
    EXPECT_EQ(simulator.Device().UploadCount(), 1u);
    session.SetPages(nullptr);
}

TEST_F(Session, DownloadOverDataAsksFirstAndKeepsABackup)
{
    ConnectAndDownload();
    EXPECT_NE(session.StateWord() & kStateDeviceData, 0u);
    EXPECT_TRUE(session.DeviceStateKnown());
    const auto backups = std::distance(std::filesystem::directory_iterator(session.DataFolder() / "backups"),
                                       std::filesystem::directory_iterator());
    EXPECT_EQ(backups, 1);

    RenameSpeedDial(context, 1, "Kept");
    presenter.answers = {kAnswerCancel};
    EXPECT_EQ(session.Download().changes, 0u);
    EXPECT_EQ(presenter.Codes(), std::vector<MessageCode>{kMsgUseMachineData});
    EXPECT_EQ(context.device.book.FindFaxMailEntry(1)->name.View(), "Kept") << "Cancel transfers nothing";

    presenter.answers = {kAnswerOk};
    const CSessionOutcome replaced = session.Download();
    EXPECT_EQ(replaced.code, kOk);
    EXPECT_NE(replaced.changes & SessionChange::kBook, 0u) << "the tree must follow the downloaded book";
    EXPECT_NE(context.device.book.FindFaxMailEntry(1)->name.View(), "Kept");
}

TEST_F(Session, TheUploadPreviewComparesWithTheDeviceAfterAFileWasOpened)
{
    ASSERT_EQ(session.EnterServiceMan(u"qorlex").code, kOk);
    ConnectAndDownload();
    // The device's data with speed dial 1 renamed, kept in a file.
    CAppContext file(context.modelCode);
    file.store = context.store;
    file.device = context.device;
    RenameSpeedDial(file, 1, "Renamed");
    const std::filesystem::path path = folder.Path() / "renamed.dat";
    ASSERT_EQ(WriteDatFile(path, file), kOk);

    presenter.answers = {kAnswerOk}; // open over the device's data
    ports.files = {path};
    ASSERT_EQ(session.Open().code, kOk);
    EXPECT_EQ(session.CurrentFile(), path);

    ports.send = false;
    presenter.answers = {kAnswerOk}; // use the PC's data
    session.Upload();
    ASSERT_EQ(ports.previews.size(), 1u);
    EXPECT_TRUE(ports.previews[0].deviceKnown);
    EXPECT_EQ(ports.previews[0].summary, u"1 speed dial changed");
    EXPECT_EQ(simulator.Device().WriteCommandCount(), 0u) << "Cancel sends nothing";

    ports.send = true;
    presenter.answers = {kAnswerOk};
    ASSERT_EQ(session.Upload().code, kOk);
    EXPECT_EQ(DeviceMemory().device.book.FindFaxMailEntry(1)->name.View(), "Renamed");
    presenter.answers = {kAnswerOk};
    ports.send = false;
    session.Upload();
    EXPECT_EQ(ports.previews.back().summary, u"No changes") << "the device now holds what was sent";
}

// While a transfer runs the device's state is changing: the comparison waits until it ended.
class CWatchingTransfers : public ISessionTransfers
{
public:
    explicit CWatchingTransfers(const CQZBSession& watched)
        : m_watched(watched)
    {
    }
    MessageCode Run(std::uint32_t, const std::function<MessageCode()>& work) override
    {
        comparable.push_back(m_watched.CanCompareWithDevice());
        return work();
    }
    std::vector<bool> comparable;

private:
    const CQZBSession& m_watched;
};

TEST_F(Session, NoComparisonWithTheDeviceWhileATransferRuns)
{
    ASSERT_EQ(session.EnterServiceMan(u"qorlex").code, kOk);
    ConnectAndDownload();
    const std::filesystem::path path = folder.Path() / "kept.dat";
    ASSERT_EQ(WriteDatFile(path, context), kOk);
    presenter.answers = {kAnswerOk};
    ports.files = {path};
    ASSERT_EQ(session.Open().code, kOk);
    EXPECT_TRUE(session.CanCompareWithDevice());

    CWatchingTransfers transfers(session);
    session.SetTransfers(&transfers);
    presenter.answers = {kAnswerOk};
    EXPECT_EQ(session.Upload().code, kOk);
    session.SetTransfers(nullptr);
    ASSERT_FALSE(transfers.comparable.empty());
    EXPECT_EQ(std::count(transfers.comparable.begin(), transfers.comparable.end(), true), 0);
    EXPECT_TRUE(session.CanCompareWithDevice()) << "once the transfer ended";
}

TEST_F(Session, AFileOpenedOfflineIsComparedWithWhatTheDeviceHoldsOnceConnected)
{
    ASSERT_EQ(session.EnterServiceMan(u"qorlex").code, kOk);
    CAppContext file(context.modelCode);
    file.store = DeviceMemory().store;
    file.device = DeviceMemory().device;
    RenameSpeedDial(file, 1, "Offline edit");
    const std::filesystem::path path = folder.Path() / "offline.dat";
    ASSERT_EQ(WriteDatFile(path, file), kOk);
    ASSERT_EQ(session.OpenFile(path).code, kOk);
    ASSERT_EQ(session.Connect().code, kOk);
    EXPECT_FALSE(session.DeviceStateKnown());

    ports.send = false;
    presenter.answers = {kAnswerOk};
    session.Upload();
    ASSERT_EQ(ports.previews.size(), 1u);
    EXPECT_TRUE(ports.previews[0].deviceKnown) << "the device was read quietly for the preview";
    EXPECT_EQ(ports.previews[0].summary, u"1 speed dial changed");
    EXPECT_EQ(context.device.book.FindFaxMailEntry(1)->name.View(), "Offline edit") << "the data stays the file's";
    EXPECT_EQ(simulator.Device().WriteCommandCount(), 0u);
}

// A window asks once: the preview carries the question, no message box comes before it. A caller
// without previews is asked the question alone, and Cancel there sends nothing either.
TEST_F(Session, AnUploadAsksOnceInThePreviewOrOnceWithoutOne)
{
    ConnectAndDownload();
    RenameSpeedDial(context, 1, "Asked once");
    presenter.answers = {};
    ports.send = true;
    ASSERT_EQ(session.Upload().code, kOk);
    EXPECT_TRUE(presenter.Codes().empty()) << "no question before the preview";
    ASSERT_EQ(ports.previews.size(), 1u);
    EXPECT_EQ(ports.previews[0].summary, u"1 speed dial changed");
    EXPECT_EQ(DeviceMemory().device.book.FindFaxMailEntry(1)->name.View(), "Asked once");

    session.SetViews(nullptr);
    RenameSpeedDial(context, 1, "Not sent");
    const std::size_t writes = simulator.Device().WriteCommandCount();
    presenter.answers = {kAnswerCancel};
    EXPECT_EQ(session.Upload().changes, 0u);
    EXPECT_EQ(presenter.Codes(), std::vector<MessageCode>{kMsgUsePcData});
    EXPECT_EQ(simulator.Device().WriteCommandCount(), writes);
    presenter.answers = {kAnswerOk};
    ASSERT_EQ(session.Upload().code, kOk);
    EXPECT_EQ(DeviceMemory().device.book.FindFaxMailEntry(1)->name.View(), "Not sent");
}

TEST_F(Session, AnUnreadableDeviceIsNeverPreviewedAsUnchanged)
{
    ASSERT_EQ(session.Connect().code, kOk);
    ASSERT_EQ(ApplySimulatorFault(simulator.Faults(), "damaged").refusal, FaultRefusal::None);
    ports.send = false;
    presenter.answers = {kAnswerOk};
    session.Upload();
    ASSERT_EQ(ports.previews.size(), 1u);
    EXPECT_FALSE(ports.previews[0].deviceKnown);
    EXPECT_FALSE(ports.previews[0].empty);
    EXPECT_EQ(simulator.Device().WriteCommandCount(), 0u);
}

TEST_F(Session, ACutConnectionIsReportedOnceAndLeavesTheSessionOffline)
{
    ASSERT_EQ(ApplySimulatorFault(simulator.Faults(), "cut=20").refusal, FaultRefusal::None);
    EXPECT_EQ(session.Connect().code, kMsgAlreadyReported);
    EXPECT_FALSE(session.Online());
    ASSERT_EQ(presenter.shown.size(), 1u) << "the transfer driver told it; the session tells nothing more";
    EXPECT_NE(presenter.shown[0].code, kOk);
    simulator.Faults().cutAfter.reset();
    ASSERT_EQ(session.Connect().code, kOk);
    EXPECT_TRUE(session.Online());
}

TEST_F(Session, ClosingWithFileDataAsksToSaveAndDoesWhatTheAnswerSays)
{
    ASSERT_EQ(session.EnterServiceMan(u"qorlex").code, kOk);
    ConnectAndDownload();
    ports.files = {folder.Path() / "kept"};
    ASSERT_EQ(session.SaveAs().code, kOk);
    const std::filesystem::path path = folder.Path() / "kept.DAT";
    ASSERT_EQ(session.CurrentFile(), path);
    RenameSpeedDial(context, 1, "Closing");

    presenter.answers = {kAnswerCancel};
    EXPECT_FALSE(session.Close());
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].code, kMsgTerminationSave);
    EXPECT_NE(presenter.shown[0].text.find(path.u16string()), std::u16string::npos) << "the prompt names the file";
    EXPECT_TRUE(session.Online());

    presenter.answers = {kAnswerYes};
    EXPECT_TRUE(session.Close());
    EXPECT_FALSE(session.Online()) << "closing ends the device session";
    CAppContext saved(context.modelCode);
    ASSERT_EQ(OpenDatFile(path, saved), kOk);
    EXPECT_EQ(saved.device.book.FindFaxMailEntry(1)->name.View(), "Closing");
}

TEST_F(Session, ClosingWithDeviceDataAsksToUpdateTheDevice)
{
    ConnectAndDownload();
    RenameSpeedDial(context, 2, "Not sent");
    presenter.answers = {kAnswerNo};
    EXPECT_TRUE(session.Close());
    EXPECT_EQ(presenter.Codes(), std::vector<MessageCode>{kMsgTerminationUpdate});
    EXPECT_EQ(simulator.Device().WriteCommandCount(), 0u) << "No leaves the device as it is";
    EXPECT_FALSE(session.Online());

    ASSERT_EQ(session.Connect().code, kOk);
    presenter.answers = {kAnswerYes};
    EXPECT_TRUE(session.Close());
    EXPECT_EQ(DeviceMemory().device.book.FindFaxMailEntry(2)->name.View(), "Not sent");
}

TEST_F(Session, SettingsFilesAndTheAboutGestureFollowTheMode)
{
    ports.files = {folder.Path() / "never.dat"};
    EXPECT_EQ(session.Open().changes, 0u);
    EXPECT_EQ(ports.files.size(), 1u) << "no file dialog outside service-man mode";
    EXPECT_EQ(session.About(true, true), AboutAction::ServiceManPassword);
    EXPECT_EQ(session.About(true, false), AboutAction::AboutBox);
    EXPECT_EQ(session.EnterServiceMan(u"wrong").code, kMsgSmPasswordErr);
    EXPECT_FALSE(session.ServiceMan());
    ASSERT_EQ(session.EnterServiceMan(u"qorlex").code, kOk);
    EXPECT_EQ(session.About(true, true), AboutAction::AboutBox) << "already in service-man mode";
}

TEST_F(Session, AMissingHelpFileIsToldWithItsPath)
{
    context.helpFilePath = folder.Path() / "missing.chm";
    EXPECT_TRUE(session.HelpFile().empty());
    ASSERT_EQ(presenter.Codes(), std::vector<MessageCode>{kMsgHelpFileMissing});
}

TEST_F(Session, ACsvImportReportsWhatItLeftOutInAList)
{
    ConnectAndDownload();
    const std::filesystem::path csv = folder.Path() / "book.csv";
    ports.files = {csv};
    ASSERT_EQ(session.ExportCsv().code, kOk);
    const std::size_t spoiled = SpoilSpeedDialKinds(csv);
    ASSERT_GT(spoiled, 3u);
    presenter.answers = {kAnswerOk}; // replace the device's data
    ports.files = {csv};
    const CSessionOutcome imported = session.ImportCsv();
    ASSERT_EQ(imported.code, kOk);
    EXPECT_NE(imported.changes & SessionChange::kBook, 0u);
    ASSERT_EQ(ports.reports.size(), 1u);
    EXPECT_EQ(ports.reports[0].summary.substr(0, 5), u"Read ");
    EXPECT_GE(ports.reports[0].notes.size(), spoiled) << "a note for each line left out and each member it held";
}

TEST_F(Session, CancelToTheFirstQuestionOfACommandChangesNothing)
{
    ASSERT_EQ(session.EnterServiceMan(u"qorlex").code, kOk);
    ConnectAndDownload();
    RenameSpeedDial(context, 1, "Edited");
    const CAddressBook edited = context.device.book;
    ports.files = {folder.Path() / "never.dat"};

    // An upload's one question is its preview.
    ports.send = false;
    EXPECT_EQ(session.Upload().changes, 0u);
    EXPECT_EQ(ports.previews.size(), 1u);
    presenter.answers = {kAnswerCancel};
    EXPECT_EQ(session.Open().changes, 0u);
    presenter.answers = {kAnswerCancel};
    EXPECT_EQ(session.ImportCsv().changes, 0u);
    EXPECT_EQ(presenter.Codes(), (std::vector<MessageCode>{kMsgOpenUseFileData, kMsgUseFileData}));
    EXPECT_EQ(ports.files.size(), 1u) << "no file dialog after Cancel";
    EXPECT_EQ(simulator.Device().WriteCommandCount(), 0u);
    EXPECT_EQ(context.device.book, edited);
}

TEST(CommandBar, SeparatorsFollowTheirGroupsAndNothingRunsWhileBusy)
{
    const auto normal = ToolbarRowStates(0, false);
    const auto service = ToolbarRowStates(kStateServiceMan, false);
    auto visible = [](const std::vector<CCommandRowState>& rows) {
        return std::count_if(rows.begin(), rows.end(), [](const CCommandRowState& row) { return row.visible; });
    };
    EXPECT_LT(visible(normal), visible(service)) << "the file group and its separator appear in service-man mode";
    EXPECT_FALSE(normal.back().visible);
    for (const CCommandRowState& row : ToolbarRowStates(kStateOnline | kStateDeviceData, true)) {
        EXPECT_FALSE(row.enabled) << std::hex << row.command;
    }
    const auto menu = FileMenuRowStates(0, false);
    EXPECT_NE(menu.front().command, kCmdSeparator);
    EXPECT_FALSE(menu.front().visible) << "Open exists only in service-man mode";
}

// The Device menu draws each of its commands as the toolbar draws its button, in every window
// state, and every toolbar button has its command in a menu, so that the keyboard reaches it.
TEST(CommandBar, DeviceMenuFollowsTheToolbarAndEveryButtonHasAMenuEntry)
{
    for (const std::uint32_t word : {0u,
                                     kStateOnline,
                                     kStateOnline | kStateDeviceData,
                                     kStateServiceMan,
                                     kStateServiceMan | kStateOnline | kStateFileData}) {
        for (const bool busy : {false, true}) {
            const auto toolbar = ToolbarRowStates(word, busy);
            const auto device = DeviceMenuRowStates(word, busy);
            for (const CCommandRowState& row : device) {
                if (row.command == kCmdSeparator) {
                    continue;
                }
                const auto button = std::find_if(toolbar.begin(), toolbar.end(), [&row](const CCommandRowState& b) {
                    return b.command == row.command;
                });
                ASSERT_NE(button, toolbar.end()) << std::hex << row.command;
                EXPECT_EQ(row.visible, button->visible) << std::hex << row.command << " state " << word;
                EXPECT_EQ(row.enabled, button->enabled) << std::hex << row.command << " state " << word;
            }
        }
    }
    const auto offline = DeviceMenuRowStates(0, false);
    ASSERT_EQ(offline.size(), DeviceMenuRows().size());
    EXPECT_TRUE(offline[0].enabled) << "Connect";
    EXPECT_FALSE(offline[1].enabled) << "Disconnect";
    EXPECT_FALSE(offline.back().visible) << "the password change is service-man mode's";
    EXPECT_FALSE(offline[offline.size() - 2].visible) << "and so is the separator before it";
    const auto online = DeviceMenuRowStates(kStateOnline | kStateDeviceData, false);
    EXPECT_FALSE(online[0].enabled);
    EXPECT_TRUE(online[1].enabled);

    for (const CToolbarButton& button : ToolbarButtons()) {
        if (button.command == kCmdSeparator) {
            continue;
        }
        const std::uint32_t command = MenuCommandOfToolbarButton(button.command);
        const bool inFile = std::any_of(FileMenuRows().begin(), FileMenuRows().end(), [command](const CMenuRow& row) {
            return row.command == command;
        });
        const bool inDevice = std::any_of(DeviceMenuRows().begin(),
                                          DeviceMenuRows().end(),
                                          [command](const CDeviceMenuRow& row) { return row.command == command; });
        EXPECT_NE(inFile, inDevice) << "button " << button.textKey << " has exactly one menu entry";
    }
}

} // namespace
} // namespace qzb
