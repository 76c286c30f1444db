// The headset's sound and voice-changer pages: what the audio binding shows on them reaches the named
// controls, without notifications.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/audio_conf_library.h"
#include "audio/fake_mixer_card.h"
#include "devices/headset_audio_binding.h"
#include "devices/headset_audio_fakes.h"
#include "editors/magic_control_ui.h"
#include "editors/voice6533_control_ui.h"
#include "ui/combo_ui.h"
#include "ui/dialog_builder.h"
#include "ui/dialog_builder_callback.h"
#include "ui/edit_ui.h"
#include "ui/list_element_ui.h"
#include "ui/option_ui.h"
#include "ui/paint_manager_ui.h"
#include "ui/slider_ui.h"

namespace zevik {
namespace {

class PagesCallback : public IDialogBuilderCallback {
public:
    CControlUI* CreateControl(std::string_view tag) override {
        if (tag == CVoice6533ControlUI::kSkinTag) return new CVoice6533ControlUI;
        if (tag == CMagicControlUI::kSkinTag) return new CMagicControlUI;
        return nullptr;
    }
};

std::string SoundPageXml() {
    std::string xml = R"(<Window><VerticalLayout><Voice6533Control name="sound"><VerticalLayout>)";
    for (int p = 1; p <= 13; ++p)
        xml += R"(<Option name="6533_eq_option_)" + std::to_string(p) + R"(" group="eq"/>)";
    for (int b = 0; b < 10; ++b) {
        xml += R"(<Slider name="6533_eq_hz_slider_)" + std::to_string(b) + R"(" min="-20" max="20"/>)";
    }
    xml += R"(<Option name="6533_MicIn_option"/><Slider name="6533_MicIn_slider" min="0" max="100"/>
        <Option name="6533_MicMoniter_option"/><Slider name="6533_MicMoniter_slider" min="0" max="100"/>
        <HorizontalLayout name="custom_eq_option_layout"><Combo name="custom_eq_name_combo"/>
        <Edit name="custom_eq_name_edit"/></HorizontalLayout></VerticalLayout></Voice6533Control>
        <MagicControl name="voice"><VerticalLayout><Option name="magic_enable_option"/>
        <HorizontalLayout name="magic_option_layout">)";
    for (int t = 1; t <= 4; ++t)
        xml += R"(<Option name="magic_option_)" + std::to_string(t) + R"(" group="voice"/>)";
    xml += "</HorizontalLayout></VerticalLayout></MagicControl></VerticalLayout></Window>";
    return xml;
}

class HeadsetPagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        CControlUI* root = builder_.CreateFromString(SoundPageXml(), &callback_, &pm_);
        ASSERT_NE(root, nullptr) << builder_.GetLastError();
        pm_.AttachDialog(root);
        pm_.AddNotifier(&notes_);
        sound_ = dynamic_cast<CVoice6533ControlUI*>(pm_.FindControl("sound"));
        voice_ = dynamic_cast<CMagicControlUI*>(pm_.FindControl("voice"));
        ASSERT_TRUE(sound_ != nullptr && voice_ != nullptr);
    }

    struct Notes : INotifyUI {
        int count = 0;
        void Notify(TNotifyUI&) override { ++count; }
    };

    CPaintManagerUI pm_;
    CDialogBuilder builder_;
    PagesCallback callback_;
    Notes notes_;
    CVoice6533ControlUI* sound_ = nullptr;
    CMagicControlUI* voice_ = nullptr;
};

TEST_F(HeadsetPagesTest, PresetOptionsShowOneOrNone) {
    const struct {
        int asked;
        int shown;
    } cases[] = {{5, 5}, {13, 13}, {1, 1}, {0, 0}, {14, 0}, {-2, 0}};
    for (const auto& c : cases) {
        sound_->SelectPreset(c.asked);
        EXPECT_EQ(sound_->GetPreset(), c.shown) << c.asked;
        for (int p = 1; p <= 13; ++p)
            EXPECT_EQ(sound_->PresetOption(p)->IsSelected(), p == c.shown) << c.asked;
    }
    EXPECT_EQ(notes_.count, 0);
}

TEST_F(HeadsetPagesTest, BandsLevelsAndTheCustomArea) {
    sound_->SetBand(0, 7);
    sound_->SetBand(9, -13);
    sound_->SetBand(10, 3);  // no such band: ignored
    EXPECT_EQ(sound_->GetBand(0), 7);
    EXPECT_EQ(sound_->GetBand(9), -13);
    EXPECT_EQ(sound_->BandSlider(9)->GetValue(), -13);
    EXPECT_EQ(sound_->GetBand(10), 0);

    sound_->ShowMicrophone(false, 37);
    sound_->ShowMonitor(true, 64);
    EXPECT_FALSE(sound_->MicrophoneOption()->IsSelected());
    EXPECT_EQ(sound_->MicrophoneSlider()->GetValue(), 37);
    EXPECT_TRUE(sound_->MonitorOption()->IsSelected());
    EXPECT_EQ(sound_->MonitorSlider()->GetValue(), 64);

    sound_->EnableCustomArea(false);
    EXPECT_FALSE(sound_->IsCustomAreaEnabled());
    sound_->EnableCustomArea(true);
    EXPECT_TRUE(sound_->IsCustomAreaEnabled());
    EXPECT_EQ(notes_.count, 0);
}

TEST_F(HeadsetPagesTest, CustomNamesAreLabelsOfHeight30CarryingTheName) {
    sound_->SetCustomNames({"Rock", "Bühne"});
    CComboUI* box = sound_->NameBox();
    ASSERT_EQ(box->GetCount(), 2);
    auto* item = dynamic_cast<CListLabelElementUI*>(box->GetItemAt(1));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetText(), "Bühne");
    EXPECT_EQ(item->GetUserData(), "Bühne");
    EXPECT_EQ(item->GetFixedHeight(), CVoice6533ControlUI::kNameItemHeight);

    sound_->NameField()->SetText("typed");
    sound_->SelectCustom(1);
    EXPECT_EQ(sound_->SelectedCustom(), 1);
    EXPECT_EQ(sound_->CustomNameText(), "") << "setting the selection empties the name field";
    sound_->SelectCustom(5);
    EXPECT_EQ(sound_->SelectedCustom(), -1);
    sound_->SetCustomNames({"Rock"});
    EXPECT_EQ(box->GetCount(), 1);
    EXPECT_EQ(notes_.count, 0);
}

TEST_F(HeadsetPagesTest, VoiceChangerOptionEnablesItsTypes) {
    voice_->ShowVoiceChanger(true);
    EXPECT_TRUE(voice_->EnableOption()->IsSelected());
    EXPECT_TRUE(voice_->TypeArea()->IsEnabled());
    voice_->ShowVoiceChanger(false);
    EXPECT_FALSE(voice_->EnableOption()->IsSelected());
    EXPECT_FALSE(voice_->TypeArea()->IsEnabled());

    const struct {
        int asked;
        int shown;
    } cases[] = {{3, 3}, {1, 1}, {4, 4}, {5, 0}, {0, 0}};
    for (const auto& c : cases) {
        voice_->SelectVoiceType(c.asked);
        EXPECT_EQ(voice_->GetVoiceType(), c.shown) << c.asked;
        for (int t = 1; t <= 4; ++t) EXPECT_EQ(voice_->TypeOption(t)->IsSelected(), t == c.shown) << c.asked;
    }
    EXPECT_EQ(notes_.count, 0);
}

// The audio binding on the real pages: a profile and a card shown, then a preset chosen.
TEST_F(HeadsetPagesTest, TheAudioBindingShowsProfileAndCardOnThePages) {
    test::FakeMixerCard card = test::LinearHeadsetCard();
    card.At({"Mic", MixerDirection::Capture}).raw = {29};
    CAudioConfLibrary library([&card] { return std::make_unique<test::BorrowedCard>(card); });
    test::HeadsetProfile profile(
        R"({"SystemSetStages": {"EqType": 13, "CustomEqSeletIndex": 1, "MagicEnable": 1,
        "MagicType": 2}, "CustomEQNameInfo": [{"Name": "A"}, {"Name": "B"}],
        "CustomEQHzValueInfo": [[], [{"value": 6}, {"value": -6}]]})");
    CHeadsetAudioBinding binding(library, profile.data);
    binding.SetPages(sound_, voice_);
    binding.TakeProfile();
    binding.Connect();
    binding.ShowOnPages();

    EXPECT_TRUE(sound_->MicrophoneOption()->IsSelected());
    EXPECT_EQ(sound_->MicrophoneSlider()->GetValue(), 29);
    EXPECT_TRUE(sound_->PresetOption(13)->IsSelected());
    EXPECT_TRUE(sound_->IsCustomAreaEnabled());
    EXPECT_EQ(sound_->NameBox()->GetCount(), 2);
    EXPECT_EQ(sound_->SelectedCustom(), 1);
    EXPECT_EQ(sound_->GetBand(0), 6);
    EXPECT_EQ(sound_->GetBand(1), -6);
    EXPECT_TRUE(voice_->EnableOption()->IsSelected());
    EXPECT_TRUE(voice_->TypeOption(2)->IsSelected());

    binding.ChoosePreset(2);
    EXPECT_TRUE(sound_->PresetOption(2)->IsSelected());
    EXPECT_FALSE(sound_->IsCustomAreaEnabled());
    EXPECT_EQ(sound_->GetBand(4), -11);
    EXPECT_EQ(notes_.count, 0);
}

}  // namespace
}  // namespace zevik
