// The keyboard page's option controls: what the refresh shows, what a change sends, and the Fn key
// on the two function pages.

#include <gtest/gtest.h>

#include "devices/keyboard_device_fixture.h"
#include "ui/button_ui.h"
#include "ui/label_ui.h"
#include "ui/option_ui.h"
#include "ui/rich_edit_ui.h"
#include "ui/slider_ui.h"
#include "ui/vertical_layout_ui.h"

namespace zevik::test {
namespace {

using KB = KeyboardSettingsBlock;

class KeyboardPageTest : public KeyboardDeviceTest {
public:
    void Build() {
        Start();
        for (int n = 0; n < 5; ++n) Add<COptionUI>("polling_rate_option_" + std::to_string(n));
        for (int n = 0; n < 4; ++n) Add<COptionUI>("repeat_delay_check_" + std::to_string(n));
        for (const char* name : {"winlockflag_option", "wflag_option", "6flag_option"}) Add<COptionUI>(name);
        Add<CSliderUI>("repeat_rate_slider")->SetMaxValue(31);
        Add<CLabelUI>("repeat_delay_time_label1");
        Add<CRichEditUI>("repeat_input_richedit");
        Add<CButtonUI>("reset_repeat_btn");
        auto* panel = new CVerticalLayoutUI;
        panel->SetName("SelectPanel");
        fnKey = new CButtonUI;
        fnKey->SetName("key_" + std::to_string(kKeyboardFunctionKey));
        panel->Add(fnKey);
        device->Add(panel);
        device->SetPageName("keyboarddevice.xml");
        device->SetKeyButtonCount(170);
        device->BindPage();
        ASSERT_TRUE(Open());
        ASSERT_EQ(device->Connect(), kResultDone);
    }

    template <class T>
    T* Add(const std::string& name) {
        auto* control = new T;
        control->SetName(name);
        device->Add(control);
        return control;
    }
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
    void Notify(const char* type, const std::string& name) {
        TNotifyUI msg;
        msg.sType = type;
        msg.pSender = Get<CControlUI>(name);
        EXPECT_TRUE(device->HandlePageNotification(msg)) << name;
    }

    CButtonUI* fnKey = nullptr;
};

TEST_F(KeyboardPageTest, RefreshShowsTheRecordAndBoundsOutsideValues) {
    Build();
    KeyboardSystemRecord record = device->GetSystemRecord();
    record.SetRepeatDelay(2);
    record.SetPollingRate(7);
    record.SetWFlag(1);
    record.SetRepeat(12);
    device->SetSystemRecord(record);
    device->RefreshPage();
    EXPECT_TRUE(Get<COptionUI>("polling_rate_option_0")->IsSelected()) << "an unknown rate shows option 0";
    EXPECT_TRUE(Get<COptionUI>("repeat_delay_check_2")->IsSelected());
    EXPECT_TRUE(Get<COptionUI>("wflag_option")->IsSelected());
    EXPECT_FALSE(Get<COptionUI>("winlockflag_option")->IsSelected());
    EXPECT_EQ(Get<CSliderUI>("repeat_rate_slider")->GetValue(), 12);
    const std::string label = Get<CLabelUI>("repeat_delay_time_label1")->GetText();
    EXPECT_TRUE(label.ends_with("750ms")) << label;
}

TEST_F(KeyboardPageTest, OptionChangesReachTheBlockAndRepeatStaysInTheProfile) {
    Build();
    Get<COptionUI>("polling_rate_option_1")->Selected(true, false);
    Notify(DUI_MSGTYPE_SELECTCHANGED, "polling_rate_option_1");
    Get<COptionUI>("winlockflag_option")->Selected(true, false);
    Notify(DUI_MSGTYPE_SELECTCHANGED, "winlockflag_option");
    EXPECT_EQ(Block()[KB::kReportRate], 1);
    EXPECT_EQ(Block()[KB::kWinLock], 1);

    const std::vector<uint8_t> memory = keyboard->ReadArea("memory");
    Get<CSliderUI>("repeat_rate_slider")->SetValue(20);
    Notify(DUI_MSGTYPE_VALUECHANGED, "repeat_rate_slider");
    Get<COptionUI>("repeat_delay_check_3")->Selected(true, false);
    Notify(DUI_MSGTYPE_SELECTCHANGED, "repeat_delay_check_3");
    EXPECT_EQ(keyboard->ReadArea("memory"), memory) << "repeat settings are not sent";
    EXPECT_EQ(ProfileOnDisk()["SystemStages"]["Repeat"].asInt(), 20);
    EXPECT_EQ(ProfileOnDisk()["SystemStages"]["RepeatDelay"].asInt(), 3);

    Get<CRichEditUI>("repeat_input_richedit")->SetText("aaaa");
    Notify(DUI_MSGTYPE_CLICK, "reset_repeat_btn");
    EXPECT_EQ(Get<CRichEditUI>("repeat_input_richedit")->GetText(), "");
}

TEST_F(KeyboardPageTest, FnKeyIsReassignableOnTheFirstFunctionPageOnly) {
    Build();
    device->SelectFunctionPage(2);
    EXPECT_FALSE(fnKey->IsEnabled());
    device->SelectFunctionPage(1);
    EXPECT_TRUE(fnKey->IsEnabled());
}

}  // namespace
}  // namespace zevik::test
