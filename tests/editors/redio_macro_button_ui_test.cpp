// The record button's blink on the virtual clock: the fade it shows tick by tick, the timer it leaves
// behind, and the skin's own fore image when the blinking ends.

#include "editors/redio_macro_button_ui.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "ui/notify_ui.h"
#include "ui/paint_manager_ui.h"
#include "ui/plain_message_loop.h"

namespace zevik {
namespace {

class NotifyCounter : public INotifyUI {
public:
    void Notify(TNotifyUI& msg) override { types.push_back(msg.sType); }
    std::vector<std::string> types;
};

class RedioMacroButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        button_ = new CRedioMacroButtonUI;
        button_->SetAttribute("name", "macro_btn_stopredio");
        button_->SetAttribute("redioimage", "common/macro_record.png");
        button_->SetAttribute("foreimage", "common/resting.png");
        pm_.AttachDialog(button_);
        pm_.AddNotifier(&notes_);
        loop_.ProcessPending();
        notes_.types.clear();
    }
    // The fade shown after each of n timer ticks.
    std::vector<int> Ticks(int n) {
        std::vector<int> fades;
        for (int i = 0; i < n; ++i) {
            loop_.AdvanceBy(kTick);
            fades.push_back(button_->Fade());
        }
        return fades;
    }
    // 50 ms rounded up to the system tick.
    static constexpr CMessageLoop::Duration kTick{62500};

    CPlainMessageLoop loop_;
    CPaintManagerUI pm_;
    NotifyCounter notes_;
    CRedioMacroButtonUI* button_ = nullptr;
};

TEST_F(RedioMacroButtonTest, TheFadeSwingsBetween80And255By20AndTurnsAtEitherEnd) {
    button_->SetBlinking(true);
    EXPECT_EQ(button_->Fade(), 255);
    EXPECT_EQ(button_->GetForeImage(), "res='common/macro_record.png' fade='255'");
    const std::vector<int> want = {235, 215, 195, 175, 155, 135, 115, 95, 80,  100,
                                   120, 140, 160, 180, 200, 220, 240, 255, 235};
    EXPECT_EQ(Ticks(static_cast<int>(want.size())), want);
    EXPECT_EQ(button_->GetForeImage(), "res='common/macro_record.png' fade='235'");
    EXPECT_TRUE(notes_.types.empty()) << "the blink is not reported to the window: " << notes_.types.front();
}

TEST_F(RedioMacroButtonTest, EndingTheBlinkStopsTheTimerAndShowsTheSkinsImageAgain) {
    button_->SetBlinking(true);
    Ticks(3);
    button_->SetBlinking(false);
    EXPECT_FALSE(button_->IsBlinking());
    EXPECT_EQ(button_->GetForeImage(), "common/resting.png");
    const int fade = button_->Fade();
    Ticks(4);
    EXPECT_EQ(button_->Fade(), fade) << "no timer is left running";
    EXPECT_EQ(button_->GetForeImage(), "common/resting.png");

    button_->SetBlinking(true);
    EXPECT_EQ(button_->Fade(), 255) << "a new recording blinks from full strength";
    EXPECT_EQ(Ticks(1), std::vector<int>{235});
}

TEST_F(RedioMacroButtonTest, TheButtonStillClicksAndItsOtherTimersStillReachTheWindow) {
    button_->SetBlinking(true);
    EXPECT_TRUE(button_->Activate());
    pm_.SetTimer(button_, 7, 100);
    loop_.AdvanceBy(std::chrono::milliseconds(110));
    EXPECT_EQ(notes_.types, (std::vector<std::string>{DUI_MSGTYPE_CLICK, DUI_MSGTYPE_TIMER}));
}

}  // namespace
}  // namespace zevik
