// The device base without threads: construction state, page binding, the light frame and its
// display, the function page switch and the lighting record.

#include <gtest/gtest.h>

#include "base_fixture.h"
#include "devices/lighting_tables.h"
#include "ui/button_ui.h"
#include "ui/tab_layout_ui.h"

namespace zevik::test {
namespace {

using lighting::PackLightEntry;

CControlUI* Named(CControlUI* control, const std::string& name) {
    control->SetName(name);
    return control;
}

class BaseDeviceTest : public ::testing::Test {
protected:
    BaseDeviceTest() {
        context.clock = &clock;
        device = new CRecordingDevice(context);
        root.Add(device);  // the tree owns the page
    }

    // Builds a page like the device layouts: a select panel with the key and light buttons (light_3
    // missing), a decoy "key_0" outside the panel, and the two function switches.
    void BuildPage() {
        auto* panel = new CContainerUI;
        panel->SetName("SelectPanel");
        device->Add(Named(new CButtonUI, "key_0"));  // outside the panel: never bound
        device->Add(panel);
        for (int i = 0; i < 11; ++i) {
            panel->Add(Named(new CButtonUI, "key_" + std::to_string(i)));
        }
        for (int i = 0; i < 15; ++i) {
            if (i != 3) {
                panel->Add(Named(new CButtonUI, "light_" + std::to_string(i)));
            }
        }
        for (const char* name : {"device_function_switch", "device_key_function_switch"}) {
            auto* tabs = new CTabLayoutUI;
            tabs->SetName(name);
            for (int i = 0; i < 4; ++i) {
                tabs->Add(new CContainerUI);
            }
            device->Add(tabs);
        }
        device->SetKeyButtonCount(11);
        device->SetLightButtonCount(15);
    }

    CManualClock clock;
    DeviceContext context;
    CContainerUI root;
    CRecordingDevice* device = nullptr;
};

TEST_F(BaseDeviceTest, ConstructionState) {
    EXPECT_EQ(device->GetKind(), kDeviceKindBase);
    EXPECT_EQ(device->GetFunctionPage(), 1);
    EXPECT_EQ(device->GetSelectedKey(), -1);
    EXPECT_EQ(device->GetSelectedKey2(), -1);
    EXPECT_EQ(device->GetProfileDeviceIndex(), 0);
    EXPECT_EQ(device->GetBatteryPanel(), 0);
    EXPECT_TRUE(device->IsSoftwareLightControl());
    EXPECT_TRUE(device->IsWindowActive());
    EXPECT_FALSE(device->IsSameMode());
    EXPECT_EQ(device->GetLighting(), LightInfoRecord{});
    EXPECT_FALSE(device->CommandChannel().IsOpen());
    EXPECT_FALSE(device->IsNotificationOpen());
    EXPECT_EQ(device->GetInterface("OrbantixUSBDevice"), device);
    EXPECT_NE(device->GetInterface("HorizontalLayout"), nullptr);
    // Operations that need the device do nothing on a device without a backend or connection.
    EXPECT_EQ(device->WriteSettingsBlock(0, 0), 0);
    EXPECT_FALSE(device->OpenNotification(kMouseNotificationPath));
}

TEST_F(BaseDeviceTest, EmptyPageNameBindsNothingAndShowsNothing) {
    BuildPage();
    device->SetPageName("");
    device->BindPage();
    EXPECT_TRUE(device->KeyButtons().empty());
    EXPECT_TRUE(device->LightButtons().empty());
    EXPECT_EQ(device->Frame().Size(), 0);
    EXPECT_EQ(device->bindPageEx, 0);

    device->SetLightEntry(0, 0xFF0000FF);
    EXPECT_EQ(device->GetLightEntry(0), 0u);
    device->SendLightFrame();
    auto* light0 = root.FindControl([](CControlUI& c) { return c.GetName() == "light_0"; }, UIFIND_ALL);
    ASSERT_NE(light0, nullptr);
    EXPECT_EQ(light0->GetBkColor(), 0u) << "nothing is shown for a page without a name";
}

TEST_F(BaseDeviceTest, BindPageFindsTheButtonsOfTheSelectPanel) {
    BuildPage();
    device->SetPageName("XML\\DeviceXml\\mousedevice.xml");
    device->BindPage();
    ASSERT_EQ(device->KeyButtons().size(), 11u);
    ASSERT_EQ(device->LightButtons().size(), 15u);
    EXPECT_EQ(device->Frame().Size(), 15);
    EXPECT_EQ(device->bindPageEx, 1);
    ASSERT_NE(device->GetSelectPanel(), nullptr);
    for (size_t i = 0; i < 11; ++i) {
        ASSERT_NE(device->KeyButtons()[i], nullptr) << i;
        EXPECT_EQ(device->KeyButtons()[i]->GetName(), "key_" + std::to_string(i));
        EXPECT_EQ(device->KeyButtons()[i]->GetParent(), device->GetSelectPanel())
            << "the decoy outside is skipped";
    }
    EXPECT_EQ(device->LightButtons()[3], nullptr) << "a missing button keeps its place empty";
    EXPECT_EQ(device->LightButtons()[14]->GetName(), "light_14");
}

TEST_F(BaseDeviceTest, LightEntriesAreBoundedByTheFrame) {
    BuildPage();
    device->SetPageName("page");
    device->BindPage();
    struct Case {
        int index;
        bool stored;
    };
    const Case cases[] = {{0, true}, {14, true}, {15, false}, {-1, false}, {1000, false}};
    for (const auto& c : cases) {
        device->SetLightEntry(c.index, 0x80112233);
        EXPECT_EQ(device->GetLightEntry(c.index), c.stored ? 0x80112233u : 0u) << c.index;
    }
}

TEST_F(BaseDeviceTest, SendLightFrameShowsEntriesOnTheButtonsUnlessSoftwareControlIsOff) {
    BuildPage();
    device->SetPageName("page");
    device->BindPage();
    device->SetLightEntry(0, PackLightEntry(0x11, 0x22, 0x33, 0x80));
    device->SetLightEntry(3, PackLightEntry(0xFF, 0xFF, 0xFF, 0xFF));  // no button: skipped
    device->SetLightEntry(14, PackLightEntry(1, 2, 3, 0));

    device->SetSoftwareLightControl(false);
    device->SendLightFrame();
    EXPECT_EQ(device->LightButtons()[0]->GetBkColor(), 0u);

    device->SetSoftwareLightControl(true);
    device->SendLightFrame();
    EXPECT_EQ(device->LightButtons()[0]->GetBkColor(), 0x80112233u) << "intensity as alpha, then R, G, B";
    EXPECT_EQ(device->LightButtons()[14]->GetBkColor(), 0x00010203u);
}

TEST_F(BaseDeviceTest, SelectFunctionPageShowsTheMatchingChildOfBothSwitches) {
    BuildPage();
    device->SetPageName("page");
    device->BindPage();
    auto tab = [&](const char* name) {
        return static_cast<CTabLayoutUI*>(
            root.FindControl([name](CControlUI& c) { return c.GetName() == name; }, UIFIND_ALL)
                ->GetInterface("TabLayout"));
    };
    device->SelectFunctionPage(2);
    EXPECT_EQ(device->GetFunctionPage(), 2);
    EXPECT_EQ(tab("device_function_switch")->GetCurSel(), 2);
    EXPECT_EQ(tab("device_key_function_switch")->GetCurSel(), 2);
    device->SelectFunctionPage(9);  // a page the switches do not have
    EXPECT_EQ(device->GetFunctionPage(), 9);
    EXPECT_EQ(tab("device_function_switch")->GetCurSel(), 2);
}

TEST_F(BaseDeviceTest, BaseModeTableRunsTheCommonSteps) {
    BuildPage();
    device->SetPageName("page");
    device->BindPage();
    LightInfoRecord light;
    light.light = 4;
    light.red = 9;
    light.green = 8;
    light.blue = 7;
    struct Case {
        int mode;
        std::uint32_t firstEntry;
    };
    const Case cases[] = {
        {2, PackLightEntry(9, 8, 7, 255)},                   // steady
        {3, PackLightEntry(lighting::Wheel(191), 255)},      // spectrum, counting down from 0
        {4, PackLightEntry(9, 8, 7, 255)},                   // blink: the first step lights
        {5, PackLightEntry(lighting::FixedColour(0), 255)},  // blink four colours, still lit
        {10, 0},                                             // off
    };
    for (const auto& c : cases) {
        light.selectItem = static_cast<std::uint8_t>(c.mode);
        device->SetLighting(light);
        EXPECT_EQ(device->GetLighting(), light);
        device->RunLightStep();
        EXPECT_EQ(device->GetLightEntry(0), c.firstEntry) << "mode " << c.mode;
        EXPECT_EQ(device->GetLightEntry(14), c.firstEntry) << "every entry, mode " << c.mode;
    }
    light.selectItem = 2;
    light.speed = 0;
    device->SetLighting(light);
    EXPECT_EQ(device->LightStepPeriod(), 12);
}

TEST_F(BaseDeviceTest, BuildingBlocksAndStoredValues) {
    device->SetKeyMap({{0, 5}, {1, 7}});
    EXPECT_EQ(device->GetKeyMap().at(1), 7);
    device->SetProfileDeviceIndex(3);
    EXPECT_EQ(device->GetProfileDeviceIndex(), 3);
    device->SelectKey(4);
    device->SelectKey2(6);
    EXPECT_EQ(device->GetSelectedKey(), 4);
    EXPECT_EQ(device->GetSelectedKey2(), 6);
    AudioLightInfoRecord audio;
    audio.audioMode = 2;
    audio.fgColorB = 9;
    device->SetAudioLighting(audio);
    EXPECT_EQ(device->GetAudioLighting(0), audio);
    DeviceInterfaceEntry identity;
    identity.vendorId = 0x320F;
    identity.productId = 0x225A;
    identity.kind = 2;
    device->SetIdentity(identity);
    EXPECT_TRUE(SameIdentity(device->GetIdentity(), identity));
    // The level operations are bounded like the buffers they work on.
    device->DecayLevel(-5, 0);
    device->DecayLevel(170, 0);
    device->RotateMask(1);
    device->MarkRowKeys();
    device->ClearLevels();
}

}  // namespace
}  // namespace zevik::test
