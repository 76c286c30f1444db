// The settings window's update list on the Qt renderer (offscreen) against the local test server,
// as a user sees it: pictures of the rows after the check, the confirmation page, a download in
// progress, a failed row and the notice that says where the packages are (in screenshots/).

#include <fmt/format.h>
#include <gtest/gtest.h>
#include <json/json.h>
#include <unistd.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>

#include "emulator/emulation.h"
#include "settings/profile_locations.h"
#include "shell/main_wnd.h"
#include "shell/set_wnd.h"
#include "ui/paint_manager_ui.h"
#include "ui/qt/qt_message_loop.h"
#include "ui/qt/qt_ui_backend.h"
#include "ui/qt/qt_window_host.h"
#include "ui/resource_manager.h"
#include "ui/ui_lib.h"
#include "ui_qt/qt_test_app.h"
#include "update/http_test_server.h"
#include "update/update_check.h"

namespace zevik::test {
namespace {

using namespace std::chrono_literals;
constexpr UINT kVisible = 0x10000000;

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

// A visible widget of any shown window by its control's name.
QWidget* ShownWidget(std::string_view name) {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->isVisible()) continue;
        for (QWidget* w : top->findChildren<QWidget*>()) {
            if (w->property("controlName").toString() == QString::fromUtf8(name.data(), name.size()) &&
                w->isVisible())
                return w;
        }
    }
    return nullptr;
}

class SettingsUpdateQtTest : public QtFixture {
protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() / fmt::format("zevik-settings-update-qt-{}", getpid());
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "tmp");
        if (const char* tmp = std::getenv("TMPDIR")) previousTmp_ = tmp;
        setenv("TMPDIR", (root_ / "tmp").c_str(), 1);
        locations_ = std::make_unique<CProfileLocations>(root_ / "data", std::filesystem::path(ZEVIK_RESOURCE_DIR));
        EmulationOptions options;
        options.list = "mouse";
        std::string error;
        emulation_ = CEmulation::Create(options, error);
        ASSERT_NE(emulation_, nullptr) << error;
        SetUiBackend(&backend_);
        CPaintManagerUI::SetResourcePath(std::string(ZEVIK_RESOURCE_DIR) + "/skin/");
        ASSERT_TRUE(CResourceManager::GetInstance()->LoadResource("res.xml"));
        DeviceContext context;
        context.hidBackend = &emulation_->Backend();
        context.uiLoop = &loop_;
        context.profileLocations = locations_.get();
        main_ = std::make_unique<CMainWnd>(context);
        main_->SetSettingsFile(root_ / "settings.json");
        ASSERT_NE(main_->Create(0, "zevik", kVisible, 0, 0, 0, 800, 572), 0u) << main_->GetSkinError();
        ASSERT_TRUE(PumpUntil([this] { return main_->IsWindowVisible() && main_->GetCurrentDevice() != nullptr; }));
        std::filesystem::create_directories("screenshots");
    }
    void TearDown() override {
        if (settings_ && settings_->GetHWND() != 0) settings_->DestroyWindow();
        settings_.reset();
        if (main_) {
            main_->ExitProgram();
            if (main_->GetHWND() != 0) main_->DestroyWindow();
            main_.reset();
        }
        SetUiBackend(nullptr);
        if (previousTmp_.empty()) {
            unsetenv("TMPDIR");
        } else {
            setenv("TMPDIR", previousTmp_.c_str(), 1);
        }
        std::filesystem::remove_all(root_);
    }
    static bool PumpUntil(const std::function<bool()>& cond, std::chrono::milliseconds limit = 10s) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!cond()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return true;
    }
    static void Settle() { PumpUntil([] { return false; }, 60ms); }
    std::string KeyedRoot(const Json::Value& mouse, const Json::Value& driver) const {
        const UpdateTable table = MakeUpdateTable();
        Json::Value answers(Json::objectValue);
        answers[BuildAppKey(Row(table, UpdateRow::Mouse))] = mouse;
        answers[BuildAppKey(Row(table, UpdateRow::Software))] = driver;
        return server_.Url("/keyed/" + Hex(Json::FastWriter().write(answers)) + "/api/");
    }
    // Opened as "setbtn" opens it, shown by the renderer; its check has ended.
    void OpenSettings(const std::string& apiRoot) {
        main_->SetUpdateApiRoot(apiRoot);
        settings_ = std::make_unique<CSetWnd>(main_->Languages(), main_->GetLanguageIndex());
        UpdateSetup setup = main_->MakeUpdateSetup();
        setup.options.pauseAfterDownload = 0ms;
        settings_->SetUpdateSetup(setup);
        ASSERT_TRUE(main_->CreateSettingsWindow(*settings_, false));
        settings_->ShowWindow(true, true);
        ASSERT_TRUE(PumpUntil([this] { return settings_->Update().Shown().checkDone; }));
        Settle();
    }
    void Click(std::string_view name) {
        QWidget* widget = ShownWidget(name);
        ASSERT_NE(widget, nullptr) << name;
        QTest::mouseClick(widget, Qt::LeftButton);
        Settle();
    }
    void Picture(const char* file) {
        CQtWindowHost* host = backend_.HostOf(*settings_);
        ASSERT_NE(host, nullptr);
        ASSERT_TRUE(host->Widget()->grab().toImage().save(QString("screenshots/") + file));
    }
    std::string RowStatus(int row) {
        auto* pm = settings_->GetPaintManager();
        auto rows = pm->FindSubControlsByClass(pm->FindControl("device_update_list_info"), "UpdateInfoListItemUI");
        if (row >= static_cast<int>(rows.size())) return {};
        return pm->FindSubControlByName(rows[row], "update_status_text")->GetText();
    }

    HttpTestServer server_;
    CQtMessageLoop loop_;
    CQtUiBackend backend_;
    std::filesystem::path root_;
    std::string previousTmp_;
    std::unique_ptr<CProfileLocations> locations_;
    std::unique_ptr<CEmulation> emulation_;
    std::unique_ptr<CMainWnd> main_;
    std::unique_ptr<CSetWnd> settings_;
};

TEST_F(SettingsUpdateQtTest, RowsConfirmationProgressFailureAndTheSavedNotice) {
    // The mouse is offered, the program is current.
    OpenSettings(KeyedRoot(Answer("0111", "mouse_fw", server_.Url("/file/200000"), 2),
                           Answer("1", "Setup", server_.Url("/file/10"), 1)));
    EXPECT_EQ(RowStatus(0), "Update available");
    EXPECT_EQ(RowStatus(1), "Up to date");
    QWidget* offer = ShownWidget("update_fw_and_ap");
    ASSERT_NE(offer, nullptr);
    EXPECT_TRUE(offer->isEnabled());
    Picture("settings_update_rows.png");

    Click("update_fw_and_ap");
    ASSERT_NE(ShownWidget("update_OK_btn"), nullptr) << "the confirmation page shows";
    Picture("settings_update_confirm.png");

    // The notice shows when the pass has stored the package: pictured, then confirmed.
    bool noticeShown = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* confirm = ShownWidget("confirm_btn");
        if (confirm == nullptr || noticeShown) return;
        noticeShown = true;
        ASSERT_TRUE(confirm->window()->grab().toImage().save("screenshots/settings_update_saved.png"));
        QTest::mouseClick(confirm, Qt::LeftButton);
    });
    poll.start(20);
    Click("update_OK_btn");
    ASSERT_TRUE(PumpUntil([&] { return noticeShown && !settings_->Update().Shown().downloading; }));
    poll.stop();
    Settle();
    EXPECT_EQ(RowStatus(0), "Downloaded");
    Picture("settings_update_stored.png");
    settings_->DestroyWindow();
    settings_.reset();

    // A download in progress (the server stalls after 1 % of it), then the program's end.
    OpenSettings(KeyedRoot(Answer("0111", "mouse_fw", server_.Url("/stall"), 2),
                           Answer("1", "Setup", server_.Url("/file/10"), 1)));
    Click("update_fw_and_ap");
    Click("update_OK_btn");
    ASSERT_TRUE(PumpUntil([this] { return RowStatus(0) == "Downloading"; }));
    Settle();
    Picture("settings_update_downloading.png");
    main_->ExitProgram();
    ASSERT_TRUE(PumpUntil([this] { return settings_->GetHWND() == 0; }, 3s));
    settings_.reset();
}

TEST_F(SettingsUpdateQtTest, AFailedDownloadShowsOnItsRow) {
    OpenSettings(KeyedRoot(Answer("0111", "mouse_fw", server_.Url("/missing"), 2),
                           Answer("1", "Setup", server_.Url("/file/10"), 1)));
    Click("update_fw_and_ap");
    Click("update_OK_btn");
    ASSERT_TRUE(PumpUntil([this] { return !settings_->Update().Shown().downloading; }));
    Settle();
    EXPECT_EQ(RowStatus(0), "Update failed");
    Picture("settings_update_failed.png");
}

}  // namespace
}  // namespace zevik::test
