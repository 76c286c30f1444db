// The settings window's update part, headless, over an emulated mouse and the local test server:
// the rows and the window's state after the check, downloads confirmed by the window's buttons, the
// close rule while a download runs, the program's end cancelling it, the main window told when
// nothing is left to update, and the notice for firmware older than the program needs.

#include <fmt/format.h>
#include <gtest/gtest.h>
#include <json/json.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "devices/device_context.h"
#include "emulator/emulation.h"
#include "settings/profile_locations.h"
#include "shell/dialog_answers.h"
#include "shell/forced_firmware.h"
#include "shell/loop_pump.h"
#include "shell/main_wnd.h"
#include "shell/set_wnd.h"
#include "shell/update_info_list_item_ui.h"
#include "shell/update_list_presenter.h"
#include "ui/check_box_ui.h"
#include "ui/label_ui.h"
#include "ui/notify_ui.h"
#include "ui/paint_manager_ui.h"
#include "ui/plain_message_loop.h"
#include "ui/resource_manager.h"
#include "ui/tab_layout_ui.h"
#include "update/http_test_server.h"
#include "update/update_check.h"
#include "update/update_time_file.h"

namespace zevik::test {
namespace {

using namespace std::chrono_literals;

std::string Hex(std::string_view text) {
    std::string hex;
    for (const unsigned char c : text) hex += fmt::format("{:02x}", c);
    return hex;
}

Json::Value Answer(const std::string& version, const std::string& name, const std::string& path, int deviceId) {
    Json::Value answer(Json::objectValue);
    answer["version"] = version;
    answer["version_name"] = version;
    answer["name"] = name;
    answer["path"] = path;
    answer["device_id"] = deviceId;
    return answer;
}

struct Reported {
    std::string key;
    std::string text;
};

class SetWndUpdateTest : public ::testing::Test {
protected:
    void SetUp() override { Start(std::nullopt); }
    // The main window over an emulated mouse; firmware: the version its cable reports.
    void Start(std::optional<std::uint16_t> firmware) {
        root_ = std::filesystem::temp_directory_path() /
                fmt::format("zevik-setwnd-{}-{}", getpid(),
                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "tmp");
        if (const char* tmp = std::getenv("TMPDIR")) previousTmp_ = tmp;
        setenv("TMPDIR", (root_ / "tmp").c_str(), 1);
        locations_ = std::make_unique<CProfileLocations>(root_ / "data", std::filesystem::path(ZEVIK_RESOURCE_DIR));
        previousPath_ = CPaintManagerUI::GetResourcePath();
        CPaintManagerUI::SetResourcePath(std::string(ZEVIK_RESOURCE_DIR) + "/skin/");
        ASSERT_TRUE(CResourceManager::GetInstance()->LoadResource("res.xml"));
        CResourceManager::GetInstance()->SetLanguage("English");
        ASSERT_TRUE(CResourceManager::GetInstance()->LoadLanguage("lang/lan_main_en.xml"));
        EmulationOptions options;
        options.list = "mouse";
        std::string error;
        emulation_ = CEmulation::Create(options, error);
        ASSERT_NE(emulation_, nullptr) << error;
        if (firmware) {
            ASSERT_TRUE(emulation_->SetFirmwareVersion("mouse", *firmware, error)) << error;
        }
        CDialogAnswers::Instance().Clear();
        CDialogAnswers::Instance().SetReporter([this](std::string_view key, std::string_view text, std::string_view) {
            reported_.push_back({std::string(key), std::string(text)});
            noDeviceShownDuringNotice_ = main_->FindControl("No_device_Link")->IsVisible();
        });
        DeviceContext context;
        context.hidBackend = &emulation_->Backend();
        context.uiLoop = &loop_;
        context.profileLocations = locations_.get();
        main_ = std::make_unique<CMainWnd>(context);
        main_->SetSettingsFile(root_ / "settings.json");
        ASSERT_NE(main_->Create(0, "main", 0x10000000, 0), 0u) << main_->GetSkinError();
        ASSERT_TRUE(main_->StartScan());
        ASSERT_TRUE(Pump([this] { return main_->GetCurrentDevice() != nullptr; }));
    }
    void TearDown() override {
        settings_.reset();
        if (main_) {
            main_->ExitProgram();
            if (main_->GetHWND() != 0) main_->DestroyWindow();
            main_.reset();
        }
        CDialogAnswers::Instance().SetReporter({});
        CDialogAnswers::Instance().Clear();
        CPaintManagerUI::SetResourcePath(previousPath_);
        if (previousTmp_.empty()) {
            unsetenv("TMPDIR");
        } else {
            setenv("TMPDIR", previousTmp_.c_str(), 1);
        }
        std::filesystem::remove_all(root_);
    }

    bool Pump(const std::function<bool()>& cond, std::chrono::milliseconds limit = 10s) {
        return PumpLoopUntil(loop_, cond, limit);
    }
    // A server answering the mouse's and the program's keys; others get 404 (not reached).
    static std::string KeyedRoot(const HttpTestServer& server, const Json::Value& mouse, const Json::Value& driver) {
        const UpdateTable table = MakeUpdateTable();
        Json::Value answers(Json::objectValue);
        if (!mouse.isNull()) answers[BuildAppKey(Row(table, UpdateRow::Mouse))] = mouse;
        if (!driver.isNull()) answers[BuildAppKey(Row(table, UpdateRow::Software))] = driver;
        return server.Url("/keyed/" + Hex(Json::FastWriter().write(answers)) + "/api/");
    }
    // The settings window as "setbtn" opens it, asking apiRoot; its check has ended.
    CSetWnd& OpenSettings(const std::string& apiRoot) {
        main_->SetUpdateApiRoot(apiRoot);
        settings_ = std::make_unique<CSetWnd>(main_->Languages(), main_->GetLanguageIndex());
        UpdateSetup setup = main_->MakeUpdateSetup();
        setup.options.pauseAfterDownload = 0ms;
        settings_->SetUpdateSetup(setup);
        EXPECT_TRUE(main_->CreateSettingsWindow(*settings_, false));
        EXPECT_TRUE(Pump([this] { return settings_->Update().Shown().checkDone; }));
        return *settings_;
    }
    CControlUI* Part(std::string_view name) { return settings_->GetPaintManager()->FindControl(name); }
    void Click(std::string_view name) {
        CControlUI* control = Part(name);
        ASSERT_NE(control, nullptr) << name;
        ASSERT_TRUE(control->IsVisible() && control->IsEnabled()) << name;
        control->Activate();
        loop_.ProcessPending();
    }
    CUpdateInfoListItemUI* RowControl(std::size_t index) {
        CUpdateListPresenter list(*settings_->GetPaintManager(), *settings_);
        return list.Row(index);
    }
    CControlUI* RowPart(std::size_t index, std::string_view name) {
        CUpdateInfoListItemUI* row = RowControl(index);
        return row != nullptr ? settings_->GetPaintManager()->FindSubControlByName(row, name) : nullptr;
    }
    std::string ProgressText(std::size_t index) {
        CControlUI* value = RowPart(index, "update_progress_value");
        return value != nullptr ? value->GetText() : std::string();
    }
    int UpdatePage() {
        auto* tabs = dynamic_cast<CTabLayoutUI*>(Part("get_update_tab_layout"));
        return tabs != nullptr ? tabs->GetCurSel() : -1;
    }
    std::filesystem::path Downloads() const {
        return root_ / "tmp" / fmt::format("ZEVIK-R300Prime-{}", getuid()) / "UpdateData";
    }
    bool SettingsOpen() const { return settings_ && settings_->GetHWND() != 0; }

    CPlainMessageLoop loop_;
    std::filesystem::path root_;
    std::string previousPath_;
    std::string previousTmp_;
    std::unique_ptr<CProfileLocations> locations_;
    std::unique_ptr<CEmulation> emulation_;
    std::unique_ptr<CMainWnd> main_;
    std::unique_ptr<CSetWnd> settings_;
    std::vector<Reported> reported_;
    bool noDeviceShownDuringNotice_ = false;
};

// Every row state as its row shows it.
TEST_F(SetWndUpdateTest, EveryRowStateShowsItsTextProgressMarkAndCheckBox) {
    CSetWnd wnd(main_->Languages(), main_->GetLanguageIndex());  // no update setup: an empty list
    ASSERT_TRUE(main_->CreateSettingsWindow(wnd, false));
    CUpdateListPresenter list(*wnd.GetPaintManager(), wnd);
    struct Case {
        UpdateRowState state;
        bool enabled;  // what the check left the row
        const char* text;
        const char* progress;  // "" when hidden
        bool mark;
        bool checkEnabled;
        UiColor nameColour;
    };
    const Case cases[] = {
        {UpdateRowState::NotNeeded, false, "Not needed", "", false, false, 0xFF666666},
        {UpdateRowState::Needed, true, "Update available", "", false, true, 0xFFE4E7EB},
        {UpdateRowState::NeededToo, true, "Update available", "", false, true, 0xFFE4E7EB},
        {UpdateRowState::WaitingDownload, true, "Waiting to download", "", false, false, 0xFFE4E7EB},
        {UpdateRowState::Downloading, true, "Downloading", "42%", false, false, 0xFFE4E7EB},
        {UpdateRowState::Downloaded, true, "Downloaded", "", true, true, 0xFFE4E7EB},
        {UpdateRowState::Installing, true, "Updating", "42%", false, true, 0xFFE4E7EB},
        {UpdateRowState::UpToDate, false, "Up to date", "", false, false, 0xFFFFFFFF},
        {UpdateRowState::Failed, true, "Update failed", "", false, true, 0xFFE4E7EB},
    };
    std::vector<UpdateListRow> rows;
    for (const Case& c : cases) {
        UpdateListRow row;
        row.displayName = "Mouse";
        row.state = c.state;
        row.enabled = c.enabled;
        row.checked = c.enabled;
        row.percent = 42;
        row.currentText = "V0110";
        row.newText = "V0111";
        row.url = "http://127.0.0.1/p";
        row.localFile = "/tmp/UpdateData/p.exe";
        rows.push_back(row);
    }
    ASSERT_TRUE(list.Show(rows));
    ASSERT_EQ(list.RowCount(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(static_cast<int>(c.state));
        CUpdateInfoListItemUI* row = list.Row(i);
        ASSERT_NE(row, nullptr);
        const auto part = [&](std::string_view name) { return wnd.GetPaintManager()->FindSubControlByName(row, name); };
        EXPECT_EQ(row->GetFixedHeight(), CUpdateInfoListItemUI::kHeight);
        EXPECT_EQ(part("update_status_text")->GetText(), c.text);
        EXPECT_EQ(part("update_status_ing")->IsVisible(), *c.progress != '\0');
        EXPECT_EQ(part("update_progress_value")->GetText(), c.progress);
        EXPECT_EQ(part("update_status_ok")->IsVisible(), c.mark);
        EXPECT_EQ(part("OldRev")->GetText(), "V0110");
        EXPECT_EQ(part("updateRev")->GetText(), "V0111");
        EXPECT_EQ(row->GetUserData(), "http://127.0.0.1/p");
        EXPECT_EQ(row->GetToolTip(), c.mark ? "/tmp/UpdateData/p.exe" : "");
        CCheckBoxUI* check = row->CheckBox();
        EXPECT_EQ(check->GetText(), "Mouse");
        EXPECT_EQ(check->IsEnabled(), c.checkEnabled);
        EXPECT_EQ(check->GetTextColor(), c.nameColour);
        if (c.state == UpdateRowState::UpToDate) {
            EXPECT_EQ(check->GetDisabledTextColor(), 0xFF666666u);
        }
        EXPECT_EQ(list.RowOf(*check), i);
    }
    // A second show of the same state keeps the row as it is; only the percentage moves.
    rows[4].percent = 43;
    ASSERT_TRUE(list.Show(rows));
    EXPECT_EQ(list.RowCount(), std::size(cases));
    EXPECT_EQ(wnd.GetPaintManager()->FindSubControlByName(list.Row(4), "update_progress_value")->GetText(), "43%");
    wnd.DestroyWindow();
}

// A check, then a download confirmed by the window's buttons: it lands in the private folder and
// the window says where, or it fails on its row and leaves nothing.
TEST_F(SetWndUpdateTest, ACheckedRowIsDownloadedThroughTheConfirmationPage) {
    HttpTestServer server;
    struct Case {
        const char* path;
        const char* name;
        const char* text;
        bool stored;
    };
    for (const Case& c : {Case{"/file/3000", "mouse_fw", "Downloaded", true},
                          Case{"/missing", "mouse_broken", "Update failed", false}}) {
        SCOPED_TRACE(c.path);
        reported_.clear();
        const std::string apiRoot = KeyedRoot(server, Answer("0111", c.name, server.Url(c.path), 2),
                                              Answer("1", "Setup", server.Url("/file/10"), 1));
        OpenSettings(apiRoot);
        // The mouse (firmware 0110) is offered, the program is current; receiver and mousepad are absent.
        ASSERT_EQ(RowControl(1) != nullptr && RowControl(2) == nullptr, true);
        EXPECT_EQ(RowPart(0, "check_name_select")->GetText(), "R300 Prime");
        EXPECT_EQ(RowPart(0, "update_status_text")->GetText(), "Update available");
        EXPECT_EQ(RowPart(0, "OldRev")->GetText(), "V0110");
        EXPECT_EQ(RowPart(0, "updateRev")->GetText(), "V0111");
        EXPECT_TRUE(RowControl(0)->CheckBox()->GetCheck());
        EXPECT_EQ(RowPart(1, "check_name_select")->GetText(), "Driver");
        EXPECT_EQ(RowPart(1, "update_status_text")->GetText(), "Up to date");
        EXPECT_FALSE(RowControl(1)->CheckBox()->IsEnabled());
        EXPECT_EQ(Part("Update_Status_text")->GetText(), "Updates are available");
        EXPECT_FALSE(Part("update_status_ring")->IsVisible());

        // Unchecking the only offered row takes the button away; checking it brings it back.
        RowControl(0)->CheckBox()->Activate();
        EXPECT_FALSE(Part("update_fw_and_ap")->IsVisible());
        RowControl(0)->CheckBox()->Activate();
        EXPECT_TRUE(Part("update_fw_and_ap")->IsVisible() && Part("update_fw_and_ap")->IsEnabled());

        // The tip under the list goes away for good; the window keeps its size.
        Click("set_in_update_wnd_btn");
        EXPECT_FALSE(Part("update_tishi_layout")->IsVisible());
        EXPECT_EQ(settings_->GetWindowRect().GetWidth(), settings_->GetPaintManager()->GetDPIObj().Scale(CSetWnd::kWidth));

        Click("update_fw_and_ap");
        EXPECT_EQ(UpdatePage(), 1);
        Click("update_OK_btn");
        EXPECT_EQ(UpdatePage(), 0);
        EXPECT_FALSE(Part("update_fw_and_ap")->IsEnabled());
        ASSERT_TRUE(Pump([this] { return !settings_->Update().Shown().downloading; }));
        Pump([] { return false; }, 50ms);  // the saved notice comes with the last refresh

        const std::filesystem::path file = Downloads() / (std::string(c.name) + ".exe");
        EXPECT_EQ(RowPart(0, "update_status_text")->GetText(), c.text);
        EXPECT_EQ(RowPart(0, "update_status_ok")->IsVisible(), c.stored);
        EXPECT_EQ(std::filesystem::exists(file), c.stored);
        EXPECT_FALSE(std::filesystem::exists(file.string() + ".part"));
        EXPECT_EQ(Part("Update_Status_text")->GetText(), "Updates are available");
        if (c.stored) {
            EXPECT_EQ(std::filesystem::file_size(file), 3000u);
            EXPECT_EQ(RowControl(0)->GetToolTip(), file.string());
            ASSERT_EQ(reported_.size(), 1u);
            EXPECT_EQ(reported_[0].key, "update_saved_text");
            EXPECT_NE(reported_[0].text.find(Downloads().string()), std::string::npos) << reported_[0].text;
        } else {
            EXPECT_TRUE(RowControl(0)->CheckBox()->IsEnabled()) << "a failed row can be tried again";
            EXPECT_TRUE(reported_.empty()) << "nothing was saved";
        }
        Click("closebtn");
        ASSERT_TRUE(Pump([this] { return !SettingsOpen(); }));
    }
}

// While a download runs the window stays, whichever way it is asked to close; the program's end
// closes it all the same and leaves no partial file.
TEST_F(SetWndUpdateTest, ARunningDownloadHoldsTheWindowUntilTheProgramEnds) {
    HttpTestServer server;
    const std::string stalled =
        KeyedRoot(server, Answer("0111", "mouse_fw", server.Url("/stall"), 2), Json::Value());
    const std::string idle = KeyedRoot(server, Answer("0111", "mouse_fw", server.Url("/file/10"), 2), Json::Value());
    struct Case {
        const char* how;
        bool busy;
        bool closes;
    };
    const Case cases[] = {
        {"closebtn", true, false}, {"laterbtn", true, false}, {"WM_CLOSE", true, false},
        {"closebtn", false, true}, {"laterbtn", false, true}, {"WM_CLOSE", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(fmt::format("{} busy={}", c.how, c.busy));
        OpenSettings(c.busy ? stalled : idle);
        if (c.busy) {
            Click("update_fw_and_ap");
            Click("update_OK_btn");
            ASSERT_TRUE(Pump([this] { return ProgressText(0) == "1%"; }));
            EXPECT_TRUE(RowPart(0, "update_status_ing")->IsVisible());
            EXPECT_EQ(Part("Update_Status_text")->GetText(), "Downloading updates…");
        }
        if (std::string_view(c.how) == "WM_CLOSE") {
            settings_->SendMessage(WM_CLOSE, 0, 0);
        } else {
            settings_->GetPaintManager()->SendNotify(Part(c.how), DUI_MSGTYPE_CLICK);
        }
        Pump([] { return false; }, 50ms);
        EXPECT_EQ(SettingsOpen(), !c.closes);
        if (SettingsOpen()) {
            EXPECT_EQ(RowPart(0, "update_status_text")->GetText(), "Downloading");
            settings_->Close(0);  // refused again
            Pump([] { return false; }, 20ms);
            ASSERT_TRUE(SettingsOpen());
        }
        if (SettingsOpen()) settings_->DestroyWindow();
        settings_.reset();  // its workers are stopped and joined
    }

    // The program's end while a download runs.
    OpenSettings(stalled);
    Click("update_fw_and_ap");
    Click("update_OK_btn");
    ASSERT_TRUE(Pump([this] { return ProgressText(0) == "1%"; }));
    ASSERT_TRUE(std::filesystem::exists(Downloads() / "mouse_fw.exe.part"));
    const auto before = std::chrono::steady_clock::now();
    main_->ExitProgram();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 5s) << "the stalled transfer was cancelled";
    Pump([this] { return !SettingsOpen(); }, 2s);
    EXPECT_FALSE(SettingsOpen());
    EXPECT_FALSE(std::filesystem::exists(Downloads() / "mouse_fw.exe.part"));
    EXPECT_FALSE(std::filesystem::exists(Downloads() / "mouse_fw.exe"));
}

// How the check ends: the window's state, and the main window's update mark cleared only when
// nothing is left to update.
TEST_F(SetWndUpdateTest, TheCheckEndsInItsWindowStateAndClearsTheUpdateMarkWhenAllIsCurrent) {
    HttpTestServer server;
    struct Case {
        const char* what;
        std::string apiRoot;
        const char* text;
        bool markCleared;
    };
    const Case cases[] = {
        {"all current", KeyedRoot(server, Answer("0110", "m", server.Url("/file/1"), 2),
                                  Answer("1", "s", server.Url("/file/1"), 1)),
         "Up to date  ·  Last check: ", true},
        {"one newer", KeyedRoot(server, Answer("0111", "m", server.Url("/file/1"), 2), Json::Value()),
         "Updates are available", false},
        {"not reached", "http://127.0.0.1:1/api/", "The update service could not be reached", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        main_->FindControl("setbtn")->SetForeImage("file='common/base1.png'");
        OpenSettings(c.apiRoot);
        Pump([] { return false; }, 30ms);
        const std::string text = Part("Update_Status_text")->GetText();
        EXPECT_EQ(text.substr(0, std::string_view(c.text).size()), c.text);
        if (c.markCleared) {
            EXPECT_EQ(text, c.text + UpdateDateText());
        }
        EXPECT_EQ(main_->FindControl("setbtn")->GetForeImage().empty(), c.markCleared);
        // Rows that were not answered stay "Up to date" with their installed version.
        EXPECT_EQ(RowPart(1, "update_status_text")->GetText(), "Up to date");
        Click("closebtn");
        ASSERT_TRUE(Pump([this] { return !SettingsOpen(); }));
    }
}

// An updater's events reach the open settings window through the main window. None of its rows is
// being installed here, so each only ends with the window's own close rule.
TEST_F(SetWndUpdateTest, UpdateEventsReachTheOpenSettingsWindowWhichClosesWhenIdle) {
    HttpTestServer server;
    OpenSettings(KeyedRoot(server, Answer("0111", "mouse_fw", server.Url("/stall"), 2), Json::Value()));
    Click("update_fw_and_ap");
    Click("update_OK_btn");
    ASSERT_TRUE(Pump([this] { return ProgressText(0) == "1%"; }));
    main_->SendMessage(main_->Messages().updateRelay, 1, 0);
    main_->SendMessage(main_->Messages().updateEvent, 3, 0);
    Pump([] { return false; }, 50ms);
    EXPECT_TRUE(SettingsOpen()) << "a download runs";
    EXPECT_EQ(RowPart(0, "update_status_text")->GetText(), "Downloading");
    settings_->DestroyWindow();
    settings_.reset();

    OpenSettings(KeyedRoot(server, Answer("0111", "mouse_fw", server.Url("/file/10"), 2), Json::Value()));
    main_->SendMessage(main_->Messages().updateRelay, 4, 42);
    EXPECT_TRUE(Pump([this] { return !SettingsOpen(); }, 2s));
    EXPECT_FALSE(main_->IsShutDown()) << "only the event itself (wParam 4) ends the program";
}

TEST(ForcedFirmware, OnlyTheMouseAndTheReceiverBelowTheirMinimumNeedTheUpgrade) {
    struct Case {
        std::uint16_t product;
        std::uint16_t version;
        bool needed;
    };
    for (const Case c : {Case{0x225A, 0x010F, true}, Case{0x225A, 0x0110, false}, Case{0x225A, 0x0000, true},
                         Case{0x225B, 0x0105, true}, Case{0x225B, 0x0106, false}, Case{0x1004, 0x0001, false}}) {
        EXPECT_EQ(ForcedFirmwareFor(c.product, c.version).has_value(), c.needed)
            << std::hex << c.product << " " << c.version;
    }
}

// A mouse with firmware older than the program needs: a notice (nothing started, the program goes
// on) while "No_device_Link" stands; afterwards it follows the device count again.
class OldFirmwareTest : public SetWndUpdateTest {
protected:
    void SetUp() override { Start(0x010F); }
};

TEST_F(OldFirmwareTest, TheNoticeHoldsNoDeviceLinkUntilItIsAnswered) {
    ASSERT_TRUE(Pump([this] { return !reported_.empty(); }));
    Pump([] { return false; }, 30ms);
    ASSERT_EQ(reported_.size(), 1u);
    EXPECT_EQ(reported_[0].key, "message_text_30");
    EXPECT_TRUE(noDeviceShownDuringNotice_);
    EXPECT_FALSE(main_->FindControl("No_device_Link")->IsVisible());
    EXPECT_TRUE(main_->NoUpgradeMark());
    EXPECT_FALSE(main_->IsShutDown());
    EXPECT_NE(main_->GetCurrentDevice(), nullptr);
}

}  // namespace
}  // namespace zevik::test
