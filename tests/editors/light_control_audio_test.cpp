// The audio part of the lighting page: showing the audio lighting record puts the edited colour in
// the edits, the palette and the colour button and sets the checks without notifications; reading it
// back takes the user's choices; a page without its audio controls says so in the trace.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editors/light_page_fixture.h"
#include "platform/trace.h"
#include "ui/color_palette_ui.h"
#include "ui/combo_ui.h"
#include "ui/container_ui.h"
#include "ui/edit_ui.h"
#include "ui/option_ui.h"

namespace zevik::test {
namespace {

class TraceLines final : public ITraceSink {
public:
    TraceLines() : previous_(SetTraceSink(this)) {}
    ~TraceLines() override { SetTraceSink(previous_); }
    void Write(std::string_view line) override { lines.emplace_back(line); }
    std::vector<std::string> lines;

private:
    ITraceSink* previous_;
};

AudioLightInfoRecord Record(int style, bool foreground, bool wheel = false) {
    AudioLightInfoRecord r;
    r.audioMode = static_cast<std::uint8_t>(style);
    r.fgColorR = 255, r.fgColorG = 128, r.fgColorB = 0;
    r.bkColorR = 1, r.bkColorG = 2, r.bkColorB = 3;
    r.sevenColorFlags = wheel ? 1 : 0;
    r.colorTypeFlags = foreground ? 1 : 0;
    return r;
}

class LightControlAudioTest : public LightPageFixture {
protected:
    COptionUI& Option(const std::string& name) { return dynamic_cast<COptionUI&>(Named(name)); }
    std::string Edits() {
        return Named("deng_audioedit_R").GetText() + " " + Named("deng_audioedit_G").GetText() + " " +
               Named("deng_audioedit_B").GetText();
    }
    void RemoveControl(const std::string& name) {
        CControlUI& c = Named(name);
        auto* parent = dynamic_cast<CContainerUI*>(c.GetParent());
        ASSERT_NE(parent, nullptr);
        parent->Remove(&c);
    }
};

TEST_F(LightControlAudioTest, ShowingTheRecordShowsTheEditedColourAndItsChecks) {
    struct ShowCase {
        const char* name;
        AudioLightInfoRecord record;
        const char* edits;
        UiColor colour;
        bool foregroundSelected;
        bool wheelEnabled;
        bool wheelSelected;
    };
    const ShowCase cases[] = {
        {"foreground", Record(0, true, true), "255 128 0", 0xFFFF8000, true, true, true},
        {"background", Record(1, false, true), "1 2 3", 0xFF010203, false, false, true},
        {"foreground without wheel", Record(6, true, false), "255 128 0", 0xFFFF8000, true, true, false},
    };
    for (const ShowCase& c : cases) {
        SCOPED_TRACE(c.name);
        control_->ShowAudioLightInfo(c.record);
        EXPECT_EQ(control_->AudioStyleCombo()->GetCurSel(), c.record.audioMode);
        EXPECT_EQ(Edits(), c.edits);
        EXPECT_EQ(control_->AudioPalette()->GetSelectColor(), c.colour);
        EXPECT_EQ(control_->AudioColourButton()->GetBkColor(), c.colour);
        EXPECT_EQ(Option("audio_FgColor_check").IsSelected(), c.foregroundSelected);
        EXPECT_EQ(Option("audio_BkColor_check").IsSelected(), !c.foregroundSelected);
        EXPECT_EQ(Option("deng_7audiocolor_check").IsEnabled(), c.wheelEnabled);
        EXPECT_EQ(Option("deng_7audiocolor_check").IsSelected(), c.wheelSelected);
    }
}

TEST_F(LightControlAudioTest, TheRingStyleTurnsTheColourPartsOff) {
    for (int style = 0; style <= 6; ++style) {
        control_->ShowAudioLightInfo(Record(style, true));
        const bool on = style != 3;
        for (const char* name : {"light_audiocolor_layout", "audiocolorpallet_layout", "deng_audioedit_G",
                                 "deng_audioColor_Pallet", "audiocolor_option_5"}) {
            EXPECT_EQ(Named(name).IsEnabled(), on) << "style " << style << ": " << name;
        }
    }
}

TEST_F(LightControlAudioTest, ReadingBackTakesTheChecksTheStyleAndTheColourButton) {
    struct ReadCase {
        bool before;           // the stored record edits the foreground
        const char* selected;  // the check the user selects
        int colourType;
    };
    for (const ReadCase c :
         {ReadCase{true, "audio_BkColor_check", 0}, ReadCase{false, "audio_FgColor_check", 1},
          ReadCase{true, "audio_FgColor_check", 1}, ReadCase{false, "audio_BkColor_check", 0}}) {
        SCOPED_TRACE(std::string(c.selected) + (c.before ? " after foreground" : " after background"));
        control_->ShowAudioLightInfo(Record(0, c.before));
        Option(c.selected).Selected(true, false);
        control_->AudioStyleCombo()->SelectItem(4, false);
        const std::optional<AudioLightInfoRecord> r = control_->ReadAudioLightInfo(false);
        ASSERT_TRUE(r.has_value());
        EXPECT_EQ(r->colorTypeFlags, c.colourType);
        EXPECT_EQ(r->audioMode, 4);
        EXPECT_EQ(r->fgColorR, 255) << "without the colour button nothing else changes";
    }
    // With the colour button: its colour replaces the edited colour only.
    control_->ShowAudioLightInfo(Record(0, false));
    control_->AudioColourButton()->SetBkColor(0xFF102030);
    const std::optional<AudioLightInfoRecord> r = control_->ReadAudioLightInfo(true);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(
        (std::array<int, 6>{r->bkColorR, r->bkColorG, r->bkColorB, r->fgColorR, r->fgColorG, r->fgColorB}),
        (std::array<int, 6>{0x10, 0x20, 0x30, 255, 128, 0}));
    EXPECT_EQ(control_->StoredAudioLightInfo(), *r);
}

TEST_F(LightControlAudioTest, AMissingControlEndsTheOperationWithItsTrace) {
    TraceLines trace;
    RemoveControl("deng_audiocolordp_btn");
    control_->ShowAudioLightInfo(Record(2, true));
    EXPECT_EQ(trace.lines, (std::vector<std::string>{"GetAudioLightInfo control is NULL"}));
    EXPECT_EQ(control_->AudioStyleCombo()->GetCurSel(), 2) << "the style shows before the failure";
    EXPECT_EQ(control_->StoredAudioLightInfo(), Record(2, true)) << "the record is kept";
    EXPECT_FALSE(control_->ReadAudioLightInfo(true).has_value());

    trace.lines.clear();
    RemoveControl("light_combo_audiomodeSelect");
    control_->ShowAudioLightInfo(Record(1, true));
    EXPECT_EQ(trace.lines, (std::vector<std::string>{" SetAudioLightInfo control is NULL"}));
}

TEST_F(LightControlAudioTest, AnAudioOptionGivesItsBackgroundColourAndNothingWithoutIt) {
    TraceLines trace;
    EXPECT_EQ(control_->GetAudioOptionColour(2), 0xFFFFFF00);
    EXPECT_EQ(control_->GetAudioOptionColour(8), 0u);
    EXPECT_EQ(trace.lines.front(), "audiocolor_option_2 GetLightAudioColor");
}

}  // namespace
}  // namespace zevik::test
