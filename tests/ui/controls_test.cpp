// Selection, value and text rules of the controls, with and without notifications.

#include <memory>

#include "ui/check_box_ui.h"
#include "ui/color_palette_ui.h"
#include "ui/combo_ui.h"
#include "ui/dialog_builder.h"
#include "ui/edit_ui.h"
#include "ui/list_ui.h"
#include "ui/option_ui.h"
#include "ui/slider_ui.h"
#include "ui/tab_layout_ui.h"
#include "ui_test_support.h"

namespace zevik {
namespace {

using test::NotifyRecorder;
using test::RecordedNotify;

class ControlsTest : public test::UiTest {
protected:
    void Build(const char* xml) {
        CDialogBuilder builder;
        CControlUI* root = builder.CreateFromString(xml, nullptr, &pm);
        ASSERT_NE(root, nullptr) << builder.GetLastError();
        pm.AttachDialog(root);
        loop.ProcessPending();  // "windowinit"
        recorder.events.clear();
    }
    template <typename T>
    T& Get(const char* name) {
        auto* control = dynamic_cast<T*>(pm.FindControl(name));
        EXPECT_NE(control, nullptr) << name;
        return *control;
    }

    CPaintManagerUI pm;
    NotifyRecorder recorder{pm};
};

TEST_F(ControlsTest, OptionGroupsAreExclusivePerGroup) {
    Build(R"(<HorizontalLayout>
        <Option name="gun_1" group="gun" selected="true"/><Option name="gun_2" group="gun"/>
        <Option name="gun_3" group="gun"/><Option name="bullet_1" group="bullet" selected="true"/>
        <CheckBox name="x_check"/></HorizontalLayout>)");
    auto& gun1 = Get<COptionUI>("gun_1");
    auto& gun3 = Get<COptionUI>("gun_3");
    auto& bullet = Get<COptionUI>("bullet_1");

    gun3.Selected(true);
    EXPECT_FALSE(gun1.IsSelected());
    EXPECT_TRUE(gun3.IsSelected());
    EXPECT_TRUE(bullet.IsSelected()) << "another group is untouched";
    // Only the newly selected option reports; the cleared one is silent.
    EXPECT_EQ(recorder.events, (std::vector<RecordedNotify>{{"selectchanged", "gun_3", 1, 0}}));

    recorder.events.clear();
    gun1.Selected(true, false);
    EXPECT_TRUE(gun1.IsSelected());
    EXPECT_FALSE(gun3.IsSelected());
    EXPECT_TRUE(recorder.events.empty());

    // A click on a selected grouped option keeps it selected; a check box toggles.
    recorder.events.clear();
    EXPECT_TRUE(gun1.Activate());
    EXPECT_TRUE(gun1.IsSelected());
    auto& check = Get<CCheckBoxUI>("x_check");
    check.Activate();
    check.Activate();
    EXPECT_FALSE(check.GetCheck());
    EXPECT_EQ(recorder.events, (std::vector<RecordedNotify>{{"click", "gun_1", 0, 0},
                                                            {"click", "x_check", 0, 0},
                                                            {"selectchanged", "x_check", 1, 0},
                                                            {"click", "x_check", 0, 0},
                                                            {"selectchanged", "x_check", 0, 0}}));
}

TEST_F(ControlsTest, ADestroyedOptionLeavesItsGroup) {
    Build(R"(<HorizontalLayout name="row"><Option name="a" group="g"/><Option name="b" group="g"/></HorizontalLayout>)");
    auto& row = Get<CContainerUI>("row");
    row.Remove(pm.FindControl("a"));
    ASSERT_NE(pm.GetOptionGroup("g"), nullptr);
    EXPECT_EQ(pm.GetOptionGroup("g")->size(), 1u);
    Get<COptionUI>("b").Selected(true);  // must not touch the removed option
    EXPECT_EQ(pm.FindControl("a"), nullptr);
}

TEST_F(ControlsTest, DisabledOrHiddenControlsIgnoreClicks) {
    Build(R"(<HorizontalLayout><Button name="off" enabled="false"/><Button name="gone" visible="false"/></HorizontalLayout>)");
    EXPECT_FALSE(Get<CButtonUI>("off").Activate());
    EXPECT_FALSE(Get<CButtonUI>("gone").Activate());
    EXPECT_TRUE(recorder.events.empty());
}

TEST_F(ControlsTest, ComboSelectionWithAndWithoutNotification) {
    Build(R"(<VerticalLayout><Combo name="device_profile_combo">
        <ListLabelElement text="one"/><ListLabelElement text="two"/><ListLabelElement text="three"/>
        </Combo></VerticalLayout>)");
    auto& combo = Get<CComboUI>("device_profile_combo");
    EXPECT_EQ(combo.GetCurSel(), -1);
    EXPECT_EQ(combo.GetText(), "");

    EXPECT_TRUE(combo.SelectItem(2, false));
    EXPECT_EQ(combo.GetText(), "three");
    EXPECT_TRUE(recorder.events.empty());

    EXPECT_TRUE(combo.SelectItem(0));
    EXPECT_TRUE(combo.SelectItem(0));  // the same item again: no second report
    EXPECT_FALSE(combo.SelectItem(3));
    EXPECT_FALSE(combo.SelectItem(-2));
    EXPECT_EQ(combo.GetCurSel(), 0);
    EXPECT_EQ(recorder.events, (std::vector<RecordedNotify>{{"itemselect", "device_profile_combo", 0, 2}}));

    // Removing the selected item clears the selection; an inserted item shifts it.
    combo.SelectItem(1, false);
    combo.AddAt(new CListLabelElementUI(), 0);
    EXPECT_EQ(combo.GetCurSel(), 2);
    EXPECT_EQ(combo.GetText(), "two");
    combo.RemoveAt(2);
    EXPECT_EQ(combo.GetCurSel(), -1);
    // Only list items belong in a combo.
    auto* stray = new CButtonUI();
    EXPECT_FALSE(combo.Add(stray));
    delete stray;
}

TEST_F(ControlsTest, ListItemClickSelectsThroughTheOwner) {
    Build(R"(<VerticalLayout><List name="macro_list">
        <ListContainerElement name="macro_action"><Label name="l1"/></ListContainerElement>
        <ListContainerElement name="macro_action"><Label name="l2"/></ListContainerElement>
        </List></VerticalLayout>)");
    auto& list = Get<CListUI>("macro_list");
    auto* second = dynamic_cast<CListContainerElementUI*>(list.GetItemAt(1));
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->Activate());
    EXPECT_EQ(list.GetCurSel(), 1);
    EXPECT_TRUE(second->IsSelected());
    EXPECT_EQ(recorder.events, (std::vector<RecordedNotify>{{"itemclick", "macro_action", 0, 0},
                                                            {"itemselect", "macro_list", 1, -1}}));
    list.SelectItem(0, false);
    EXPECT_FALSE(second->IsSelected());
}

TEST_F(ControlsTest, SliderAndProgressKeepTheValueInRange) {
    Build(R"(<VerticalLayout><Slider name="s" min="100" max="200" value="150"/></VerticalLayout>)");
    auto& slider = Get<CSliderUI>("s");
    struct Case {
        int input;
        int want;
    };
    const Case cases[] = {{99, 100}, {100, 100}, {201, 200}, {-50000, 100}, {175, 175}};
    for (const Case& c : cases) {
        slider.SetValue(c.input);
        EXPECT_EQ(slider.GetValue(), c.want) << c.input;
    }
    EXPECT_TRUE(recorder.events.empty()) << "values set by code raise nothing";

    slider.SetMaxValue(150);  // narrowing the range pulls the value in
    EXPECT_EQ(slider.GetValue(), 150);
    slider.SetMinValue(300);  // min above max: the range collapses to min
    EXPECT_EQ(slider.GetValue(), 300);
}

TEST_F(ControlsTest, SliderUserMovesReportClampedValues) {
    Build(R"(<VerticalLayout><Slider name="DPI_slider_3" min="0" max="10" value="5"/></VerticalLayout>)");
    auto& slider = Get<CSliderUI>("DPI_slider_3");
    slider.UserMoveValue(7);
    slider.UserMoveValue(7);
    slider.UserSetValue(99);
    slider.UserSetValue(10);
    slider.UserSetValue(10, true);
    EXPECT_EQ(recorder.events, (std::vector<RecordedNotify>{{"movevaluechanged", "DPI_slider_3", 7, 0},
                                                            {"valuechanged", "DPI_slider_3", 10, 0},
                                                            {"valuechanged", "DPI_slider_3", 10, 0}}));
}

TEST_F(ControlsTest, EditInputRules) {
    Build(R"(<VerticalLayout><Edit name="n" numberonly="true" maxchar="5" minnumber="50" maxnumber="26000"/>
        <Edit name="neg" numberonly="true" minnumber="-10" maxnumber="10"/>
        <Edit name="t" maxchar="3"/></VerticalLayout>)");
    struct Case {
        const char* edit;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {"n", "12a3", "123"},     {"n", "-5", "5"},   {"n", "1234567", "12345"},
        {"neg", "-5", "-5"},      {"neg", "5-", "5"}, {"t", "héllo", "hél"},
        {"t", "ab", "ab"},
    };
    for (const Case& c : cases) {
        auto& edit = Get<CEditUI>(c.edit);
        edit.UserSetText(c.typed);
        EXPECT_EQ(edit.GetText(), c.shown) << c.edit << " " << c.typed;
    }
}

TEST_F(ControlsTest, NumberEditClampsWhenItLosesTheFocus) {
    Build(R"(<VerticalLayout><Edit name="DPI_edit_1" numberonly="true" minnumber="50" maxnumber="26000"/>
        <Button name="elsewhere"/></VerticalLayout>)");
    auto& edit = Get<CEditUI>("DPI_edit_1");
    struct Case {
        const char* typed;
        const char* after;
    };
    const Case cases[] = {{"7", "50"}, {"30000", "26000"}, {"800", "800"}, {"99999999999999", "26000"}};
    for (const Case& c : cases) {
        edit.SetFocus();
        edit.UserSetText(c.typed);
        recorder.events.clear();
        pm.FindControl("elsewhere")->SetFocus();
        EXPECT_EQ(edit.GetText(), c.after) << c.typed;
        ASSERT_FALSE(recorder.events.empty());
        EXPECT_EQ(recorder.events.front(), (RecordedNotify{"killfocus", "DPI_edit_1", 0, 0}));
    }
}

TEST_F(ControlsTest, EnterInTheFocusedEditRaisesReturn) {
    Build(R"(<VerticalLayout><Edit name="delay_edit"/><RichEdit name="notes" wantreturn="true"/></VerticalLayout>)");
    EXPECT_EQ(pm.DispatchKey(UIEVENT_KEYDOWN, CEditUI::kReturnKey), nullptr) << "nothing has the focus";
    pm.FindControl("delay_edit")->SetFocus();
    pm.DispatchKey(UIEVENT_KEYDOWN, CEditUI::kReturnKey);
    pm.DispatchKey(UIEVENT_KEYDOWN, 'A');
    pm.FindControl("notes")->SetFocus();
    pm.DispatchKey(UIEVENT_KEYDOWN, CEditUI::kReturnKey);
    EXPECT_EQ(recorder.TypesOf("delay_edit"), (std::vector<std::string>{"setfocus", "return", "killfocus"}));
    EXPECT_EQ(recorder.TypesOf("notes"), (std::vector<std::string>{"setfocus"}));
}

TEST_F(ControlsTest, ReadOnlyEditIgnoresTyping) {
    Build(R"(<VerticalLayout><Edit name="e" readonly="true" text="fixed"/></VerticalLayout>)");
    auto& edit = Get<CEditUI>("e");
    edit.UserSetText("changed");
    EXPECT_EQ(edit.GetText(), "fixed");
    EXPECT_TRUE(recorder.events.empty());
}

TEST_F(ControlsTest, TabSelection) {
    Build(R"(<TabLayout name="macro_name_tab"><Label name="p0"/><Label name="p1"/><Label name="p2"/></TabLayout>)");
    auto& tab = Get<CTabLayoutUI>("macro_name_tab");
    EXPECT_EQ(tab.GetCurSel(), 0);
    EXPECT_TRUE(tab.SelectItem(2));
    EXPECT_FALSE(tab.SelectItem(3));
    EXPECT_EQ(tab.GetCurSel(), 2);
    EXPECT_FALSE(pm.FindControl("p0")->IsVisible());
    EXPECT_TRUE(pm.FindControl("p2")->IsVisible());
    EXPECT_EQ(recorder.events, (std::vector<RecordedNotify>{{"tabselect", "macro_name_tab", 2, 0}}));
    tab.Remove(pm.FindControl("p2"));
    EXPECT_EQ(tab.GetCurSel(), 1);
    EXPECT_TRUE(pm.FindControl("p1")->IsVisible());
}

TEST_F(ControlsTest, ColourPaletteReportsUserPicksOnly) {
    Build(R"(<VerticalLayout><ColorPalette name="Pallet"/></VerticalLayout>)");
    auto& palette = Get<CColorPaletteUI>("Pallet");
    palette.SetSelectColor(0xFF00FF00);
    palette.UserSelectColor(0xFF0000FF);
    palette.UserSelectColor(0xFF0000FF);
    EXPECT_EQ(palette.GetSelectColor(), 0xFF0000FFu);
    EXPECT_EQ(recorder.events, (std::vector<RecordedNotify>{{"colorchanged", "Pallet", 0xFF0000FF, 0}}));
}

}  // namespace
}  // namespace zevik
