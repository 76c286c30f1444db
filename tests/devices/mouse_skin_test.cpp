#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "devices/mouse_device.h"
#include "settings/device_profile_ui.h"
#include "ui/button_ui.h"
#include "ui/combo_ui.h"
#include "ui/dialog_builder.h"
#include "ui/dialog_builder_callback.h"
#include "ui/horizontal_layout_ui.h"
#include "ui/paint_manager_ui.h"
#include "ui/resource_manager.h"
#include "ui/tab_layout_ui.h"
#include "ui/vertical_layout_ui.h"

namespace zevik {
namespace {

// Stand-ins for the program's own control classes, which the main window's builder callback makes.
class CKeyButtonStandIn : public CButtonUI {
public:
    std::string_view GetClass() const override { return "DeviceKeyButtonUI"; }
};

class MouseSkinCallback : public IDialogBuilderCallback {
public:
    CControlUI* CreateControl(std::string_view tag) override {
        if (tag == "OrbantixMouseDevice") return device = new COrbantixMouseDevice(DeviceContext{});
        if (tag == "SelectPanel") return new CVerticalLayoutUI;
        if (tag == "DeviceKeyButton") return new CKeyButtonStandIn;
        if (tag == "RedioMacroButton") return new CButtonUI;  // the macro page's record buttons
        if (tag == CDeviceProfileUI::kSkinTag) return new CDeviceProfileUI;
        if (tag == "LightControl" || tag == "KeySetControl" || tag == "MacroControl" || tag == "ShootControl") {
            return new CHorizontalLayoutUI;
        }
        return nullptr;
    }
    COrbantixMouseDevice* device = nullptr;
};

class MouseSkin : public ::testing::Test {
protected:
    void SetUp() override {
        previousPath = CPaintManagerUI::GetResourcePath();
        CPaintManagerUI::SetResourcePath(std::string(ZEVIK_RESOURCE_DIR) + "/skin");
        root.reset(builder.Create("XML\\DeviceXml\\mousedevice.xml", {}, &callback));
        ASSERT_NE(root, nullptr) << builder.GetLastError();
        EXPECT_TRUE(builder.GetWarnings().empty()) << builder.GetWarnings().front();
    }
    void TearDown() override {
        root.reset();
        CPaintManagerUI::SetResourcePath(previousPath);
    }
    CControlUI* Find(const std::string& name) {
        return root->FindControl([&name](CControlUI& c) { return c.GetName() == name; },
                                 UIFIND_ALL | UIFIND_ME_FIRST);
    }

    std::string previousPath;
    CDialogBuilder builder;
    MouseSkinCallback callback;
    std::unique_ptr<CControlUI> root;
};

TEST_F(MouseSkin, TheRootIsTheMouseDeviceWithEveryNamedControl) {
    EXPECT_EQ(root.get(), callback.device);
    std::vector<std::pair<std::string, int>> rows = {{"key_", 11},
                                                     {"light_", 15},
                                                     {"DPI_slider_", 6},
                                                     {"DPI_edit_", 6},
                                                     {"DPI_enable_check_", 6},
                                                     {"DPI_color_option_", 6},
                                                     {"DPI_select_check_", 6},
                                                     {"polling_rate_option_", 5},
                                                     {"Silent_Altitude_option_", 2},
                                                     {"deep_sleep_option_", 2},
                                                     {"Linear_Calibration_option_", 2},
                                                     {"motion_sync_option_", 2},
                                                     {"sensor_lif_option_", 2},
                                                     {"mouse_device_seting_option_", 3},
                                                     {"color_option_", 8}};
    for (const auto& [prefix, count] : rows) {
        for (int n = 0; n < count; ++n) EXPECT_NE(Find(prefix + std::to_string(n)), nullptr) << prefix << n;
        EXPECT_EQ(Find(prefix + std::to_string(count)), nullptr) << prefix << count << " should not exist";
    }
    for (const char* name : {"mouse_device_seting_layout",
                             "SelectPanel",
                             "device_function_switch",
                             "device_key_function_switch",
                             "device_tishi_info",
                             "pointer_speed_slider",
                             "pointer_precision_check",
                             "scrolls_page_check",
                             "scroll_speed_slider",
                             "double_click_slider",
                             "performance_Op_tab",
                             "deng_Op_tab",
                             "key_Op_tab",
                             "macro_Op_tab",
                             "system_Op_tab",
                             "About_Op_tab",
                             "cursor_Op_tab",
                             "LightControlItem",
                             "light_combo_modeSelect",
                             "light_combo_custommodeSelect",
                             "light_combo_ZZCCmodeSelect",
                             "deng_light_slider",
                             "deng_speed_slider",
                             "deng_edit_R",
                             "deng_edit_G",
                             "deng_edit_B",
                             "deng_Color_Pallet",
                             "deng_colordp_btn",
                             "deng_7color_check",
                             "deng_FXL_check",
                             "deng_FXR_check",
                             "deng_same_mode",
                             "lighteffect_layout",
                             "deng_color_layout",
                             "colorpallet_layout",
                             "deng_light_layout",
                             "deng_speed_layout",
                             "deng_fx_layout",
                             "lightcustom_layout",
                             "light_combo_ZZCCmodeSelectLayout",
                             "light_color_layout",
                             "light_combo_AudiomodeSelectLayout",
                             "light_color_tablayout"}) {
        EXPECT_NE(Find(name), nullptr) << name;
    }
    const std::vector<std::pair<const char*, int>> combos = {{"Key_Delay_combo_timeSelect", 5},
                                                             {"Anti_Shake_combo_timeSelect", 5},
                                                             {"Dormancy_combo_timeSelect", 7}};
    for (const auto& [name, items] : combos) {
        auto* combo = dynamic_cast<CComboUI*>(Find(name));
        ASSERT_NE(combo, nullptr) << name;
        EXPECT_EQ(combo->GetCount(), items) << name;
    }
    // The function pages: the performance page (8) holds the mouse settings.
    auto* pages = dynamic_cast<CTabLayoutUI*>(Find("device_function_switch"));
    ASSERT_NE(pages, nullptr);
    EXPECT_GE(pages->GetCount(), 10);
    EXPECT_EQ(pages->GetItemAt(8)->FindControl(
                  [](CControlUI& c) { return c.GetName() == "mouse_device_seting_layout"; }, UIFIND_ALL),
              Find("mouse_device_seting_layout"));
}

TEST_F(MouseSkin, BindingFindsEveryButtonAndLight) {
    COrbantixMouseDevice& device = *callback.device;
    device.SetPageName("XML\\DeviceXml\\mousedevice.xml");
    device.SetKeyButtonCount(11);
    device.SetLightButtonCount(15);
    device.BindPage();
    ASSERT_EQ(device.KeyButtons().size(), 11u);
    ASSERT_EQ(device.LightButtons().size(), 15u);
    for (CControlUI* key : device.KeyButtons()) EXPECT_NE(key, nullptr);
    for (CControlUI* light : device.LightButtons()) EXPECT_NE(light, nullptr);
    EXPECT_EQ(device.Frame().Size(), 15);
    device.SelectFunctionPage(8);
    EXPECT_FALSE(Find("device_tishi_info")->IsVisible());
    EXPECT_EQ(dynamic_cast<CTabLayoutUI*>(Find("device_function_switch"))->GetCurSel(), 8);
}

TEST_F(MouseSkin, EveryTextKeyHasAnEnglishText) {
    CResourceManager& texts = *CResourceManager::GetInstance();
    const std::string previous = texts.GetLanguage();
    texts.SetLanguage("English");
    // The page's own texts are in the mouse file; the shared lighting page's are in the main file.
    std::vector<std::pair<std::string, std::string>> keys;  // control name, key
    root->FindControl(
        [&](CControlUI& c) {
            for (const std::string& key : {c.GetTextKey(), c.GetAttribute("tooltip")}) {
                if (!key.empty() && key.find_first_not_of("0123456789") != std::string::npos)
                    keys.emplace_back(c.GetName(), key);
            }
            return false;
        },
        UIFIND_ALL);
    for (const char* file : {"mouse/lan_mouse_en.xml", "lang/lan_main_en.xml", "lang/lan_keys_en.xml"}) {
        ASSERT_TRUE(texts.LoadLanguage(file)) << texts.GetLastError();
        std::erase_if(keys, [&texts](const auto& entry) { return texts.HasText(entry.second); });
    }
    std::vector<std::string> missing;
    for (const auto& [name, key] : keys) missing.push_back(name + ": " + key);
    EXPECT_TRUE(missing.empty()) << missing.front();
    texts.SetLanguage(previous);
}

}  // namespace
}  // namespace zevik
