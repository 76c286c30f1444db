#include <gtest/gtest.h>

#include <functional>

#include "devices/mouse_device_fixture.h"
#include "ui/check_box_ui.h"
#include "ui/combo_ui.h"
#include "ui/edit_ui.h"
#include "ui/option_ui.h"
#include "ui/slider_ui.h"

namespace zevik::test {
namespace {

using Block = CMouseSettingsBlock;

// The mouse page's controls that the routes read, added to the device (which is the page's root).
class MousePageTest : public MouseDeviceTest {
public:
    void Build() {
        Start();
        for (int n = 0; n < 5; ++n) Add<COptionUI>("polling_rate_option_" + std::to_string(n));
        for (int n = 0; n < 2; ++n) Add<COptionUI>("motion_sync_option_" + std::to_string(n));
        for (int n = 0; n < 6; ++n) {
            Add<CSliderUI>("DPI_slider_" + std::to_string(n));
            Add<CEditUI>("DPI_edit_" + std::to_string(n));
            Add<CCheckBoxUI>("DPI_enable_check_" + std::to_string(n));
            Add<COptionUI>("DPI_select_check_" + std::to_string(n));
            Add<CButtonUI>("DPI_color_option_" + std::to_string(n));
        }
        auto* combo = Add<CComboUI>("Dormancy_combo_timeSelect");
        for (int i = 0; i < 7; ++i) combo->AddItem("d" + std::to_string(i));
        Add<CSliderUI>("pointer_speed_slider")->SetMaxValue(20);
        Add<CCheckBoxUI>("scrolls_page_check");
        Add<CButtonUI>("unrelated_button");
        device->BindPage();
        ASSERT_TRUE(Open());
        ASSERT_EQ(device->Connect(), 1);
    }

    template <class T>
    T* Add(const std::string& name) {
        auto* control = new T;
        control->SetName(name);
        device->Add(control);
        return control;
    }
    // The control of that name; a stand-in (and a failure) when the page has none.
    template <class T>
    T* Get(const std::string& name) {
        for (int i = 0; i < device->GetCount(); ++i) {
            if (device->GetItemAt(i)->GetName() == name) {
                if (auto* control = dynamic_cast<T*>(device->GetItemAt(i))) return control;
            }
        }
        ADD_FAILURE() << "no control " << name;
        static T standIn;
        return &standIn;
    }

    bool Route(const char* type, const std::string& name) {
        TNotifyUI msg;
        msg.sType = type;
        msg.pSender = Get<CControlUI>(name);
        EXPECT_NE(msg.pSender, nullptr) << name;
        return device->HandlePageNotification(msg);
    }
};

struct RouteCase {
    const char* name;
    std::function<void(MousePageTest&)> prepare;  // sets the control as the user left it
    const char* type;
    const char* control;
    std::vector<std::pair<size_t, int>> bytes;  // block bytes after the route; empty: block unchanged
};

class MousePageRoute : public MousePageTest, public ::testing::WithParamInterface<RouteCase> {};

TEST_P(MousePageRoute, ReachesTheDeviceThroughTheProfile) {
    Build();
    const RouteCase& r = GetParam();
    r.prepare(*this);
    const std::vector<uint8_t> before = Block0();
    EXPECT_TRUE(Route(r.type, r.control));
    const std::vector<uint8_t> after = Block0();
    if (r.bytes.empty()) {
        EXPECT_EQ(after, before);
    }
    for (const auto& [offset, value] : r.bytes) EXPECT_EQ(after[offset], value) << "byte " << offset;
}

INSTANTIATE_TEST_SUITE_P(
    Controls, MousePageRoute,
    ::testing::Values(
        RouteCase{
            "rate",
            [](auto& page) { page.template Get<COptionUI>("polling_rate_option_4")->Selected(true, false); },
            "selectchanged",
            "polling_rate_option_4",
            {{Block::kReportRate, 4}}},
        RouteCase{
            "motionsync",
            [](auto& page) { page.template Get<COptionUI>("motion_sync_option_1")->Selected(true, false); },
            "selectchanged",
            "motion_sync_option_1",
            {{Block::kMotionSync, 1}}},
        RouteCase{
            "stageoff",
            [](auto& page) { page.template Get<CCheckBoxUI>("DPI_enable_check_5")->SetCheck(false, false); },
            "selectchanged",
            "DPI_enable_check_5",
            {{Block::kStages + 45, 0}}},
        RouteCase{"slider",
                  [](auto& page) { page.template Get<CSliderUI>("DPI_slider_2")->SetValue(2400); },
                  "valuechanged",
                  "DPI_slider_2",
                  {{Block::kStages + 18 + 2, 0x60}, {Block::kStages + 18 + 3, 0x09}}},
        RouteCase{"typed",
                  [](auto& page) { page.template Get<CEditUI>("DPI_edit_1")->SetText("30"); },
                  "killfocus",
                  "DPI_edit_1",
                  {{Block::kStages + 9 + 2, 50}, {Block::kStages + 9 + 3, 0}}},
        RouteCase{"dormancy",
                  [](auto& page) {
                      page.template Get<CComboUI>("Dormancy_combo_timeSelect")->SelectItem(4, false);
                  },
                  "itemselect",
                  "Dormancy_combo_timeSelect",
                  {{Block::kDormancyLow, 88}, {Block::kDormancyHigh, 2}}},
        RouteCase{"pointer",
                  [](auto& page) { page.template Get<CSliderUI>("pointer_speed_slider")->SetValue(15); },
                  "valuechanged",
                  "pointer_speed_slider",
                  {}},
        RouteCase{
            "scrollpage",
            [](auto& page) { page.template Get<CCheckBoxUI>("scrolls_page_check")->SetCheck(true, false); },
            "selectchanged",
            "scrolls_page_check",
            {}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(MousePageTest, PointerSettingsAreStoredButNotSent) {
    Build();
    Get<CSliderUI>("pointer_speed_slider")->SetValue(15);
    EXPECT_TRUE(Route("valuechanged", "pointer_speed_slider"));
    Get<CCheckBoxUI>("scrolls_page_check")->SetCheck(true, false);
    EXPECT_TRUE(Route("selectchanged", "scrolls_page_check"));
    const Json::Value saved = ProfileOnDisk();
    EXPECT_EQ(saved["SystemStages"]["MouseSpeed"].asInt(), 15);
    EXPECT_EQ(saved["SystemStages"]["ScorllPage"].asInt(), 1);
}

TEST_F(MousePageTest, ClearedGroupOptionsAndOtherControlsChangeNothing) {
    Build();
    const std::vector<uint8_t> before = Block0();
    const int rate = device->Profile().GetMouseSystem().ReportRate();
    // An option of the group reporting that it was cleared is not a choice.
    EXPECT_TRUE(Route("selectchanged", "polling_rate_option_1"));
    EXPECT_EQ(device->Profile().GetMouseSystem().ReportRate(), rate);
    EXPECT_FALSE(Route("click", "unrelated_button"));
    EXPECT_FALSE(Route("valuechanged", "unrelated_button"));
    EXPECT_EQ(Block0(), before);
}

TEST_F(MousePageTest, StageColourFromThePicker) {
    Build();
    std::vector<lighting::Rgb> offered;
    std::optional<lighting::Rgb> answer = lighting::Rgb{1, 2, 3};
    device->SetColourPicker([&](lighting::Rgb initial) {
        offered.push_back(initial);
        return answer;
    });
    const DpiStageRecord stage3 = device->Profile().GetDpiStages()[3];
    EXPECT_TRUE(Route("click", "DPI_color_option_3"));
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0], (lighting::Rgb{stage3.red, stage3.green, stage3.blue}));
    EXPECT_EQ(Block0()[Block::kStages + 27 + 6], 1);
    EXPECT_EQ(Block0()[Block::kStages + 27 + 7], 2);
    EXPECT_EQ(Block0()[Block::kStages + 27 + 8], 3);
    EXPECT_EQ(Get<CButtonUI>("DPI_color_option_3")->GetBkColor(), 0xFF010203u);

    // Cancelled: nothing changes.
    answer.reset();
    const std::vector<uint8_t> before = Block0();
    EXPECT_TRUE(Route("click", "DPI_select_check_3"));
    EXPECT_EQ(offered.size(), 2u);
    EXPECT_EQ(Block0(), before);
}

TEST_F(MousePageTest, ActiveStageIsMarkedOnThePage) {
    Build();
    const int active = device->GetActiveStage();
    ASSERT_GE(active, 0);
    ASSERT_LT(active, 6);
    for (int n = 0; n < 6; ++n) {
        const std::string i = std::to_string(n);
        EXPECT_EQ(Get<COptionUI>("DPI_select_check_" + i)->IsSelected(), n == active) << n;
        EXPECT_EQ(Get<CCheckBoxUI>("DPI_enable_check_" + i)->IsEnabled(), n != active) << n;
        EXPECT_EQ(Get<CEditUI>("DPI_edit_" + i)->GetBorderColor(), n == active ? 0xFF06FF00u : 0xFFFFFFFFu)
            << n;
        EXPECT_EQ(Get<CSliderUI>("DPI_slider_" + i)->GetThumbImage(),
                  n == active ? "Control/SliderBar1_Thumb.png" : "Control/SliderBar2_Thumb.png");
    }
    // A click on an edit box marks its stage and stores every slider.
    Get<CSliderUI>("DPI_slider_0")->SetValue(1234);
    EXPECT_TRUE(Route("click", "DPI_edit_0"));
    EXPECT_TRUE(Get<COptionUI>("DPI_select_check_0")->IsSelected());
    EXPECT_EQ(device->Profile().GetDpiStages()[0].DpiX(), 1234);
}

}  // namespace
}  // namespace zevik::test
