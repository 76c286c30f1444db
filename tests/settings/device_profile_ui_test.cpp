#include "settings/device_profile_ui.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "settings/settings_test_support.h"
#include "ui/combo_ui.h"
#include "ui/dialog_builder.h"
#include "ui/notify_ui.h"
#include "ui/option_ui.h"
#include "ui/paint_manager_ui.h"
#include "ui/plain_message_loop.h"

namespace zevik {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPage = R"(<VerticalLayout name="page">
    <HorizontalLayout>
      <Option name="deng_Op_tab" group="tabs"/><Option name="key_Op_tab" group="tabs"/>
      <Option name="macro_Op_tab" group="tabs"/><Option name="system_Op_tab" group="tabs"/>
      <Option name="cursor_Op_tab" group="tabs"/><Option name="6533_voice_Op_tab" group="tabs" visible="false"/>
      <Option name="magic_Op_tab" group="tabs" visible="false"/><Option name="About_Op_tab" group="tabs"/>
      <Option name="Virtual7.1_Op_tab" group="tabs" visible="false"/>
    </HorizontalLayout>
    <DeviceProfile name="DeviceProfileItem">
      <Combo name="device_profile_combo"/><Edit name="device_profile_name_edit"/>
      <HorizontalLayout name="profile_menu_layout" visible="false"/>
    </DeviceProfile>
  </VerticalLayout>)";

// The control of that name and class; ends the test run when the page lacks it.
template <typename T = CControlUI>
T& Find(CPaintManagerUI& pm, std::string_view name) {
    auto* control = dynamic_cast<T*>(pm.FindControl(name));
    if (control == nullptr) {
        ADD_FAILURE() << "no control " << name;
        std::abort();
    }
    return *control;
}

class BarBuilder : public IDialogBuilderCallback {
public:
    CControlUI* CreateControl(std::string_view className) override {
        return className == CDeviceProfileUI::kSkinTag ? new CDeviceProfileUI : nullptr;
    }
};

class SelectionRecorder : public INotifyUI {
public:
    void Notify(TNotifyUI& msg) override {
        if (msg.sType == "itemselect") selections.push_back(static_cast<int>(msg.wParam));
    }
    std::vector<int> selections;
};

class DeviceProfileUITest : public ::testing::Test {
protected:
    void Build(int pageKind) {
        test::WriteJson(dir_ / "factory.Json", test::Parse(R"({"Device": [{"LightInfo": {"Red": 1}}]})"));
        BarBuilder callback;
        CDialogBuilder builder;
        CControlUI* root = builder.CreateFromString(kPage, &callback, &pm_);
        ASSERT_NE(root, nullptr) << builder.GetLastError();
        pm_.AttachDialog(root);
        loop_.ProcessPending();
        pm_.AddNotifier(&recorder_);
        bar_ = &Find<CDeviceProfileUI>(pm_, "DeviceProfileItem");
        bar_->SetPageKind(pageKind);
        bar_->SetStorePaths(dir_ / "kind", dir_ / "factory.Json");
        ASSERT_TRUE(bar_->InitProfiles().ok());
    }
    ~DeviceProfileUITest() override { pm_.RemoveNotifier(&recorder_); }
    CComboUI& Combo() { return Find<CComboUI>(pm_, "device_profile_combo"); }
    bool Selected(std::string_view name) { return Find<COptionUI>(pm_, name).IsSelected(); }

    test::TempFolder dir_;
    CPlainMessageLoop loop_;
    CPaintManagerUI pm_;
    SelectionRecorder recorder_;
    CDeviceProfileUI* bar_ = nullptr;
};

TEST_F(DeviceProfileUITest, ComboFollowsTheListThroughEveryOperation) {
    Build(2);
    ASSERT_EQ(Combo().GetCount(), 1);
    EXPECT_EQ(Combo().GetItemText(0), "Profile1");
    EXPECT_EQ(Combo().GetItemAt(0)->GetFixedHeight(), CDeviceProfileUI::kItemHeight);
    EXPECT_EQ(bar_->GetSelectedIndex(), 0);
    EXPECT_EQ(bar_->GetNameEditText(), "Profile1");

    ASSERT_TRUE(bar_->AddProfile().ok());
    ASSERT_TRUE(bar_->AddProfile().ok());
    EXPECT_EQ(Combo().GetCount(), 3);
    EXPECT_EQ(bar_->GetSelectedIndex(), 0) << "adding does not move the selection";
    ASSERT_TRUE(bar_->SelectProfile(2, false).ok());
    EXPECT_EQ(bar_->GetNameEditText(), "Profile3");
    ASSERT_TRUE(bar_->RenameProfile("Game").ok());
    EXPECT_EQ(Combo().GetItemText(2), "Game");
    EXPECT_EQ(bar_->RenameProfile("profile1").messageKey, "message_text_5");

    recorder_.selections.clear();
    ASSERT_TRUE(bar_->DeleteProfile().ok());
    EXPECT_EQ(Combo().GetCount(), 2);
    EXPECT_EQ(bar_->GetSelectedIndex(), 1);
    EXPECT_EQ(recorder_.selections, std::vector<int> {1}) << "the neighbour is selected as a user would";
    EXPECT_EQ(bar_->GetProfileCount(), 2);
}

TEST_F(DeviceProfileUITest, OptionTabsFollowThePageKind) {
    const struct {
        int pageKind;
        std::vector<const char*> hidden;
        std::vector<const char*> shown;
    } cases[] = {
        {1, {"cursor_Op_tab"}, {"key_Op_tab", "macro_Op_tab"}},
        {2, {"6533_voice_Op_tab"}, {"cursor_Op_tab", "key_Op_tab"}},
        {3, {"cursor_Op_tab", "macro_Op_tab", "system_Op_tab", "key_Op_tab", "magic_Op_tab"}, {"deng_Op_tab"}},
        {7, {"cursor_Op_tab", "macro_Op_tab", "system_Op_tab", "key_Op_tab"},
         {"6533_voice_Op_tab", "magic_Op_tab", "Virtual7.1_Op_tab"}},
    };
    for (const auto& c : cases) {
        test::TempFolder fresh;
        CPaintManagerUI pm;
        BarBuilder callback;
        CDialogBuilder builder;
        CControlUI* root = builder.CreateFromString(kPage, &callback, &pm);
        ASSERT_NE(root, nullptr);
        pm.AttachDialog(root);
        loop_.ProcessPending();
        auto& bar = Find<CDeviceProfileUI>(pm, "DeviceProfileItem");
        bar.SetPageKind(c.pageKind);
        bar.SetStorePaths(fresh / "kind", fresh / "none.Json");
        ASSERT_TRUE(bar.InitProfiles().ok());
        for (const char* name : c.hidden) EXPECT_FALSE(Find(pm, name).IsVisible()) << c.pageKind << name;
        for (const char* name : c.shown) EXPECT_TRUE(Find(pm, name).IsVisible()) << c.pageKind << name;
    }
}

TEST_F(DeviceProfileUITest, SelectOptionTabMarksOneTabSilently) {
    Build(2);
    const struct {
        int page;
        const char* tab;
    } cases[] = {{1, "deng_Op_tab"}, {2, "key_Op_tab"}, {5, "cursor_Op_tab"}, {10, "Virtual7.1_Op_tab"}, {8, nullptr}};
    for (const auto& c : cases) {
        bar_->SelectOptionTab(c.page);
        for (std::string_view name : {"deng_Op_tab", "key_Op_tab", "cursor_Op_tab", "Virtual7.1_Op_tab"}) {
            EXPECT_EQ(Selected(name), c.tab != nullptr && name == c.tab) << c.page << ' ' << name;
        }
    }
    bar_->ShowProfileMenu(true);
    EXPECT_TRUE(bar_->IsProfileMenuShown());
    bar_->ShowProfileMenu(false);
    EXPECT_FALSE(bar_->IsProfileMenuShown());
}

TEST(DeviceProfileUIWithoutCombo, OperationsAreRefused) {
    CDeviceProfileUI bar;
    EXPECT_EQ(bar.AddProfile().status, ProfileResult::Status::Refused);
    EXPECT_EQ(bar.RenameProfile("x").code, 0);
    EXPECT_EQ(bar.GetSelectedIndex(), -1);
    bar.SelectOptionTab(1);  // no page: nothing happens
}

}  // namespace
}  // namespace zevik
