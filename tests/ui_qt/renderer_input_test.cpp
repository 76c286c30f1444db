#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStyleOptionSlider>

#include "ui/qt/color_palette_widget.h"
#include "ui/qt/painted_control_widget.h"
#include "ui_window_fixture.h"

namespace zevik {
namespace {

using test::Seen;

const char* kControlsSkin = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="400,420">
  <VerticalLayout name="root" bkcolor="#FF101010">
    <HorizontalLayout height="30" childpadding="4">
      <Button name="btn" text="Go" width="60"/>
      <Option name="opt_a" text="A" group="g" selected="true" width="40"/>
      <Option name="opt_b" text="B" group="g" width="40"/>
      <CheckBox name="chk" text="Check" width="80"/>
      <Label name="lbl" text="Label" menu="true" width="60"/>
    </HorizontalLayout>
    <Combo name="combo" height="26">
      <ListLabelElement text="one"/>
      <ListLabelElement text="two"/>
      <ListLabelElement text="three"/>
    </Combo>
    <Slider name="slider" height="24" min="0" max="100" value="10"/>
    <Edit name="num" height="26" numberonly="true" minnumber="0" maxnumber="500"/>
    <Edit name="other" height="26"/>
    <List name="list" height="90" itemheight="28">
      <ListLabelElement name="row_0" text="Row zero"/>
      <ListLabelElement name="row_1" text="Row one"/>
    </List>
    <ColorPalette name="palette" height="80"/>
  </VerticalLayout>
</Window>)";

class RendererInput : public test::UiWindowFixture {
protected:
    void SetUp() override {
        Open(kControlsSkin);
        m_window->seen.clear();
    }
};

TEST_F(RendererInput, ButtonsOptionsAndCheckBoxesRaiseClickThenSelection) {
    struct Case {
        const char* name;
        std::vector<Seen> expected;
    };
    const Case cases[] = {
        {"btn", {{"click", "btn", 0, 0}}},
        {"opt_b", {{"click", "opt_b", 0, 0}, {"selectchanged", "opt_b", 1, 0}}},
        {"opt_b", {{"click", "opt_b", 0, 0}}},  // a selected grouped option stays selected
        {"chk", {{"click", "chk", 0, 0}, {"selectchanged", "chk", 1, 0}}},
        {"chk", {{"click", "chk", 0, 0}, {"selectchanged", "chk", 0, 0}}},
    };
    for (const Case& c : cases) {
        m_window->seen.clear();
        auto* button = Widget<QAbstractButton>(c.name);
        ASSERT_NE(button, nullptr) << c.name;
        QTest::mouseClick(button, Qt::LeftButton);  // at the centre, on the text
        std::vector<Seen> got;
        for (const Seen& s : m_window->seen) {
            if (s.type == "click" || s.type == "selectchanged") {
                got.push_back(s);
            }
        }
        EXPECT_EQ(got, c.expected) << c.name;
    }
    // The group's other option follows the core: unchecked.
    EXPECT_FALSE(Widget<QAbstractButton>("opt_a")->isChecked());
    EXPECT_TRUE(Widget<QAbstractButton>("opt_b")->isChecked());
}

TEST_F(RendererInput, ComboKeyboardChoiceRaisesItemSelectWithNewAndOldIndex) {
    static_cast<CComboUI*>(Control("combo"))->SelectItem(0, false);
    auto* combo = Widget<QComboBox>("combo");
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 3);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(m_window->Of("itemselect"), (std::vector<Seen>{{"itemselect", "combo", 1, 0}}));
    EXPECT_EQ(static_cast<CComboUI*>(Control("combo"))->GetCurSel(), 1);
}

TEST_F(RendererInput, SliderDragReportsMovesThenTheFinalValue) {
    auto* slider = Widget<QSlider>("slider");
    ASSERT_NE(slider, nullptr);
    QStyleOptionSlider opt;
    opt.initFrom(slider);
    opt.orientation = slider->orientation();
    opt.minimum = slider->minimum();
    opt.maximum = slider->maximum();
    opt.sliderPosition = slider->value();
    opt.sliderValue = slider->value();
    const QRect handle =
        slider->style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, slider);
    // The style gives the handle's size; its place follows from the value.
    const int span = slider->width() - handle.width();
    const QPoint from(
        QStyle::sliderPositionFromValue(slider->minimum(), slider->maximum(), slider->value(), span) +
            handle.width() / 2,
        slider->height() / 2);
    QTest::mousePress(slider, Qt::LeftButton, {}, from);
    for (const int dx : {60, 120}) {
        const QPointF at = from + QPoint(dx, 0);
        QMouseEvent move(QEvent::MouseMove, at, slider->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(slider, &move);
    }
    QTest::mouseRelease(slider, Qt::LeftButton, {}, from + QPoint(120, 0));

    const auto moves = m_window->Of("movevaluechanged");
    const auto sets = m_window->Of("valuechanged");
    ASSERT_GE(moves.size(), 1u);
    ASSERT_EQ(sets.size(), 1u);
    const int final = static_cast<CSliderUI*>(Control("slider"))->GetValue();
    EXPECT_GT(final, 10);
    EXPECT_EQ(sets[0], (Seen{"valuechanged", "slider", static_cast<WPARAM>(final), 0}));
    EXPECT_EQ(moves.back().wParam, static_cast<WPARAM>(final));

    // A key moves the value at once: "valuechanged", no move.
    m_window->seen.clear();
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(m_window->Of("valuechanged"),
              (std::vector<Seen>{{"valuechanged", "slider", static_cast<WPARAM>(final + 1), 0}}));
    EXPECT_TRUE(m_window->Of("movevaluechanged").empty());
}

TEST_F(RendererInput, EditTypingFocusAndReturnFollowTheEditRules) {
    auto* num = Widget<QLineEdit>("num");
    auto* other = Widget<QLineEdit>("other");
    ASSERT_NE(num, nullptr);
    ASSERT_NE(other, nullptr);
    Host().Widget()->activateWindow();
    num->setFocus();
    Pump();
    ASSERT_FALSE(m_window->Of("setfocus").empty());
    ASSERT_EQ(m_window->Of("setfocus").back(), (Seen{"setfocus", "num", 0, 0}));
    m_window->seen.clear();

    QTest::keyClicks(num, "9a0x0");
    // The core keeps digits only; the widget shows what the core kept.
    EXPECT_EQ(num->text(), QStringLiteral("900"));
    EXPECT_EQ(Control("num")->GetText(), "900");
    EXPECT_FALSE(m_window->Of("textchanged").empty());
    EXPECT_EQ(m_window->Of("textchanged").back().sender, "num");

    QTest::keyClick(num, Qt::Key_Return);
    EXPECT_EQ(m_window->Of("return"), (std::vector<Seen>{{"return", "num", 0, 0}}));

    // Leaving the edit clamps the number into its limits before "killfocus".
    other->setFocus();
    Pump();
    EXPECT_EQ(m_window->Of("killfocus"), (std::vector<Seen>{{"killfocus", "num", 0, 0}}));
    EXPECT_EQ(m_window->Of("setfocus").back(), (Seen{"setfocus", "other", 0, 0}));
    EXPECT_EQ(num->text(), QStringLiteral("500"));
}

// A key pressed in an edit is told with its Linux input code (X11 and Wayland number keys as that code
// plus 8) and still reaches the edit; auto-repeats and keys without a native number are not told.
TEST_F(RendererInput, AKeyPressedInAnEditIsToldWithItsInputCodeAndStillTyped) {
    auto* other = Widget<QLineEdit>("other");
    ASSERT_NE(other, nullptr);
    Host().Widget()->activateWindow();
    other->setFocus();
    Pump();
    m_window->seen.clear();
    const auto press = [other](Qt::Key key, const QString& text, quint32 nativeScanCode, bool repeat) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, nativeScanCode, 0, 0, text, repeat);
        QApplication::sendEvent(other, &event);
    };
    press(Qt::Key_A, QStringLiteral("a"), 30 + 8, false);
    press(Qt::Key_A, QStringLiteral("a"), 30 + 8, true);
    press(Qt::Key_Enter, QString(), 96 + 8, false);
    press(Qt::Key_B, QStringLiteral("b"), 0, false);
    EXPECT_EQ(m_window->Of("keydown"), (std::vector<Seen>{{"keydown", "other", 0, 30}, {"keydown", "other", 0, 96}}));
    EXPECT_EQ(other->text(), QStringLiteral("aab")) << "the edit still gets every key";
}

// Another window taking the keyboard ends the edit's focus in the core too ("killfocus"): a key
// capture that runs while an edit has the focus ends with the window's turn.
TEST_F(RendererInput, AnotherWindowTakingTheKeyboardEndsTheEditsFocus) {
    auto* other = Widget<QLineEdit>("other");
    ASSERT_NE(other, nullptr);
    Host().Widget()->activateWindow();
    other->setFocus();
    Pump();
    ASSERT_EQ(m_window->Of("setfocus").back(), (Seen{"setfocus", "other", 0, 0}));
    m_window->seen.clear();
    QWidget elsewhere;
    elsewhere.resize(100, 100);
    elsewhere.show();
    elsewhere.activateWindow();
    QApplication::setActiveWindow(&elsewhere);
    Pump();
    EXPECT_EQ(m_window->Of("killfocus"), (std::vector<Seen>{{"killfocus", "other", 0, 0}}));
}

TEST_F(RendererInput, ListRowsRaiseItemClickSelectAndActivate) {
    auto* row = qobject_cast<CPaintedControlWidget*>(Renderer().WidgetFor(Control("row_1")));
    ASSERT_NE(row, nullptr);
    QTest::mouseClick(row, Qt::LeftButton, {}, QPoint(10, 10));
    std::vector<Seen> got;
    for (const Seen& s : m_window->seen) {
        if (s.type == "itemclick" || s.type == "itemselect") {
            got.push_back(s);
        }
    }
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].type, "itemclick");
    EXPECT_EQ(got[0].sender, "row_1");
    EXPECT_EQ(got[1].type, "itemselect");
    EXPECT_EQ(got[1].sender, "list");
    EXPECT_EQ(got[1].wParam, 1u);
    EXPECT_TRUE(row->IsSelected());

    QTest::mouseDClick(row, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(m_window->Of("itemactivate"), (std::vector<Seen>{{"itemactivate", "row_1", 0, 0}}));
}

TEST_F(RendererInput, PalettePickAndContextMenuReachNotify) {
    auto* palette = Widget<CColorPaletteWidget>("palette");
    ASSERT_NE(palette, nullptr);
    QTest::mouseClick(palette, Qt::LeftButton, {}, QPoint(palette->width() - 1, 2));
    const auto changed = m_window->Of("colorchanged");
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].sender, "palette");
    EXPECT_EQ(static_cast<UiColor>(changed[0].wParam),
              static_cast<CColorPaletteUI*>(Control("palette"))->GetSelectColor());

    QWidget* label = Renderer().WidgetFor(Control("lbl"));
    ASSERT_NE(label, nullptr);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(3, 4), label->mapToGlobal(QPoint(3, 4)));
    QApplication::sendEvent(label, &menu);
    const auto menus = m_window->Of("menu");
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].sender, "lbl");
    const QPoint inWindow = label->mapTo(Host().Widget(), QPoint(3, 4));
    EXPECT_EQ(menus[0].lParam, static_cast<LPARAM>((inWindow.y() << 16) | inWindow.x()));
    // A control without menu="true" raises none.
    QWidget* button = Renderer().WidgetFor(Control("btn"));
    QContextMenuEvent none(QContextMenuEvent::Mouse, QPoint(3, 4), button->mapToGlobal(QPoint(3, 4)));
    QApplication::sendEvent(button, &none);
    EXPECT_EQ(m_window->Of("menu").size(), 1u);
}

}  // namespace
}  // namespace zevik

namespace zevik {
namespace {

// A program control that takes raw mouse input, as a drag-selection panel does.
class CDragPanelUI : public CVerticalLayoutUI {
public:
    std::string_view GetClass() const override { return "DragPanelUI"; }
    void DoEvent(TEventUI& event) override {
        if (event.Type == UIEVENT_BUTTONDOWN || event.Type == UIEVENT_MOUSEMOVE ||
            event.Type == UIEVENT_BUTTONUP) {
            events.emplace_back(event.Type, QPoint(event.ptMouse.x, event.ptMouse.y));
            return;
        }
        CVerticalLayoutUI::DoEvent(event);
    }
    std::vector<std::pair<int, QPoint>> events;
};

class RendererRawMouse : public test::UiWindowFixture {
protected:
    RendererRawMouse() {
        CControlFactory::GetInstance()->RegistControl("CDragPanelUI", [] { return new CDragPanelUI; });
    }
    ~RendererRawMouse() override { CControlFactory::GetInstance()->UnregistControl("CDragPanelUI"); }
};

TEST_F(RendererRawMouse, PressMoveReleaseReachTheControlUnderThePointer) {
    Open(R"(<Window size="200,140"><VerticalLayout name="root">
      <Button name="btn" height="30" text="Go"/>
      <DragPanel name="panel" mousechild="false" bkcolor="#FF303030">
        <Label name="inner" text="key" height="30"/>
      </DragPanel>
    </VerticalLayout></Window>)");
    auto* panel = static_cast<CDragPanelUI*>(Control("panel"));
    ASSERT_NE(panel, nullptr);
    QWidget* inner = Renderer().WidgetFor(Control("inner"));
    ASSERT_NE(inner, nullptr);
    QWidget* frame = Host().Widget();
    const QPoint pressAt = inner->mapTo(frame, QPoint(10, 10));
    QTest::mousePress(inner, Qt::LeftButton, {}, QPoint(10, 10));
    const QPoint moveAt = pressAt + QPoint(50, 40);
    QMouseEvent move(QEvent::MouseMove, moveAt, frame->mapToGlobal(moveAt), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(frame, &move);
    QTest::mouseRelease(frame, Qt::LeftButton, {}, moveAt);
    const std::vector<std::pair<int, QPoint>> expected = {
        {UIEVENT_BUTTONDOWN, pressAt}, {UIEVENT_MOUSEMOVE, moveAt}, {UIEVENT_BUTTONUP, moveAt}};
    EXPECT_EQ(panel->events, expected);

    // A widget of its own keeps its input: the button's click gives the panel nothing.
    panel->events.clear();
    QTest::mouseClick(Renderer().WidgetFor(Control("btn")), Qt::LeftButton);
    EXPECT_TRUE(panel->events.empty());
    EXPECT_EQ(m_window->Of("click").size(), 1u);
}

}  // namespace
}  // namespace zevik
