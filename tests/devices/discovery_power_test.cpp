// The power panel built from its skin: what a status record shows for each family.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "devices/mp_device_power_ui.h"
#include "ui/dialog_builder.h"
#include "ui/dialog_builder_callback.h"
#include "ui/paint_manager_ui.h"
#include "ui/progress_ui.h"

namespace zevik::test {
namespace {

class CPowerCallback final : public IDialogBuilderCallback {
public:
    CControlUI* CreateControl(std::string_view className) override {
        return className == CMpDevicePowerUI::kClassName ? new CMpDevicePowerUI : nullptr;
    }
};

class DiscoveryPowerTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous = CPaintManagerUI::GetResourcePath();
        CPaintManagerUI::SetResourcePath(std::string(ZEVIK_RESOURCE_DIR) + "/skin");
        root.reset(builder.Create("XML\\CustomControlXML\\MpDevicePower.xml", {}, &callback));
        ASSERT_NE(root, nullptr) << builder.GetLastError();
        EXPECT_TRUE(builder.GetWarnings().empty()) << builder.GetWarnings().front();
        panel = static_cast<CMpDevicePowerUI*>(root->GetInterface(CMpDevicePowerUI::kClassName));
        ASSERT_NE(panel, nullptr);
    }
    void TearDown() override {
        root.reset();
        CPaintManagerUI::SetResourcePath(previous);
    }
    CControlUI* Find(std::string_view name) {
        return root->FindControl([name](CControlUI& c) { return c.GetName() == name; },
                                 UIFIND_ALL | UIFIND_ME_FIRST);
    }
    std::string Image(std::string_view name) { return std::string(Find(name)->GetBkImage()); }

    std::string previous;
    CDialogBuilder builder;
    CPowerCallback callback;
    std::unique_ptr<CControlUI> root;
    CMpDevicePowerUI* panel = nullptr;
};

TEST_F(DiscoveryPowerTest, EveryImageTheSkinNamesExists) {
    for (const char* name :
         {"power", "powering", "powering_down", "light", "WIFI_normal", "WIFI_down", "Phone_type_iphone",
          "Phone_type_samsung", "Phone_type_other", "Phone_type_no_device"}) {
        EXPECT_TRUE(std::filesystem::exists(std::string(ZEVIK_RESOURCE_DIR) + "/skin/power/" + name + ".png"))
            << name;
    }
}

TEST_F(DiscoveryPowerTest, StatusRecordOfTheMouse) {
    panel->SetKindAndVariant(2, 0);
    panel->SetBatteryPanel(true);
    EXPECT_TRUE(Find("device_power_Layout")->IsVisible());
    struct Case {
        std::array<std::uint8_t, 6> record;
        int level;
        const char* text;
        const char* logo;
        const char* status;
        const char* charging;
        bool wireless;
    };
    const Case cases[] = {
        {{80, 0, 0, 0, 0, 0},
         80,
         "80%",
         "file='power/WIFI_normal.png'",
         "file='power/power.png'",
         "file='power/light.png'",
         false},
        {{35, 1, 0, 1, 0, 0},
         35,
         "35%",
         "file='power/WIFI_down.png'",
         "file='power/powering_down.png'",
         "file='power/powering_down.png'",
         true},
        {{100, 2, 0, 1, 0, 0},
         100,
         "100%",
         "file='power/WIFI_down.png'",
         "file='power/power.png'",
         "file='power/power.png'",
         true},
        {{250, 0, 0, 0, 0, 0},
         100,
         "100%",
         "file='power/WIFI_normal.png'",
         "file='power/power.png'",
         "file='power/light.png'",
         false},
    };
    for (const Case& c : cases) {
        panel->UpdateStatus(c.record);
        auto* bar = static_cast<CProgressUI*>(Find("device_Power_progress")->GetInterface("Progress"));
        EXPECT_EQ(bar->GetValue(), c.level);
        EXPECT_EQ(Find("device_power_value")->GetText(), c.text);
        EXPECT_EQ(Image("device_wuxian_logo"), c.logo);
        EXPECT_EQ(Image("device_power_status"), c.status);
        EXPECT_EQ(Image("device_powering_status"), c.charging);
        EXPECT_EQ(Find("device_wuxian_logo_text")->IsVisible(), c.wireless);
        EXPECT_EQ(Find("device_youxian_logo_text")->IsVisible(), !c.wireless);
    }
    panel->SetBatteryPanel(false);
    EXPECT_FALSE(Find("device_power_Layout")->IsVisible());
}

TEST_F(DiscoveryPowerTest, MousepadShowsThePhoneAndShortRecordsAreSafe) {
    panel->SetKindAndVariant(3, 0);
    const std::string before = Image("device_wuxian_logo");
    const std::pair<std::uint8_t, const char*> phones[] = {{1, "Phone_type_iphone"},
                                                           {2, "Phone_type_samsung"},
                                                           {3, "Phone_type_other"},
                                                           {9, "Phone_type_no_device"}};
    for (const auto& [code, name] : phones) {
        const std::array<std::uint8_t, 6> record{50, 0, 0, 1, 0, code};
        panel->UpdateStatus(record);
        EXPECT_EQ(Image("device_phone_type"), std::string("file='power/") + name + ".png'");
    }
    EXPECT_EQ(Image("device_wuxian_logo"), before) << "only keyboard and mouse have the wireless logo";
    const std::array<std::uint8_t, 2> shortRecord{20, 1};
    panel->UpdateStatus(shortRecord);  // bytes beyond the record count as 0
    EXPECT_EQ(Image("device_phone_type"), "file='power/Phone_type_no_device.png'");
    EXPECT_EQ(Find("device_power_value")->GetText(), "20%");
}

}  // namespace
}  // namespace zevik::test
