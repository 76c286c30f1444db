#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "devices/mouse_device_fixture.h"
#include "shell/main_routes.h"
#include "shell/main_window_ops.h"
#include "ui/button_ui.h"
#include "ui/option_ui.h"
#include "ui/slider_ui.h"

namespace zevik::test {
namespace {

// The window side of the routes: records what was asked of it and offers a current device and a
// few cached controls.
class CRecordingOps final : public IMainWindowOps {
public:
    COrbantixUSBDevice* GetCurrentDevice() override { return current; }
    CControlUI* FindMainControl(std::string_view name) override {
        const auto it = controls.find(std::string(name));
        return it == controls.end() ? nullptr : it->second;
    }
    void CloseToTray() override { calls.push_back("tray"); }
    void HideMainWindow() override { calls.push_back("hide"); }
    void ShowMainWindow() override { calls.push_back("show"); }
    void SendSysCommand(UINT command) override { calls.push_back("sys:" + std::to_string(command)); }
    void ExitProgram() override { calls.push_back("exit"); }
    int AskUser(std::string_view textKey, int buttons, const std::optional<std::string>& argument) override {
        calls.push_back("ask:" + std::string(textKey) + ":" + std::to_string(buttons) +
                        (argument ? ":" + *argument : std::string()));
        return answer;
    }
    void OpenAboutWindow() override { calls.push_back("about"); }
    void ResetColourChoices() override { calls.push_back("colours"); }
    void OpenSkinFrame() override { calls.push_back("skin"); }
    void OpenSettingsWindow(bool centred) override {
        calls.push_back(centred ? "settings:centred" : "settings");
    }

    COrbantixUSBDevice* current = nullptr;
    std::map<std::string, CControlUI*> controls;
    std::vector<std::string> calls;
    int answer = 0;  // what the user answers every question
};

RouteResult Send(CNotifyRouter& router, const char* type, CControlUI& sender) {
    TNotifyUI msg;
    msg.sType = type;
    msg.pSender = &sender;
    return router.Route(msg);
}

struct WindowCase {
    const char* name;
    const char* call;  // "" when nothing may be asked of the window
};

TEST(MainRoutes, WindowButtonsAndMenuCommands) {
    CRecordingOps ops;
    CNotifyRouter router;
    AddMainRoutes(router, ops);
    const WindowCase clicks[] = {
        {"closebtn", "tray"},        {"CLOSEBTN", "tray"},
        {"nodevice_ok_btn", "hide"}, {"minbtn", "sys:61472"},
        {"maxbtn", "sys:61488"},     {"restorebtn", "sys:61728"},
        {"gamemodebtn", ""},         {"cloudbtn", ""},
        {"smarteyesbtn", ""},        {"default_btn", ""},  // no current device: nothing happens
        {"device_add_btn", ""},      {"profile_fun_spread_btn", ""},
        {"setbtn", "settings"},      {"skinbtn", "skin"},
    };
    for (const WindowCase& c : clicks) {
        ops.calls.clear();
        CButtonUI button;
        button.SetName(c.name);
        Send(router, "click", button);
        if (*c.call == '\0')
            EXPECT_TRUE(ops.calls.empty()) << c.name;
        else
            EXPECT_EQ(ops.calls, std::vector<std::string>{c.call}) << c.name;
    }
    for (const char* unrouted : {"gamemodebtn", "cloudbtn", "smarteyesbtn", "Profile_fun_spread_btn"}) {
        EXPECT_FALSE(router.HasRoute("click", unrouted)) << unrouted;
    }
    ops.calls.clear();
    EXPECT_EQ(router.RouteCommand(kMenuCommandType, "show"), RouteResult::Routed);
    EXPECT_EQ(router.RouteCommand(kMenuCommandType, "exit"), RouteResult::Routed);
    EXPECT_EQ(router.RouteCommand(kMenuCommandType, "about_menu"), RouteResult::Routed);
    EXPECT_EQ(router.RouteCommand(kMenuCommandType, "setwnd_menu"), RouteResult::Routed);
    EXPECT_EQ(ops.calls, (std::vector<std::string>{"show", "exit", "about", "settings:centred"}));

    CButtonUI remove;
    remove.SetName("anything");
    EXPECT_EQ(Send(router, "click_wpremove", remove), RouteResult::Consumed);
    EXPECT_EQ(Send(router, "click_wpedit", remove), RouteResult::Consumed);
    EXPECT_EQ(Send(router, "click_wpadd", remove), RouteResult::None);
}

// The routes against a connected emulated mouse as the current device.
class MainRoutesMouseTest : public MouseDeviceTest {
protected:
    void Build() {
        Start();
        for (int n = 0; n < 6; ++n) {
            auto* slider = new CSliderUI;
            slider->SetName("DPI_slider_" + std::to_string(n));
            device->Add(slider);
        }
        device->BindPage();
        ASSERT_TRUE(Open());
        ASSERT_EQ(device->Connect(), 1);
        ops.current = device.get();
        for (const char* name :
             {"key_Op_tab", "macro_Op_tab", "system_Op_tab", "About_Op_tab", "performance_Op_tab"}) {
            auto option = std::make_unique<COptionUI>();
            option->SetName(name);
            ops.controls[name] = option.get();
            tabs.push_back(std::move(option));
        }
        AddMainRoutes(router, ops);
    }
    CSliderUI* Slider(int n) {
        for (int i = 0; i < device->GetCount(); ++i) {
            if (device->GetItemAt(i)->GetName() == "DPI_slider_" + std::to_string(n))
                return dynamic_cast<CSliderUI*>(device->GetItemAt(i));
        }
        return nullptr;
    }
    bool TabSelected(const std::string& name) {
        for (const auto& tab : tabs) {
            if (tab->GetName() == name) return tab->IsSelected();
        }
        ADD_FAILURE() << "no tab " << name;
        return false;
    }

    CRecordingOps ops;
    CNotifyRouter router;
    std::vector<std::unique_ptr<COptionUI>> tabs;
};

TEST_F(MainRoutesMouseTest, StageSliderReachesTheMouseAndTheProfile) {
    Build();
    CSliderUI* slider = Slider(3);
    ASSERT_NE(slider, nullptr);
    slider->SetValue(2400);
    EXPECT_EQ(Send(router, "valuechanged", *slider), RouteResult::Routed);
    const std::vector<uint8_t> block = Block0();
    EXPECT_EQ(block[CMouseSettingsBlock::kStages + 27 + 2], 0x60);
    EXPECT_EQ(block[CMouseSettingsBlock::kStages + 27 + 3], 0x09);
    EXPECT_EQ(device->Profile().GetDpiStages().at(3).DpiX(), 2400);

    // Without a current device the same route changes nothing.
    ops.current = nullptr;
    slider->SetValue(800);
    EXPECT_EQ(Send(router, "valuechanged", *slider), RouteResult::Routed);
    EXPECT_EQ(Block0(), block);
}

TEST_F(MainRoutesMouseTest, KeyButtonsOpenKeysButNeverTheLastLeftButtonAndWritesReportFailures) {
    Build();
    const auto click = [this](const char* name) {
        CButtonUI button;
        button.SetName(name);
        ops.calls.clear();
        return Send(router, "click", button);
    };
    EXPECT_EQ(click("key_4"), RouteResult::Routed);
    EXPECT_EQ(device->GetSelectedKey(), 4);
    EXPECT_TRUE(ops.calls.empty());

    click("key_1");  // the left button, the only one
    EXPECT_EQ(ops.calls, std::vector<std::string>{"ask:message_text_6:0"});
    EXPECT_EQ(device->GetSelectedKey(), 4) << "the left button is not opened";

    click("key_butt_prosave");
    EXPECT_TRUE(ops.calls.empty()) << "a connected mouse takes the list";
    device->CommandChannel().CloseConnections();
    click("key_butt_prosave");
    EXPECT_EQ(ops.calls, std::vector<std::string>{"ask:message_text_7:0"});
}

struct TabCase {
    const char* tab;
    int page;
    const char* cached;  // the one cached tab selected afterwards; "" when they are left alone
};

TEST_F(MainRoutesMouseTest, PageTabsSelectTheDevicePageAndTheCachedTabs) {
    Build();
    const TabCase cases[] = {
        {"macro_Op_tab", 3, "macro_Op_tab"},
        {"deng_Op_tab", 2, "macro_Op_tab"},
        {"key_Op_tab", 2, "key_Op_tab"},
        {"performance_Op_tab", 8, "performance_Op_tab"},
        {"cursor_Op_tab", 5, "performance_Op_tab"},
        {"About_Op_tab", 9, "About_Op_tab"},
    };
    for (const TabCase& c : cases) {
        COptionUI tab;
        tab.SetName(c.tab);
        tab.Selected(true, false);
        Send(router, "selectchanged", tab);
        EXPECT_EQ(device->GetFunctionPage(), c.page) << c.tab;
        for (const auto& [name, control] : ops.controls) {
            EXPECT_EQ(TabSelected(name), name == c.cached) << c.tab << " -> " << name;
        }
    }
    // A tab that is being deselected does not move the page.
    COptionUI leaving;
    leaving.SetName("system_Op_tab");
    Send(router, "selectchanged", leaving);
    EXPECT_EQ(device->GetFunctionPage(), 9);
}

}  // namespace
}  // namespace zevik::test
