#include "zevik_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QTest>
#include <filesystem>
#include <memory>

#include "devices/mouse_device.h"
#include "emulator/emulation.h"
#include "emulator/mouse_model.h"
#include "settings/json_file_util.h"
#include "settings/profile_locations.h"
#include "ui/qt/qt_message_loop.h"
#include "ui/qt/qt_renderer.h"
#include "ui/qt/qt_ui_backend.h"
#include "ui/qt/qt_window_host.h"
#include "ui/registered_messages.h"
#include "ui/resource_manager.h"
#include "ui/ui_lib.h"
#include "ui_qt/qt_test_app.h"

namespace zevik::test {
namespace {

constexpr UINT kVisible = 0x10000000;
constexpr const char* kCablePath = "emu:mouse#vid_320f&pid_225a&mi_01&col04";

// The program's window over an emulated mouse, with its own data folder, on the Qt loop.
class ZevikWindowTest : public QtFixture {
protected:
    void Start(const char* emulate, bool tray = true) {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = std::filesystem::temp_directory_path() / (std::string("zevik-window-") + info->name());
        std::filesystem::remove_all(root_);
        locations_ =
            std::make_unique<CProfileLocations>(root_ / "data", std::filesystem::path(ZEVIK_RESOURCE_DIR));
        EmulationOptions options;
        options.list = emulate;
        std::string error;
        emulation_ = CEmulation::Create(options, error);
        ASSERT_NE(emulation_, nullptr) << error;
        SetUiBackend(&backend_);
        CPaintManagerUI::SetResourcePath(std::string(ZEVIK_RESOURCE_DIR) + "/skin/");
        CResourceManager::GetInstance()->LoadResource("res.xml");
        DeviceContext context;
        context.hidBackend = &emulation_->Backend();
        context.uiLoop = &loop_;
        context.profileLocations = locations_.get();
        window_ = std::make_unique<CZevikWindow>(context, kCablePath, tray);
        ASSERT_NE(window_->Create(0, "zevik", kVisible, 0), 0u) << window_->GetSkinError();
        connected_ = window_->ConnectMouse();
        window_->ShowStartPage();
        Pump();
    }
    void TearDown() override {
        if (window_) {
            window_->ExitProgram();
            if (window_->GetHWND() != 0) window_->DestroyWindow();
            window_.reset();
        }
        SetUiBackend(nullptr);
        std::filesystem::remove_all(root_);
    }
    static void Pump() {
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
    }
    CControlUI* Control(std::string_view name) { return window_->GetPaintManager()->FindControl(name); }
    QWidget* WidgetOf(std::string_view name) {
        CQtWindowHost* host = backend_.HostOf(*window_);
        return host != nullptr ? host->Renderer()->WidgetFor(Control(name)) : nullptr;
    }
    CMouseModel* Model() { return dynamic_cast<CMouseModel*>(emulation_->Model("mouse")); }

    CQtMessageLoop loop_;
    CQtUiBackend backend_;
    std::filesystem::path root_;
    std::unique_ptr<CProfileLocations> locations_;
    std::unique_ptr<CEmulation> emulation_;
    std::unique_ptr<CZevikWindow> window_;
    bool connected_ = false;
};

TEST_F(ZevikWindowTest, DraggingStageThreeReachesTheMouseAndTheProfileFile) {
    Start("mouse");
    ASSERT_TRUE(connected_);
    EXPECT_FALSE(Control("No_device_Link")->IsVisible());
    auto* slider = qobject_cast<QSlider*>(WidgetOf("DPI_slider_3"));
    ASSERT_NE(slider, nullptr);
    ASSERT_TRUE(slider->isVisible());
    const int before = slider->value();

    QStyleOptionSlider opt;
    opt.initFrom(slider);
    opt.orientation = slider->orientation();
    opt.minimum = slider->minimum();
    opt.maximum = slider->maximum();
    opt.sliderPosition = before;
    opt.sliderValue = before;
    const QRect handle =
        slider->style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, slider);
    const QPoint from = handle.center();
    QTest::mousePress(slider, Qt::LeftButton, {}, from);
    for (const int dx : {30, 60}) {
        const QPointF at = from + QPoint(dx, 0);
        QMouseEvent move(QEvent::MouseMove, at, slider->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(slider, &move);
    }
    QTest::mouseRelease(slider, Qt::LeftButton, {}, from + QPoint(60, 0));
    Pump();

    const int value = window_->Mouse()->Profile().GetDpiStages().at(3).DpiX();
    ASSERT_GT(value, before);
    const std::vector<uint8_t> memory = Model()->ReadArea("memory");
    const size_t at = CMouseSettingsBlock::kStages + 27 + 2;
    EXPECT_EQ(memory.at(at) | memory.at(at + 1) << 8, value);
    const Json::Value file = CJsonFileUtil().ReadJsonFile(window_->Mouse()->Profile().GetProfilePath());
    EXPECT_EQ(file["Device"][0]["DPIStages"]["StageDPIs"][3]["StageDPIX"].asInt(), value);
}

TEST_F(ZevikWindowTest, WithoutAnAnsweringMouseTheWindowSaysSo) {
    Start("mouse@receiver");  // only the receiver: the cable path is not there
    EXPECT_FALSE(connected_);
    EXPECT_TRUE(Control("No_device_Link")->IsVisible());
    EXPECT_EQ(window_->GetCurrentDevice(), nullptr);
}

TEST_F(ZevikWindowTest, CloseHidesToTheTrayAndTheTrayClickRestores) {
    Start("mouse", true);
    ASSERT_TRUE(window_->IsWindowVisible());
    QTest::mouseClick(WidgetOf("closebtn"), Qt::LeftButton);
    Pump();
    EXPECT_FALSE(window_->IsWindowVisible());
    EXPECT_FALSE(window_->IsShutDown());
    window_->SendMessage(CZevikWindow::kTrayMessage, CZevikWindow::kTrayIconId, WM_LBUTTONUP);
    EXPECT_TRUE(window_->IsWindowVisible());
    window_->SendMessage(CZevikWindow::kTrayMessage, CZevikWindow::kTrayIconId, WM_LBUTTONUP);
    EXPECT_FALSE(window_->IsWindowVisible());
}

TEST_F(ZevikWindowTest, WithoutATrayCloseMinimisesAndTheMenuShows) {
    Start("mouse", false);
    QTest::mouseClick(WidgetOf("closebtn"), Qt::LeftButton);
    Pump();
    EXPECT_TRUE(window_->IsMinimized());
    MenuCmd show{"show", "", "", false};
    window_->SendMessage(WM_MENUCLICK, reinterpret_cast<WPARAM>(&show), 0);
    EXPECT_TRUE(window_->IsWindowVisible());
    EXPECT_FALSE(window_->IsMinimized());
}

TEST_F(ZevikWindowTest, ExitFromTheMenuShutsDownOnceAndClosesTheMouse) {
    Start("mouse");
    int shutdowns = 0;
    window_->SetOnShutdown([&shutdowns] { ++shutdowns; });
    MenuCmd exit{"exit", "", "", false};
    window_->SendMessage(WM_MENUCLICK, reinterpret_cast<WPARAM>(&exit), 0);
    EXPECT_TRUE(window_->IsShutDown());
    EXPECT_FALSE(window_->Mouse()->CommandChannel().IsOpen());
    window_->ExitProgram();
    window_->SendMessage(WM_CLOSE);
    EXPECT_EQ(shutdowns, 1);
}

TEST_F(ZevikWindowTest, UpdateEventFourEndsTheProgramOtherEventsDoNot) {
    Start("mouse");
    const UINT updateEvent = RegisterWindowMessage(CZevikWindow::kUpdateEventMessageName);
    for (const WPARAM other : {WPARAM{1}, WPARAM{3}, WPARAM{5}}) {
        window_->SendMessage(updateEvent, other, 0);
        EXPECT_FALSE(window_->IsShutDown()) << other;
    }
    window_->SendMessage(updateEvent, 4, 0);
    EXPECT_TRUE(window_->IsShutDown());
    EXPECT_FALSE(window_->Mouse()->CommandChannel().IsOpen());
}

}  // namespace
}  // namespace zevik::test
