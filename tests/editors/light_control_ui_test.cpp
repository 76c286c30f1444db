// The lighting page built from the skin's shared layout: the mode list, showing a record, the mode
// table applied to the real controls, the same-mode option, the typed colour components and the
// colour options read from the colour choices file.

#include "editors/light_control_ui.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "light_page_fixture.h"
#include "ui/combo_ui.h"
#include "ui/option_ui.h"
#include "ui/slider_ui.h"

namespace zevik::test {
namespace {

using Channel = CLightControlUI::Channel;

class LightControlTest : public LightPageFixture {
protected:
    void FillMouseList() {
        control_->SetPageKind(2);
        control_->FillModeList({"Wave", "Spectrum", "Breathing", "Static", "Hidden", "Off"},
                               {true, true, true, true, false, true}, 4, 4);
    }
    // Whether the control can be used: enabled and shown up to the page.
    bool Usable(const std::string& name) {
        CControlUI* c = &Named(name);
        if (!c->IsEnabled()) return false;
        for (; c != nullptr && c != control_; c = c->GetParent()) {
            if (!c->IsVisible()) return false;
        }
        return true;
    }
};

TEST_F(LightControlTest, TheModeListKeepsTheIndexOfAHiddenItem) {
    FillMouseList();
    CComboUI* combo = control_->ModeCombo();
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->GetCount(), 6);
    EXPECT_FALSE(combo->GetItemAt(4)->IsVisible());
    EXPECT_TRUE(combo->GetItemAt(5)->IsVisible());
    EXPECT_EQ(combo->GetItemText(5), "Off");
    EXPECT_EQ(combo->GetItemAt(5)->GetToolTip(), "Off");
    EXPECT_EQ(combo->GetItemAt(5)->GetFixedHeight(), CLightControlUI::kItemHeight);
    EXPECT_EQ(control_->GetBrightnessMax(), 4);
    EXPECT_EQ(control_->GetSpeedMax(), 4);
    // Filling again replaces the list and keeps the selection.
    control_->SelectMode(3);
    control_->FillModeList({"A", "B", "C", "D"}, {true, true, true, true}, 4, 4);
    EXPECT_EQ(combo->GetCount(), 4);
    EXPECT_EQ(control_->GetSelectedMode(), 3);
}

TEST_F(LightControlTest, ShowingARecordFillsEveryControl) {
    FillMouseList();
    LightInfoRecord r;
    r.selectItem = 1;
    r.light = 3;
    r.speed = 1;
    r.fx = 1;
    r.multiColor = 1;
    r.red = 255;
    r.green = 128;
    r.blue = 0;
    control_->ShowLightInfo(r);
    EXPECT_EQ(control_->GetSelectedMode(), 1);
    EXPECT_EQ(control_->GetBrightness(), 3);
    EXPECT_EQ(control_->GetSpeed(), 1);
    EXPECT_EQ(control_->GetDirection(), 1);
    EXPECT_TRUE(control_->GetMultiColour());
    EXPECT_EQ(control_->GetColourButtonColour(), 0xFFFF8000u) << "opaque, with the record's components";
    EXPECT_EQ(control_->GetEditText(Channel::Red), "255");
    EXPECT_EQ(control_->GetEditText(Channel::Green), "128");
    EXPECT_EQ(control_->GetEditText(Channel::Blue), "0");
    EXPECT_EQ(Named("deng_FXL_check").GetText(), "light_set_down_to_up_text");

    r.fx = 0;
    control_->ShowLightInfo(r);
    EXPECT_EQ(control_->GetDirection(), 0);
    EXPECT_TRUE(dynamic_cast<COptionUI&>(Named("deng_FXR_check")).IsSelected());
    EXPECT_FALSE(dynamic_cast<COptionUI&>(Named("deng_FXL_check")).IsSelected());
}

TEST_F(LightControlTest, TheMouseTableDecidesWhatCanBeUsed) {
    FillMouseList();
    struct Case {
        int mode;
        bool sevenColour, colour, brightness, speed, direction;
    };
    const Case cases[] = {
        {1, true, true, true, true, true},       {2, false, false, true, true, false},
        {4, false, true, true, false, false},    {5, true, true, true, true, false},
        {0, false, false, false, false, false},   // not listed
        {40, false, false, false, false, false},  // past the list
        {1, true, true, true, true, true},        // and back: everything enabled again
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        control_->SelectMode(c.mode);
        EXPECT_EQ(control_->GetMode(), c.mode);
        EXPECT_EQ(Usable("deng_7color_check"), c.sevenColour);
        EXPECT_EQ(Usable("deng_Color_Pallet"), c.colour);
        EXPECT_EQ(Usable("deng_edit_G"), c.colour);
        EXPECT_EQ(Usable("color_option_5"), c.colour);
        EXPECT_EQ(Usable("deng_light_slider"), c.brightness);
        EXPECT_EQ(Usable("deng_speed_slider"), c.speed);
        EXPECT_EQ(Usable("deng_FXL_check"), c.direction);
        EXPECT_TRUE(Usable("light_combo_modeSelect")) << "the effect list stays usable";
        EXPECT_FALSE(Named("light_combo_AudiomodeSelectLayout").IsVisible());
    }
}

TEST_F(LightControlTest, ARecordPastTheListSelectsNothing) {
    FillMouseList();
    LightInfoRecord r;
    r.selectItem = 30;
    control_->ShowLightInfo(r);
    EXPECT_EQ(control_->GetSelectedMode(), -1);
    EXPECT_FALSE(Usable("deng_light_slider"));
    EXPECT_TRUE(Usable("light_combo_modeSelect"));
}

TEST_F(LightControlTest, TheSameModeOptionNeedsTheOfferAndAModeThatOffersIt) {
    struct Case {
        int kind;
        int mode;
        bool offered;
        bool shown;
    };
    const Case cases[] = {
        {3, 2, true, true},  {3, 2, false, false}, {3, 1, true, false}, {7, 9, true, true},
        {2, 1, true, false}, {2, 2, true, false},  {1, 4, true, true},  {1, 3, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + "/" + std::to_string(c.mode) + (c.offered ? " offered" : ""));
        control_->SetPageKind(c.kind);
        control_->ShowSameModeOption(c.offered);
        control_->SelectMode(c.mode);
        EXPECT_EQ(control_->IsSameModeShown(), c.shown);
        // The order does not matter: an offer after the mode gives the same.
        control_->ShowSameModeOption(false);
        control_->ShowSameModeOption(c.offered);
        EXPECT_EQ(control_->IsSameModeShown(), c.shown);
    }
}

TEST_F(LightControlTest, AKeyboardModeShowsItsOwnParts) {
    control_->SetPageKind(1);
    control_->SelectMode(17);
    EXPECT_TRUE(Named("light_combo_ZZCCmodeSelectLayout").IsVisible());
    EXPECT_FALSE(Named("deng_speed_layout").IsVisible());
    control_->SelectMode(20);
    EXPECT_TRUE(Named("lightcustom_layout").IsVisible());
    EXPECT_FALSE(Named("light_combo_ZZCCmodeSelectLayout").IsVisible());
    control_->SelectMode(3);
    EXPECT_EQ(Named("deng_FXL_check").GetText(), "light_set_clockwise_text");
    EXPECT_EQ(Named("deng_FXR_check").GetText(), "light_set_anticlockwise_text");
    EXPECT_TRUE(Named("deng_speed_layout").IsVisible());
}

TEST(LightControlText, ATypedComponentIsBounded) {
    const std::pair<const char*, int> cases[] = {
        {"0", 0},
        {"7", 7},
        {"042", 42},
        {"255", 255},
        {"256", 255},
        {"300", 255},
        {"99999999999999999999", 255},
        {"", 0},
        {"-7", 0},
        {"+7", 0},
        {"1a", 0},
        {" 5", 0},
        {"x", 0},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(CLightControlUI::ComponentOfText(text), value) << text;
}

class LightColourOptionsTest : public LightControlTest {
protected:
    void SetUp() override {
        LightControlTest::SetUp();
        dir_ = std::filesystem::temp_directory_path() /
               ("zevik-light-options-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        user_ = dir_ / "color_option_info.config";
        default_ = dir_ / "default.config";
        skin_ = control_->GetOptionColour(1);
    }
    void TearDown() override {
        std::filesystem::remove_all(dir_);
        LightControlTest::TearDown();
    }
    static void Write(const std::filesystem::path& path, const std::string& text) {
        std::ofstream(path) << text;
    }
    static std::string Presets(const char* first, const char* second) {
        return std::string(R"({"coloroptioninfo": {"palletDialogcoloroption": [{"color": ")") + first +
               R"("}, {"color": ")" + second + R"("}]}})";
    }
    std::filesystem::path dir_, user_, default_;
    UiColor skin_ = 0;
};

TEST_F(LightColourOptionsTest, TheUserCopyComesFirst) {
    Write(user_, Presets("FF112233", "FF445566"));
    Write(default_, Presets("FFAAAAAA", "FFBBBBBB"));
    const auto before = std::filesystem::last_write_time(user_);
    control_->LoadColourOptions(user_, default_);
    EXPECT_EQ(control_->GetOptionColour(0), 0xFF112233u);
    EXPECT_EQ(control_->GetOptionColour(1), 0xFF445566u);
    EXPECT_EQ(std::filesystem::last_write_time(user_), before);
}

TEST_F(LightColourOptionsTest, ADamagedUserCopyGivesTheDefaultCopyAndStaysAsItIs) {
    Write(user_, "{ not json");
    Write(default_, Presets("FFAAAAAA", "12"));  // a short colour is read base 16 as it stands
    control_->LoadColourOptions(user_, default_);
    EXPECT_EQ(control_->GetOptionColour(0), 0xFFAAAAAAu);
    EXPECT_EQ(control_->GetOptionColour(1), 0x12u);
    std::ifstream in(user_);
    std::ostringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "{ not json") << "never rewritten";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 2) << "nothing created";
}

TEST_F(LightColourOptionsTest, WithoutAFileOrWithWrongTypesTheSkinColoursStay) {
    control_->LoadColourOptions(user_, default_);
    EXPECT_EQ(control_->GetOptionColour(1), skin_);
    EXPECT_FALSE(std::filesystem::exists(user_));

    Write(user_, R"({"coloroptioninfo": {"palletDialogcoloroption": [{"color": 5}, {"color": "not hex"}]}})");
    control_->LoadColourOptions(user_, default_);
    EXPECT_EQ(control_->GetOptionColour(1), skin_);
}

}  // namespace
}  // namespace zevik::test
