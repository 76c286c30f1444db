// Where the keyboard's frame goes: the picture's buttons lit, dark or resting as the page is seen,
// and, in a streamed mode only, the first N x 3 bytes of the colour buffer to the keyboard, as six
// lighting stream reports by cable for a board of 109 positions.

#include "devices/keyboard_light_output.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "transport/channel_fixture.h"
#include "ui/button_ui.h"
#include "ui/vertical_layout_ui.h"

namespace zevik::test {
namespace {

using namespace std::chrono_literals;

class CKeyButtonStandIn : public CButtonUI {
public:
    std::string_view GetClass() const override { return "DeviceKeyButtonUI"; }
};

class KeyboardLightOutputTest : public ChannelTest {
protected:
    void SetUp() override {
        auto* area = new CVerticalLayoutUI;
        area->SetName(CKeyboardKeyPicture::kAreaName);
        page.Add(area);
        for (int k = 0; k < 3; ++k) {
            auto* key = new CKeyButtonStandIn;
            key->SetName("key_" + std::to_string(k));
            key->SetUserData("light_" + std::to_string(k));
            area->Add(key);
        }
        output.Picture().Bind(&page, 170, 170);
        leds.fill(kNoLed);
        leds[0] = 2;  // key 0 lights LED 2
        frame.Set(0, lighting::PackLightEntry(lighting::Rgb{200, 100, 50}, 255));
        output.SetDeviceMap(leds, 109);
    }
    UiColor Shown(int key) { return output.Picture().LightButtons()[static_cast<size_t>(key)]->GetBkColor(); }
    // Waits until the node saw count requests; false after 2 s.
    bool WaitForRequests(size_t count) {
        for (int i = 0; i < 200 && node_->Requests().size() < count; ++i) std::this_thread::sleep_for(10ms);
        return node_->Requests().size() >= count;
    }

    CVerticalLayoutUI page;
    CKeyboardLightOutput output{channel_};
    KeyLedIndices leds{};
    KeyLightFrame frame;
};

TEST_F(KeyboardLightOutputTest, TheButtonsAreLitDarkOrLeftAsTheyAreAsThePageIsSeen) {
    EXPECT_EQ(output.Show(frame, CKeyboardLightOutput::Preview::Lit, false), 3);
    EXPECT_EQ(Shown(0), 0xFFC86432u);
    EXPECT_EQ(Shown(1), 0xFF000000u);  // a key the frame leaves black
    EXPECT_EQ(output.Show(frame, CKeyboardLightOutput::Preview::Lit, false), 0);
    EXPECT_EQ(output.Show(frame, CKeyboardLightOutput::Preview::Dark, false), 1);
    EXPECT_EQ(Shown(0), 0xFF000000u);
    frame.Set(0, lighting::PackLightEntry(lighting::Rgb{1, 2, 3}, 255));
    EXPECT_EQ(output.Show(frame, CKeyboardLightOutput::Preview::Resting, false), 0);
    EXPECT_EQ(Shown(0), 0xFF000000u);
    // Seen again: the page shows the frame even though it did not change meanwhile.
    EXPECT_EQ(output.Show(frame, CKeyboardLightOutput::Preview::Lit, false, false), 1);
    EXPECT_EQ(Shown(0), 0xFF010203u);
    frame.Set(0, lighting::PackLightEntry(lighting::Rgb{9, 9, 9}, 255));
    EXPECT_EQ(output.Show(frame, CKeyboardLightOutput::Preview::Lit, false, false), 0);
    EXPECT_EQ(Shown(0), 0xFF010203u);  // told nothing changed: nothing is looked at
    output.StopStream();
    EXPECT_TRUE(node_->Requests().empty());  // not a streamed mode: nothing goes to the keyboard
}

TEST_F(KeyboardLightOutputTest, AStreamedModeSendsTheColourBufferEvenWhileThePreviewRests) {
    Connect(kConnectionCable);
    output.Show(frame, CKeyboardLightOutput::Preview::Resting, true);
    ASSERT_TRUE(WaitForRequests(6));
    output.StopStream();
    const auto requests = node_->Requests();
    ASSERT_EQ(requests.size(), 6U);  // 327 bytes in chunks of 56
    const Report& first = requests.front();
    EXPECT_EQ(first[vendor::kOffsetCommand], vendor::kCmdStreamLights);
    // LED 2 at bytes 6..8 of the buffer, scaled by the intensity.
    EXPECT_EQ(first[vendor::kOffsetPayload + 6], 199);
    EXPECT_EQ(first[vendor::kOffsetPayload + 7], 99);
    EXPECT_EQ(first[vendor::kOffsetPayload + 8], 49);
    EXPECT_EQ(Shown(0), 0xFFFFFFFFu);  // resting: the buttons keep their start colour
}

}  // namespace
}  // namespace zevik::test
