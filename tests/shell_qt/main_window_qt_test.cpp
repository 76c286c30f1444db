// The main window on the Qt renderer (offscreen) over emulated devices, as the desktop program runs
// it: the scan thread finds the devices, the window shows itself after the first pass, and user
// input arrives as Qt events.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>

#include "devices/device_option_ui.h"
#include "devices/mouse_device.h"
#include "devices/mouse_lighting.h"
#include "editors/key_assignment_form.h"
#include "editors/key_set_control_ui.h"
#include "editors/key_tables.h"
#include "editors/macro_control_ui.h"
#include "settings/macro_store.h"
#include "editors/shoot_control_ui.h"
#include "devices/mouse_recoil_image.h"
#include "devices/recoil_bullet.h"
#include "emulator/emulation.h"
#include "platform/input_source.h"
#include "emulator/mouse_model.h"
#include "settings/colour_choices.h"
#include "settings/device_profile_ui.h"
#include "settings/json_file_util.h"
#include "settings/profile_locations.h"
#include "shell/key_handlers.h"
#include "shell/main_routes.h"
#include "shell/recoil_routes.h"
#include "shell/main_wnd.h"
#include "shell/secondary_wnd.h"
#include "transport/command_channel.h"
#include "ui/color_palette_ui.h"
#include "ui/option_ui.h"
#include "ui/qt/light_layer_widget.h"
#include "ui/qt/light_widget.h"
#include "ui/qt/opaque_painted_widget.h"
#include "ui/qt/painted_control_widget.h"
#include "ui/qt/qt_message_loop.h"
#include "ui/qt/qt_renderer.h"
#include "ui/qt/qt_ui_backend.h"
#include "ui/qt/qt_window_host.h"
#include "ui/resource_manager.h"
#include "ui/ui_lib.h"
#include "ui_qt/paint_recorder.h"
#include "ui_qt/qt_test_app.h"

namespace zevik::test {
namespace {

using namespace std::chrono_literals;
constexpr UINT kVisible = 0x10000000;

class MainWindowQtTest : public QtFixture {
protected:
    void Start(const char* emulate, const char* unplugFirst = nullptr) {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = std::filesystem::temp_directory_path() / (std::string("zevik-main-qt-") + info->name());
        std::filesystem::remove_all(root_);
        locations_ =
            std::make_unique<CProfileLocations>(root_ / "data", std::filesystem::path(ZEVIK_RESOURCE_DIR));
        EmulationOptions options;
        options.list = emulate;
        std::string error;
        emulation_ = CEmulation::Create(options, error);
        ASSERT_NE(emulation_, nullptr) << error;
        if (unplugFirst != nullptr) {
            ASSERT_TRUE(emulation_->Unplug(unplugFirst, error)) << error;
        }
        SetUiBackend(&backend_);
        CPaintManagerUI::SetResourcePath(std::string(ZEVIK_RESOURCE_DIR) + "/skin/");
        ASSERT_TRUE(CResourceManager::GetInstance()->LoadResource("res.xml"));
        DeviceContext context;
        context.hidBackend = &emulation_->Backend();
        context.uiLoop = &loop_;
        context.profileLocations = locations_.get();
        window_ = std::make_unique<CMainWnd>(context);
        window_->SetSettingsFile(root_ / "settings.json");
        ASSERT_NE(window_->Create(0, "zevik", kVisible, 0, 0, 0, 800, 572), 0u) << window_->GetSkinError();
        // The window hides itself at init and shows after the scan's first pass.
        ASSERT_TRUE(PumpUntil([this] { return window_->IsWindowVisible(); }));
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
    static bool PumpUntil(const std::function<bool()>& cond, std::chrono::milliseconds limit = 5s) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!cond()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return true;
    }
    CControlUI* Control(std::string_view name) { return window_->FindControl(name); }
    QWidget* WidgetOf(std::string_view name) {
        CQtWindowHost* host = backend_.HostOf(*window_);
        return host != nullptr ? host->Renderer()->WidgetFor(Control(name)) : nullptr;
    }
    CMouseModel* Model() { return dynamic_cast<CMouseModel*>(emulation_->Model("mouse")); }
    // A click on a shown control's widget, as the user gives it.
    void ClickShown(std::string_view name) {
        QWidget* widget = WidgetOf(name);
        ASSERT_NE(widget, nullptr) << name;
        ASSERT_TRUE(widget->isVisible()) << name;
        QTest::mouseClick(widget, Qt::LeftButton);
        PumpUntil([] { return false; }, std::chrono::milliseconds(30));
    }
    // Focus into the bullet's X edit and out again: leaving an edit saves the bullet.
    void SaveBulletByLeavingAnEdit() {
        CPaintManagerUI* pm = window_->GetPaintManager();
        pm->SetFocus(Control("bullet_x_eidt"));
        pm->SetFocus(nullptr);
        PumpUntil([] { return false; }, 30ms);
    }
    COrbantixMouseDevice* Mouse() {
        auto* mouse =
            window_->Devices(CMainWnd::kFamilyMouse).empty()
                ? nullptr
                : dynamic_cast<COrbantixMouseDevice*>(window_->Devices(CMainWnd::kFamilyMouse).front());
        return mouse != nullptr && mouse->CommandChannel().IsOpen() && mouse->HasMirror() ? mouse : nullptr;
    }

    CQtMessageLoop loop_;
    CQtUiBackend backend_;
    std::filesystem::path root_;
    std::unique_ptr<CProfileLocations> locations_;
    std::unique_ptr<CEmulation> emulation_;
    std::unique_ptr<CMainWnd> window_;
};

TEST_F(MainWindowQtTest, StartsWithoutADeviceThenThePluggedMouseIsShownAndSelected) {
    Start("mouse", "mouse");
    EXPECT_TRUE(Control("No_device_Link")->IsVisible());
    EXPECT_EQ(window_->GetCurrentDevice(), nullptr);
    QWidget* noDevice = WidgetOf("No_device_Link");
    ASSERT_NE(noDevice, nullptr);
    EXPECT_TRUE(noDevice->isVisible());
    EXPECT_FALSE(Control("device_power_switch")->IsVisible()) << "no battery or connection without a device";

    std::string error;
    ASSERT_TRUE(emulation_->Plug("mouse", error)) << error;
    ASSERT_TRUE(PumpUntil([this] { return Mouse() != nullptr; }));
    COrbantixMouseDevice* mouse = Mouse();
    ASSERT_NE(mouse, nullptr);
    CDeviceOptionUI* option = mouse->GetDeviceOption();
    ASSERT_NE(option, nullptr);
    EXPECT_TRUE(option->IsVisible());
    EXPECT_TRUE(option->IsSelected());
    EXPECT_EQ(window_->GetCurrentDevice(), mouse);
    EXPECT_FALSE(Control("No_device_Link")->IsVisible());
    EXPECT_TRUE(Control("device_power_switch")->IsVisible());
}

TEST_F(MainWindowQtTest, DraggingStageThreeReachesTheMouseAndTheProfileFile) {
    Start("mouse");
    ASSERT_TRUE(PumpUntil([this] { return Mouse() != nullptr; }));
    COrbantixMouseDevice* mouse = Mouse();
    ASSERT_NE(mouse, nullptr);
    auto* performance = dynamic_cast<COptionUI*>(Control("performance_Op_tab"));
    ASSERT_NE(performance, nullptr);
    performance->Selected(true);
    PumpUntil([] { return false; }, 50ms);
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
    PumpUntil([] { return false; }, 50ms);

    const int value = mouse->Profile().GetDpiStages().at(3).DpiX();
    ASSERT_GT(value, before);
    const std::vector<uint8_t> memory = Model()->ReadArea("memory");
    const size_t at = CMouseSettingsBlock::kStages + 27 + 2;
    EXPECT_EQ(memory.at(at) | memory.at(at + 1) << 8, value);
    const Json::Value file = CJsonFileUtil().ReadJsonFile(mouse->Profile().GetProfilePath());
    EXPECT_EQ(file["Device"][0]["DPIStages"]["StageDPIs"][3]["StageDPIX"].asInt(), value);
}

TEST_F(MainWindowQtTest, PickingBreathingAndLoweringTheBrightnessReachTheMouseAndItsDrawnLeds) {
    Start("mouse");
    ASSERT_TRUE(PumpUntil([this] { return Mouse() != nullptr; }));
    COrbantixMouseDevice* mouse = Mouse();
    QWidget* tab = WidgetOf("deng_Op_tab");
    ASSERT_NE(tab, nullptr);
    QTest::mouseClick(tab, Qt::LeftButton);
    PumpUntil([] { return false; }, 50ms);
    auto* combo = qobject_cast<QComboBox*>(WidgetOf("light_combo_modeSelect"));
    ASSERT_NE(combo, nullptr);
    ASSERT_TRUE(combo->isVisible()) << "the lighting tab shows the lighting page";
    ASSERT_EQ(combo->currentIndex(), 0);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);  // Spectrum
    QTest::keyClick(combo, Qt::Key_Down);  // Breathing
    PumpUntil([] { return false; }, 50ms);
    ASSERT_EQ(mouse->GetLighting().selectItem, 2);

    auto* slider = qobject_cast<QSlider*>(WidgetOf("deng_light_slider"));
    ASSERT_NE(slider, nullptr);
    ASSERT_TRUE(slider->isEnabled()) << "Breathing offers the brightness";
    ASSERT_EQ(slider->value(), 4);
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Left);
    PumpUntil([] { return false; }, 50ms);
    EXPECT_EQ(mouse->GetLighting().light, 3);
    const std::vector<uint8_t> memory = Model()->ReadArea("memory");
    EXPECT_EQ(memory.at(1), 2) << "the mouse's mode code";
    EXPECT_EQ(memory.at(2), 3) << "the mouse's brightness";
    ASSERT_NE(WidgetOf("deng_Color_Pallet"), nullptr);
    EXPECT_FALSE(WidgetOf("deng_Color_Pallet")->isEnabled()) << "Breathing offers no colour";

    // The drawn LEDs breathe at most at level 3's intensity (195) from now on.
    const std::uint64_t changed = mouse->LightingStepCount();
    ASSERT_TRUE(PumpUntil([&] { return mouse->LightingStepCount() >= changed + 2; }))
        << "the frame computed before the change has been replaced";
    const std::uint64_t steps = mouse->LightingStepCount();
    int brightest = 0;
    PumpUntil(
        [&] {
            for (int i = 0; i < kMouseLedCount; ++i)
                brightest = std::max(brightest, static_cast<int>(mouse->GetLightEntry(i) >> 24));
            return false;
        },
        400ms);
    EXPECT_GT(mouse->LightingStepCount(), steps);
    EXPECT_GT(brightest, 0);
    EXPECT_LE(brightest, 195);
}

TEST_F(MainWindowQtTest, TheProfileBarOpensItsActionsAndAddsAProfileByClicks) {
    Start("mouse");
    ASSERT_TRUE(PumpUntil([this] { return Mouse() != nullptr; }));
    CDeviceProfileUI* bar = ProfileBarOf(Mouse());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->GetProfileCount(), 1);
    QWidget* more = WidgetOf("profile_fun_spread_btn");
    ASSERT_NE(more, nullptr);
    QTest::mouseClick(more, Qt::LeftButton);
    PumpUntil([] { return false; }, 50ms);
    EXPECT_TRUE(Control("profile_menu_layout")->IsVisible());
    QWidget* add = WidgetOf("device_add_btn");
    ASSERT_NE(add, nullptr);
    ASSERT_TRUE(add->isVisible());
    // The click asks first: the question's own "confirm_btn" is clicked once it shows.
    bool confirmed = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&confirmed] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (!top->isVisible()) continue;
            for (QWidget* w : top->findChildren<QWidget*>()) {
                if (w->property("controlName").toString() == "confirm_btn" && w->isVisible() && !confirmed) {
                    confirmed = true;
                    QTest::mouseClick(w, Qt::LeftButton);
                    return;
                }
            }
        }
    });
    poll.start(20);
    QTest::mouseClick(add, Qt::LeftButton);
    PumpUntil([] { return false; }, 50ms);
    poll.stop();
    EXPECT_TRUE(confirmed) << "no question was asked";
    EXPECT_EQ(bar->GetProfileCount(), 2);
    EXPECT_TRUE(std::filesystem::exists(bar->GetProfileFilePath(1)));
}

TEST_F(MainWindowQtTest, TheAnimatedPreviewRepaintsOnlyItsLights) {
    Start("mouse");
    ASSERT_TRUE(PumpUntil([this] { return Mouse() != nullptr; }));
    PumpUntil([] { return false; }, 300ms);  // the first status poll and the page's first showing
    QWidget* top = backend_.HostOf(*window_)->Widget();
    QRegion lights;
    CLightLayerWidget* layer = nullptr;
    for (int i = 0; i < kMouseLedCount; ++i) {
        auto* light = qobject_cast<CLightWidget*>(WidgetOf("light_" + std::to_string(i)));
        ASSERT_NE(light, nullptr) << i;
        ASSERT_TRUE(light->IsShown()) << i;
        ASSERT_TRUE(layer == nullptr || light->Layer() == layer) << "all lights of the picture share a layer";
        layer = light->Layer();
        lights += QRect(light->mapTo(top, QPoint(0, 0)), light->size());
    }

    PaintRecorder recorder(*top);
    ASSERT_TRUE(PumpUntil([&] { return recorder.PaintsOf(layer) >= 3; }, 3s)) << "the preview does not animate";
    for (const auto& [widget, paints] : recorder.paints) {
        EXPECT_EQ(widget, layer) << "also repainted: " << widget->metaObject()->className() << " "
                                 << widget->property("controlName").toString().toStdString();
    }
    const QRegion outside = recorder.painted - lights.boundingRect();
    EXPECT_TRUE(outside.isEmpty()) << "repainted outside the lights: " << outside.boundingRect().x() << ","
                                   << outside.boundingRect().y() << " " << outside.boundingRect().width() << "x"
                                   << outside.boundingRect().height();
}

TEST_F(MainWindowQtTest, AMinimisedWindowRestsThePreviewUntilItIsRestored) {
    Start("mouse");
    ASSERT_TRUE(PumpUntil([this] { return Mouse() != nullptr; }));
    COrbantixMouseDevice* mouse = Mouse();
    CDeviceOptionUI* option = mouse->GetDeviceOption();
    ASSERT_NE(option, nullptr);
    const auto stepsGoOn = [&] {
        const std::uint64_t before = mouse->LightingStepCount();
        return PumpUntil([&] { return mouse->LightingStepCount() > before + 1; }, 2s);
    };
    ASSERT_TRUE(stepsGoOn()) << "the preview does not animate";

    QWidget* top = backend_.HostOf(*window_)->Widget();
    top->showMinimized();
    ASSERT_TRUE(PumpUntil([&] { return mouse->IsWindowUnseen(); }));
    EXPECT_FALSE(window_->IsSeenOnScreen());
    PumpUntil([] { return false; }, 50ms);  // a step under way ends
    const std::uint64_t resting = mouse->LightingStepCount();
    PumpUntil([] { return false; }, 400ms);
    EXPECT_EQ(mouse->LightingStepCount(), resting) << "the lighting thread still steps";
    EXPECT_FALSE(option->IsTimerRunning(CDeviceOptionUI::kTimerLightFrame));
    EXPECT_TRUE(mouse->CommandChannel().IsOpen()) << "only the preview rests";

    top->showNormal();
    ASSERT_TRUE(PumpUntil([&] { return !mouse->IsWindowUnseen(); }));
    EXPECT_TRUE(stepsGoOn()) << "the preview did not come back with the window";
}

// Finds a visible widget of a running dialog by its control's name.
QWidget* DialogWidget(std::string_view name) {
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

TEST_F(MainWindowQtTest, AStageColourIsPickedInThePaletteAndConfirmed) {
    Start("mouse");
    ASSERT_TRUE(PumpUntil([this] { return Mouse() != nullptr; }));
    COrbantixMouseDevice* mouse = Mouse();
    auto* performance = dynamic_cast<COptionUI*>(Control("performance_Op_tab"));
    ASSERT_NE(performance, nullptr);
    performance->Selected(true);
    PumpUntil([] { return false; }, 50ms);
    QWidget* stageColour = WidgetOf("DPI_color_option_2");
    ASSERT_NE(stageColour, nullptr);
    ASSERT_TRUE(stageColour->isVisible());
    const auto rgbOf = [](const DpiStageRecord& r) {
        return UiColor{r.red} << 16 | UiColor{r.green} << 8 | UiColor{r.blue};
    };
    const UiColor before = rgbOf(mouse->Profile().GetDpiStages().at(2));

    // Once the picker shows: a click near the top right of the palette (a light, strong colour),
    // then "okbtn".
    UiColor picked = 0;
    bool presetShownSelected = false;
    bool done = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* palette = DialogWidget("Pallet");
        QWidget* ok = DialogWidget("okbtn");
        CSecondaryWnd* picker = CSecondaryWnd::LastOpened();
        if (done || palette == nullptr || ok == nullptr || picker == nullptr) return;
        done = true;
        auto* preset = qobject_cast<CPaintedControlWidget*>(DialogWidget("color_option_4"));
        // Selected, and marked by the skin's ring (white over the swatch's own colour).
        presetShownSelected = preset != nullptr && preset->IsSelected() &&
                              QColor(preset->grab().toImage().pixel(1, 1)).blue() > 200;
        QTest::mouseClick(palette, Qt::LeftButton, {},
                          QPoint(palette->width() * 9 / 10, palette->height() / 10));
        auto* pallet = dynamic_cast<CColorPaletteUI*>(picker->GetPaintManager()->FindControl("Pallet"));
        ASSERT_NE(pallet, nullptr);
        picked = pallet->GetSelectColor();
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    poll.start(20);
    QTest::mouseClick(stageColour, Qt::LeftButton);
    PumpUntil([] { return false; }, 50ms);
    poll.stop();
    ASSERT_TRUE(done) << "the picker did not show";
    EXPECT_TRUE(presetShownSelected) << "the stored preset is shown selected";
    EXPECT_EQ(CSecondaryWnd::OpenCount(), 0u);
    EXPECT_NE(picked & 0xFFFFFF, before) << "the click picked a colour of its own";
    EXPECT_EQ(rgbOf(mouse->Profile().GetDpiStages().at(2)), picked & 0xFFFFFF);
    // The pick was collected into the first slot of the user's colour file.
    const Json::Value file = CJsonFileUtil().ReadJsonFile(locations_->ColourChoicesFile());
    const Json::Value& slot = file["coloroptioninfo"]["palletDialogcollectcoloroption"][0];
    EXPECT_EQ(slot["UserData"].asString(), "1");
    EXPECT_EQ(slot["color"].asString(), CColourChoices::FormatColour(picked));
}

// A dialog runs in the program's own loop: a device plugged in while it waits is served at once,
// and the dialog's answer still comes from its own button.
TEST_F(MainWindowQtTest, AMousePluggedWhileADialogWaitsIsServedAtOnce) {
    Start("mouse", "mouse");
    ASSERT_EQ(Mouse(), nullptr);
    bool servedWhileOpen = false;
    bool clicked = false;
    QTimer poll;
    bool plugged = false;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* confirm = DialogWidget("confirm_btn");
        if (confirm == nullptr || clicked) return;
        if (!plugged) {
            std::string error;
            plugged = emulation_->Plug("mouse", error);
            return;
        }
        if (Mouse() == nullptr) return;  // not yet: the dialog keeps waiting
        servedWhileOpen = true;
        clicked = true;
        QTest::mouseClick(confirm, Qt::LeftButton);
    });
    poll.start(20);
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [this] { window_->CloseChildWindows(); });
    giveUp.start(5000);
    const int answer = window_->AskUser("message_text_29", 1);
    poll.stop();
    EXPECT_TRUE(servedWhileOpen) << "the mouse was not served while the dialog stood";
    EXPECT_EQ(answer, 1);
    EXPECT_NE(Mouse(), nullptr);
}

// The key page by clicks: the back button becomes Shift+A, the DPI-up button Mute; both are written
// to the mouse with "save to mouse", and the picture labels the buttons with their new functions.
TEST_F(MainWindowQtTest, TwoButtonsGetNewFunctionsOnTheKeyPageAndReachTheMouse) {
    Start("mouse");
    ASSERT_TRUE(PumpUntil([this] { return Mouse() != nullptr; }));
    COrbantixMouseDevice* mouse = Mouse();
    const auto click = [this](std::string_view name) { ClickShown(name); };
    const auto choose = [this](std::string_view name, int index) {
        auto* combo = qobject_cast<QComboBox*>(WidgetOf(name));
        ASSERT_NE(combo, nullptr) << name;
        ASSERT_TRUE(combo->isVisible()) << name;
        ASSERT_LT(index, combo->count()) << name;
        combo->setCurrentIndex(index);
        emit combo->activated(index);
        PumpUntil([] { return false; }, 30ms);
    };
    click("key_Op_tab");
    auto* keys = KeySetControlOf(mouse);
    ASSERT_NE(keys, nullptr);

    click("key_5");  // DPI up
    ASSERT_TRUE(keys->HasOpenKey());
    choose("keyset_function_combo", kFunctionMedia);
    choose("keyset_media_combo", 7);  // mute

    click("key_4");  // back
    choose("keyset_function_combo", kFunctionKeyboardKey);
    keys->SetKeyText(FindKeyRowByName("A"));  // the key capture comes with recording
    click("key_ComBox_check_2");              // Shift
    click("key_butt_keysave");
    EXPECT_EQ(Control("key_4")->GetText(), "Shift+A");
    EXPECT_EQ(Control("key_5")->GetText(), "Mute");

    click("key_butt_prosave");
    const auto onMouse = [&](int key) {
        const size_t k = mouse->KeyMap()[static_cast<size_t>(key)];
        const std::vector<uint8_t> table = Model()->ReadArea("key_table");
        return AssignmentCode{table.at(3 * k), table.at(3 * k + 1), table.at(3 * k + 2)};
    };
    EXPECT_EQ(onMouse(5), (AssignmentCode{0x30, 0xE2, 0x00}));
    EXPECT_EQ(onMouse(4), (AssignmentCode{0x20, 0x02, 0x04}));
    EXPECT_FALSE(Control("key_butt_prosave")->IsEnabled()) << "nothing is pending after the write";

    std::filesystem::create_directories("screenshots");
    CQtWindowHost* host = backend_.HostOf(*window_);
    ASSERT_TRUE(host->Widget()->grab().toImage().save("screenshots/key_page.png"));
}

// The recoil page inside the key page's recoil function: gun 2, bullet 6 shown from its default
// pattern, an edit left saves the bullet, and "send" writes the four patterns to the mouse.
TEST_F(MainWindowQtTest, TheRecoilPageEditsABulletAndSendsThePatterns) {
    Start("mouse");
    ASSERT_TRUE(PumpUntil([this] { return Mouse() != nullptr; }));
    COrbantixMouseDevice* mouse = Mouse();
    const auto click = [this](std::string_view name) { ClickShown(name); };
    click("key_Op_tab");
    click("key_5");
    auto* combo = qobject_cast<QComboBox*>(WidgetOf("keyset_function_combo"));
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(kFunctionGun);
    emit combo->activated(kFunctionGun);
    PumpUntil([] { return false; }, 30ms);
    CShootControlUI* page = ShootControlOf(mouse);
    ASSERT_NE(page, nullptr);
    click("shoot_gun_op_1");
    click("bullet_op_5");
    EXPECT_EQ(page->CurrentGun(), 1);
    EXPECT_EQ(page->CurrentBullet(), 5);
    EXPECT_EQ(Control("bullet_select_index")->GetText(), "6");
    const RecoilBullet shown = page->ShownBullet();
    EXPECT_GT(shown.y, 0) << "the default pattern pulls down";

    page->ShowInControls({true, 4, false, 9, 70});
    SaveBulletByLeavingAnEdit();
    EXPECT_EQ(ReadRecoilBullet(CJsonFileUtil().ReadJsonFile(page->PatternFile(1)), 5),
              (RecoilBullet{true, 4, false, 9, 70}));

    std::filesystem::create_directories("screenshots");
    ASSERT_TRUE(backend_.HostOf(*window_)->Widget()->grab().toImage().save("screenshots/recoil_page.png"));

    click("shootdate_save_btn");
    const auto image = BuildMouseRecoilImage(mouse->KindFolder());
    ASSERT_TRUE(image.has_value());
    const std::vector<uint8_t> area = Model()->ReadArea("recoil");
    EXPECT_TRUE(std::equal(image->begin(), image->end(), area.begin()));
    EXPECT_EQ(image->size(), 2920u) << "four full patterns";
}

// The macro page with a macro of four rows, chosen in the name list: the rows show their delays.
TEST_F(MainWindowQtTest, TheMacroPageShowsAFourRowMacro) {
    Start("mouse");
    ASSERT_TRUE(PumpUntil([this] { return Mouse() != nullptr; }));
    COrbantixMouseDevice* mouse = Mouse();
    std::filesystem::create_directories(mouse->KindFolder());
    const CMacroStore store(mouse->KindFolder());
    ASSERT_TRUE(store.AddMacroNamed("Reload"));
    ASSERT_TRUE(store.AddMacroNamed("Jump shot"));
    ASSERT_TRUE(store.SaveMacro(1, {{"down", 0x02, 9, 0}, {"down", 0x04, 10, 30}, {"up", 0x04, 10, 45}, {"up", 0x02, 9, 12}}));
    QTest::mouseClick(WidgetOf("macro_Op_tab"), Qt::LeftButton);
    PumpUntil([] { return false; }, 30ms);
    auto* page = FindControlOfClass<CMacroControlUI>(mouse);
    ASSERT_NE(page, nullptr);
    page->LoadMacroList();
    page->SelectMacro(1);
    PumpUntil([] { return false; }, 50ms);
    auto* rows = dynamic_cast<CContainerUI*>(Control("macro_action_list"));
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rows->GetCount(), 4);
    std::filesystem::create_directories("screenshots");
    ASSERT_TRUE(backend_.HostOf(*window_)->Widget()->grab().toImage().save("screenshots/macro_page.png"));
}

// A recording on the macro page: start is off, the name list, the column edits and the rows are off,
// and the stop button blinks, the only thing of the window that repaints while nobody types. Stop
// saves what was recorded (event files stand in for the desktop's input).
TEST_F(MainWindowQtTest, WhileRecordingOnlyTheBlinkingStopButtonRepaints) {
    Start("mouse");
    ASSERT_TRUE(PumpUntil([this] { return Mouse() != nullptr; }));
    COrbantixMouseDevice* mouse = Mouse();
    std::filesystem::create_directories(mouse->KindFolder());
    const CMacroStore store(mouse->KindFolder());
    ASSERT_TRUE(store.AddMacroNamed("Reload"));
    ASSERT_TRUE(store.SaveMacro(0, {{"down", 0x15, 10, 0}, {"up", 0x15, 10, 40}}));
    const std::filesystem::path input = root_ / "keys.evemu";
    std::ofstream(input) << "E: 0.000000 0001 001e 0001\nE: 0.070000 0001 001e 0000\n";
    window_->Hook().SetSourceFactory([input] { return MakeInputSource({input}); });
    ClickShown("macro_Op_tab");
    auto* page = FindControlOfClass<CMacroControlUI>(mouse);
    ASSERT_NE(page, nullptr);
    page->LoadMacroList();
    page->SelectMacro(0);
    PumpUntil([] { return false; }, 50ms);

    ClickShown("macro_btn_starredio");
    ASSERT_TRUE(page->IsRecording());
    PumpUntil([] { return false; }, 600ms);  // the replayed keys reach the rows
    EXPECT_EQ(page->RowEvents().size(), 4u);
    for (const char* off : {"macro_btn_starredio", "macro_name_tab", "macro_tab_macroaction_edit", "macro_action_list"}) {
        EXPECT_FALSE(Control(off)->IsEnabled()) << off;
    }
    QWidget* stop = WidgetOf("macro_btn_stopredio");
    ASSERT_NE(stop, nullptr);
    EXPECT_TRUE(stop->isEnabled());
    auto* blinking = qobject_cast<CPaintedControlWidget*>(stop);
    ASSERT_NE(blinking, nullptr) << "the record button paints its blinking image itself";

    QWidget* top = backend_.HostOf(*window_)->Widget();
    // The mouse picture beside the page animates its lights meanwhile: its layer may repaint too.
    const QRect stopRect(stop->mapTo(top, QPoint(0, 0)), stop->size());
    QRegion lightRects;
    QWidget* lights = nullptr;
    for (int i = 0; i < kMouseLedCount; ++i) {
        auto* light = qobject_cast<CLightWidget*>(WidgetOf("light_" + std::to_string(i)));
        ASSERT_NE(light, nullptr) << i;
        lights = light->Layer();
        lightRects += QRect(light->mapTo(top, QPoint(0, 0)), light->size());
    }
    auto* opaque = qobject_cast<COpaquePaintedWidget*>(stop);
    ASSERT_NE(opaque, nullptr) << "the blinking button paints all its pixels";
    const int captures = opaque->BackdropCaptures();
    PaintRecorder recorder(*top);
    const qint64 firstLook = blinking->Look().foreImage.cacheKey();
    ASSERT_TRUE(PumpUntil([&] { return recorder.PaintsOf(stop) >= 4; }, 2s)) << "the stop button does not blink";
    EXPECT_NE(blinking->Look().foreImage.cacheKey(), firstLook);
    EXPECT_FALSE(blinking->Look().foreImage.isNull());
    for (const auto& [widget, paints] : recorder.paints) {
        EXPECT_TRUE(widget == stop || widget == lights)
            << "also repainted: " << widget->metaObject()->className() << " "
            << widget->property("controlName").toString().toStdString();
    }
    const QRegion outside = recorder.painted - lightRects.boundingRect() - stopRect;
    EXPECT_TRUE(outside.isEmpty()) << "repainted outside the stop button and the lights";
    EXPECT_LE(opaque->BackdropCaptures() - captures, 1) << "a blink does not copy what lies beneath again";

    std::filesystem::create_directories("screenshots");
    ASSERT_TRUE(top->grab().toImage().save("screenshots/macro_recording.png"));

    ClickShown("macro_btn_stopredio");
    EXPECT_FALSE(page->IsRecording());
    EXPECT_TRUE(Control("macro_btn_starredio")->IsEnabled());
    EXPECT_FALSE(stop->isEnabled());
    EXPECT_TRUE(blinking->Look().foreImage.isNull()) << "the dot goes with the recording";
    const std::vector<MacroEvent> want = {
        {"down", 0x15, 10, 0}, {"up", 0x15, 10, 40}, {"down", 0x04, 10, 0}, {"up", 0x04, 10, 70}};
    EXPECT_EQ(store.LoadMacro(0).events, want);
}

}  // namespace
}  // namespace zevik::test
