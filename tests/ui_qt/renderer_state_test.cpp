#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTest>
#include <QApplication>
#include <QEnterEvent>
#include <algorithm>
#include <functional>

#include "paint_recorder.h"
#include "ui/button_ui.h"
#include "ui/qt/key_button_widget.h"
#include "ui/qt/light_layer_widget.h"
#include "ui/qt/light_widget.h"
#include "ui/qt/painted_control_widget.h"
#include "ui_window_fixture.h"

namespace zevik {
namespace {

const char* kStateSkin = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="300,260">
  <VerticalLayout name="root" bkcolor="#FF202020" inset="10,10,10,10" childpadding="5">
    <HorizontalLayout height="30" childpadding="5">
      <Label name="lbl" text="Label" width="80" bkcolor="#FF00C000"/>
      <Button name="btn" text="Go" width="60"/>
      <Option name="opt_a" text="A" group="g" selected="true" width="40"/>
      <Option name="opt_b" text="B" group="g" width="40"/>
    </HorizontalLayout>
    <Combo name="combo" height="24"><ListLabelElement text="one"/><ListLabelElement text="two"/><ListLabelElement text="three"/></Combo>
    <Slider name="slider" height="20" min="0" max="100" value="10"/>
    <Progress name="progress" height="12" min="0" max="200" value="50"/>
    <Edit name="edit" height="24"/>
    <TabLayout name="tabs" height="40">
      <Label name="page_0" text="first"/>
      <Label name="page_1" text="second"/>
    </TabLayout>
    <List name="list" itemheight="20"><ListLabelElement name="row_0" text="zero"/></List>
  </VerticalLayout>
</Window>)";

using test::PaintRecorder;

class RendererState : public test::UiWindowFixture {
protected:
    void SetUp() override { Open(kStateSkin); }
};

TEST_F(RendererState, WidgetsFollowControlState) {
    struct Case {
        const char* what;
        std::function<void()> change;
        std::function<bool()> shown;
    };
    const Case cases[] = {
        {"label text", [&] { Control("lbl")->SetText("Changed"); },
         [&] { return Get<CPaintedControlWidget>("lbl").Look().text == "Changed"; }},
        {"button hidden", [&] { Control("btn")->SetVisible(false); },
         [&] { return Get<QWidget>("btn").isHidden(); }},
        {"button disabled", [&] { Control("btn")->SetEnabled(false); },
         [&] { return !Get<QWidget>("btn").isEnabled(); }},
        {"slider value", [&] { static_cast<CSliderUI*>(Control("slider"))->SetValue(70); },
         [&] { return Get<QSlider>("slider").value() == 70; }},
        {"slider range clamps", [&] { static_cast<CSliderUI*>(Control("slider"))->SetMaxValue(50); },
         [&] { return Get<QSlider>("slider").maximum() == 50 && Get<QSlider>("slider").value() == 50; }},
        {"progress value", [&] { static_cast<CProgressUI*>(Control("progress"))->SetValue(150); },
         [&] {
             return Get<QProgressBar>("progress").value() == 150 &&
                    Get<QProgressBar>("progress").maximum() == 200;
         }},
        {"combo silent select", [&] { static_cast<CComboUI*>(Control("combo"))->SelectItem(2, false); },
         [&] { return Get<QComboBox>("combo").currentIndex() == 2; }},
        {"combo new item", [&] { static_cast<CComboUI*>(Control("combo"))->AddItem("four"); },
         [&] {
             return Get<QComboBox>("combo").count() == 4 && Get<QComboBox>("combo").itemText(3) == "four";
         }},
        {"option silent select", [&] { static_cast<COptionUI*>(Control("opt_b"))->Selected(true, false); },
         [&] { return Get<QPushButton>("opt_b").isChecked() && !Get<QPushButton>("opt_a").isChecked(); }},
        {"edit text", [&] { Control("edit")->SetText("abc"); },
         [&] { return Get<QLineEdit>("edit").text() == "abc"; }},
        {"tab page", [&] { static_cast<CTabLayoutUI*>(Control("tabs"))->SelectItem(1, false); },
         [&] { return Get<QWidget>("page_0").isHidden() && !Get<QWidget>("page_1").isHidden(); }},
    };
    m_window->seen.clear();
    for (const Case& c : cases) {
        c.change();
        EXPECT_TRUE(c.shown()) << c.what;
    }
    // Changes made by code raise no notifications.
    EXPECT_TRUE(m_window->Of("itemselect").empty());
    EXPECT_TRUE(m_window->Of("selectchanged").empty());
    EXPECT_TRUE(m_window->Of("valuechanged").empty());
}

TEST_F(RendererState, AWidgetRepaintsOnlyWhatChangedOnIt) {
    QWidget& label = Get<QWidget>("lbl");
    Pump();
    PaintRecorder recorder(*Host().Widget());
    Renderer().Sync(*Control("lbl"), UiChange::Text | UiChange::Style | UiChange::State | UiChange::BkColor);
    Pump();
    EXPECT_EQ(recorder.PaintsOf(&label), 0) << "nothing it shows changed";

    Control("lbl")->SetBkColor(0xFF0000C0);
    Pump();
    EXPECT_EQ(Get<CPaintedControlWidget>("lbl").Look().background, QColor(0, 0, 0xC0));
    EXPECT_EQ(recorder.PaintsOf(&label), 1);
    const QRect own(label.mapTo(Host().Widget(), QPoint(0, 0)), label.size());
    EXPECT_TRUE((recorder.painted - own).isEmpty()) << "a colour change repaints its control alone";
}

// A light of a device picture over a coloured panel, as the program's pages place them.
const char* kLightSkin = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="120,100">
  <VerticalLayout name="root" bkcolor="#FF202020">
    <Control name="under" float="true" pos="10,10,60,60" bkcolor="#FFC00000"/>
    <DeviceKeyButton name="light" float="true" pos="20,20,32,32" bkcolor="#FF00FF00" borderround="6,6"/>
  </VerticalLayout>
</Window>)";

class KeyCapUI final : public CButtonUI {
public:
    std::string_view GetClass() const override { return "DeviceKeyButtonUI"; }
};

class KeyLights : public test::UiWindowFixture {
protected:
    void SetUp() override {
        Open(kLightSkin, [](std::string_view tag) -> CControlUI* {
            return tag == "DeviceKeyButton" ? new KeyCapUI : nullptr;
        });
    }
    // What the window shows at a point of the window (its backing store, not a fresh rendering).
    QColor Shown(QPoint at) {
        QWidget* top = Host().Widget();
        return top->screen()->grabWindow(top->winId()).toImage().pixelColor(at);
    }
};

TEST_F(KeyLights, ALightsColourRepaintsTheLightAloneOverWhatLiesBeneathIt) {
    auto& light = Get<CKeyButtonWidget>("light");
    QWidget* under = Renderer().WidgetFor(Control("under"));
    QWidget* root = Renderer().WidgetFor(Control("root"));
    Pump();
    const QPoint corner(20, 20);  // outside the light's rounded rim: the panel beneath shows
    EXPECT_EQ(Shown(corner), QColor(0xC0, 0, 0));

    PaintRecorder recorder(*Host().Widget());
    const int captures = light.BackdropCaptures();
    for (const UiColor colour : {0xFF0000FFu, 0xFFFF0000u, 0x80FFFF00u}) {
        Control("light")->SetBkColor(colour);
        Pump();
    }
    EXPECT_EQ(recorder.PaintsOf(&light), 3);
    EXPECT_EQ(recorder.PaintsOf(under), 0) << "a light's frame repaints the panel beneath it";
    EXPECT_EQ(recorder.PaintsOf(root), 0);
    EXPECT_EQ(recorder.PaintsOf(Host().Widget()), 0);
    EXPECT_EQ(light.BackdropCaptures(), captures) << "nothing beneath changed";
    EXPECT_EQ(Shown(corner), QColor(0xC0, 0, 0));

    // The panel beneath changes in the same pass as the light's colour: the corner shows the new panel.
    Control("under")->SetBkColor(0xFF0000C0);
    Control("light")->SetBkColor(0xFF00FF00);
    Pump();
    EXPECT_EQ(Shown(corner), QColor(0, 0, 0xC0));
    // The panel goes while the light stays as it is: the window beneath shows at the corner.
    Control("under")->SetVisible(false);
    Pump();
    EXPECT_EQ(Shown(corner), QColor(0x20, 0x20, 0x20));
}

// Lights of a device picture (caps that take no input) over a coloured panel: one layer paints them.
const char* kLightsSkin = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="120,100">
  <VerticalLayout name="root" bkcolor="#FF202020">
    <Control name="under" float="true" pos="10,10,60,60" bkcolor="#FFC00000"/>
    <DeviceKeyButton name="light_0" float="true" pos="20,20,32,32" mouse="false" bkcolor="#FF00FF00" borderround="6,6"/>
    <DeviceKeyButton name="light_1" float="true" pos="40,40,52,52" mouse="false" bkcolor="#FF00FF00" borderround="6,6"/>
    <DeviceKeyButton name="key" float="true" pos="70,20,100,50" bkcolor="#FF0000FF" borderround="6,6"/>
  </VerticalLayout>
</Window>)";

class LightLayer : public KeyLights {
protected:
    void SetUp() override {
        Open(kLightsSkin, [](std::string_view tag) -> CControlUI* {
            return tag == "DeviceKeyButton" ? new KeyCapUI : nullptr;
        });
    }
};

TEST_F(LightLayer, LightsArePaintedTogetherInOneRectangleOverWhatLiesBeneath) {
    auto* first = qobject_cast<CLightWidget*>(Renderer().WidgetFor(Control("light_0")));
    auto* second = qobject_cast<CLightWidget*>(Renderer().WidgetFor(Control("light_1")));
    ASSERT_NE(first, nullptr) << "a cap without input is a light";
    ASSERT_NE(second, nullptr);
    EXPECT_NE(qobject_cast<CKeyButtonWidget*>(Renderer().WidgetFor(Control("key"))), nullptr);
    CLightLayerWidget* layer = first->Layer();
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(second->Layer(), layer);
    EXPECT_TRUE(first->IsShown());
    QWidget* under = Renderer().WidgetFor(Control("under"));
    QWidget* root = Renderer().WidgetFor(Control("root"));
    Pump();
    const QPoint corner(20, 20);  // outside the first light's rounded rim: the panel beneath shows
    const QPoint between(36, 36);  // inside the layer, between the lights
    EXPECT_EQ(Shown(corner), QColor(0xC0, 0, 0));
    EXPECT_EQ(Shown(between), QColor(0xC0, 0, 0));
    EXPECT_GT(Shown(QPoint(22, 26)).green(), 150) << "the rim shows the light's colour";

    PaintRecorder recorder(*Host().Widget());
    const int captures = layer->BackdropCaptures();
    for (const UiColor colour : {0xFF0000FFu, 0xFFFF0000u, 0x80FFFF00u}) {
        Control("light_0")->SetBkColor(colour);
        Control("light_1")->SetBkColor(colour);
        Pump();
    }
    EXPECT_EQ(recorder.PaintsOf(layer), 3) << "one paint per pass for both lights";
    EXPECT_EQ(recorder.PaintsOf(under), 0) << "a light's frame repaints the panel beneath it";
    EXPECT_EQ(recorder.PaintsOf(root), 0);
    EXPECT_TRUE((recorder.painted - QRegion(20, 20, 32, 32)).isEmpty()) << "repainted outside the lights";
    EXPECT_EQ(layer->BackdropCaptures(), captures) << "nothing beneath changed";
    EXPECT_EQ(Shown(corner), QColor(0xC0, 0, 0));
    EXPECT_GT(Shown(QPoint(22, 26)).red(), 60) << "the rim follows the colour";

    // The panel beneath changes in the same pass as a light's colour: the layer shows the new panel.
    Control("under")->SetBkColor(0xFF0000C0);
    Control("light_0")->SetBkColor(0xFF00FF00);
    Pump();
    EXPECT_EQ(Shown(corner), QColor(0, 0, 0xC0));
    EXPECT_EQ(Shown(between), QColor(0, 0, 0xC0));
    // A light hidden shows what lies beneath it; the other stays.
    Control("light_1")->SetVisible(false);
    Pump();
    EXPECT_FALSE(second->IsShown());
    EXPECT_EQ(Shown(QPoint(46, 46)), QColor(0, 0, 0xC0));
    EXPECT_GT(Shown(QPoint(22, 26)).green(), 150);
    // The panel goes: the window beneath shows around the light.
    Control("under")->SetVisible(false);
    Pump();
    EXPECT_EQ(Shown(corner), QColor(0x20, 0x20, 0x20));
}

TEST_F(LightLayer, AKeyUnderTheLayerTakesTheClick) {
    // The layer lies over the keys and picture around its lights and lets the mouse through.
    auto* first = qobject_cast<CLightWidget*>(Renderer().WidgetFor(Control("light_0")));
    ASSERT_NE(first, nullptr);
    QWidget* top = Host().Widget();
    EXPECT_NE(top->childAt(QPoint(36, 36)), first->Layer());
    EXPECT_EQ(top->childAt(QPoint(80, 30)), Renderer().WidgetFor(Control("key")));
}

// A key between two lights lies under their layer.
const char* kKeyUnderLightsSkin = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="120,100">
  <VerticalLayout name="root" bkcolor="#FF202020">
    <DeviceKeyButton name="key" float="true" pos="26,26,46,46" bkcolor="#FF0000FF" borderround="6,6"/>
    <DeviceKeyButton name="light_0" float="true" pos="10,10,22,22" mouse="false" bkcolor="#FF00FF00" borderround="6,6"/>
    <DeviceKeyButton name="light_1" float="true" pos="50,50,62,62" mouse="false" bkcolor="#FF00FF00" borderround="6,6"/>
  </VerticalLayout>
</Window>)";

class KeyUnderLights : public KeyLights {
protected:
    void SetUp() override {
        Open(kKeyUnderLightsSkin, [](std::string_view tag) -> CControlUI* {
            return tag == "DeviceKeyButton" ? new KeyCapUI : nullptr;
        });
    }
};

TEST_F(KeyUnderLights, TheLayerShowsTheHoverOfAKeyBeneathIt) {
    QWidget* key = Renderer().WidgetFor(Control("key"));
    ASSERT_NE(qobject_cast<CKeyButtonWidget*>(key), nullptr);
    Pump();
    const QPoint middle(36, 36);
    const QColor before = Shown(middle);
    QTest::mouseMove(Host().Widget(), middle);
    QEnterEvent enter(QPointF(10, 10), QPointF(middle), QPointF(middle));
    QApplication::sendEvent(key, &enter);  // offscreen windows get no crossing events of their own
    Pump();
    EXPECT_NE(Shown(middle), before) << "the layer still shows the key as it was";
}

// Keys that every frame recolours, as a keyboard's: the skin puts them in their parent's light layer.
const char* kLayeredKeysSkin = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="120,100">
  <VerticalLayout name="root" bkcolor="#FF202020">
    <DeviceKeyButton name="key_0" float="true" pos="10,10,40,40" bkcolor="#FF00FF00" lightlayer="true" tooltip="Esc"/>
    <DeviceKeyButton name="key_1" float="true" pos="60,10,90,40" bkcolor="#FF00FF00" lightlayer="true"/>
  </VerticalLayout>
</Window>)";

class LayeredKeys : public KeyLights {
protected:
    void SetUp() override {
        window_ = &Open(kLayeredKeysSkin, [](std::string_view tag) -> CControlUI* {
            return tag == "DeviceKeyButton" ? new KeyCapUI : nullptr;
        });
    }
    test::RecordingWindow* window_ = nullptr;
    int Clicks(const std::string& name) const {
        return static_cast<int>(std::count_if(window_->seen.begin(), window_->seen.end(), [&](const auto& n) {
            return n.type == DUI_MSGTYPE_CLICK && n.sender == name;
        }));
    }
};

TEST_F(LayeredKeys, AFramePaintsTheKeysTogetherAndTheLayerClicksTheKeyUnderThePointer) {
    auto* first = qobject_cast<CLightWidget*>(Renderer().WidgetFor(Control("key_0")));
    auto* second = qobject_cast<CLightWidget*>(Renderer().WidgetFor(Control("key_1")));
    ASSERT_NE(first, nullptr) << "a layered key is a light";
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(first->TakesInput());
    CLightLayerWidget* layer = first->Layer();
    ASSERT_EQ(second->Layer(), layer);
    Pump();

    PaintRecorder recorder(*Host().Widget());
    Control("key_0")->SetBkColor(0xFF0000FF);
    Control("key_1")->SetBkColor(0xFFFF0000);
    Pump();
    EXPECT_EQ(recorder.PaintsOf(layer), 1) << "one paint for both keys";
    EXPECT_EQ(recorder.paints.size(), 1U) << "nothing else repainted";

    QWidget* top = Host().Widget();
    EXPECT_EQ(top->childAt(QPoint(25, 25)), layer) << "the layer takes the pointer over its keys";
    QTest::mouseClick(layer, Qt::LeftButton, {}, QPoint(70, 20) - layer->pos());
    Pump();
    EXPECT_EQ(Clicks("key_1"), 1);
    EXPECT_EQ(Clicks("key_0"), 0);
    // Dragged off its key, or with the other button, a press clicks nothing; beside the keys neither.
    QTest::mousePress(layer, Qt::LeftButton, {}, QPoint(20, 20) - layer->pos());
    QTest::mouseRelease(layer, Qt::LeftButton, {}, QPoint(70, 20) - layer->pos());
    QTest::mouseClick(layer, Qt::RightButton, {}, QPoint(20, 20) - layer->pos());
    QTest::mouseClick(layer, Qt::LeftButton, {}, QPoint(50, 20) - layer->pos());
    Pump();
    EXPECT_EQ(Clicks("key_0"), 0);
    EXPECT_EQ(Clicks("key_1"), 1);
    // A disabled key takes no click.
    Control("key_0")->SetEnabled(false);
    Pump();
    QTest::mouseClick(layer, Qt::LeftButton, {}, QPoint(20, 20) - layer->pos());
    Pump();
    EXPECT_EQ(Clicks("key_0"), 0);
}

TEST_F(LayeredKeys, TheHoveredKeyIsRepaintedAloneAndShowsItsHover) {
    auto* first = qobject_cast<CLightWidget*>(Renderer().WidgetFor(Control("key_0")));
    ASSERT_NE(first, nullptr);
    CLightLayerWidget* layer = first->Layer();
    Pump();
    const QPoint middle(25, 25);
    const QColor before = Shown(middle);
    QTest::mouseMove(layer, QPoint(50, 25) - layer->pos());  // the pointer comes in beside the keys
    Pump();
    PaintRecorder recorder(*Host().Widget());
    QTest::mouseMove(layer, middle - layer->pos());
    Pump();
    EXPECT_TRUE(first->IsHovered());
    EXPECT_EQ(layer->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE((recorder.painted - QRegion(10, 10, 30, 30)).isEmpty()) << "repainted beyond the hovered key";
    EXPECT_NE(Shown(middle), before) << "the hover does not show";
    QTest::mouseMove(layer, QPoint(50, 25) - layer->pos());
    Pump();
    EXPECT_FALSE(first->IsHovered());
    EXPECT_EQ(Shown(middle), before);
}

TEST_F(RendererState, AShowStateNeverShowsAHiddenWindow) {
    test::RecordingWindow& window = Open(R"(<Window size="200,100"><Label name="l"/></Window>)");
    QWidget* widget = Host().Widget();
    ASSERT_TRUE(widget->isVisible());
    window.ShowWindow(false, false);
    Pump();
    for (const WPARAM state : {SC_RESTORE, SC_MAXIMIZE, SC_MINIMIZE, SC_RESTORE}) {
        window.SendMessage(WM_SYSCOMMAND, state, 0);
        Pump();
        EXPECT_FALSE(widget->isVisible()) << state;
    }
    window.ShowWindow(true, true);
    Pump();
    EXPECT_TRUE(widget->isVisible());
    EXPECT_FALSE(widget->isMinimized());
    window.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Pump();
    EXPECT_TRUE(widget->isMinimized());
}

TEST_F(RendererState, WidgetsSitAtTheComputedRectangles) {
    for (const char* name : {"lbl", "btn", "opt_b", "combo", "slider", "edit", "tabs", "page_0", "row_0"}) {
        CControlUI* control = Control(name);
        QWidget* w = Renderer().WidgetFor(control);
        ASSERT_NE(w, nullptr) << name;
        const UiRect& rc = control->GetPos();
        const QPoint inWindow = w->mapTo(Host().Widget(), QPoint(0, 0));
        EXPECT_EQ(QRect(inWindow, w->size()), QRect(rc.left, rc.top, rc.GetWidth(), rc.GetHeight())) << name;
    }
    EXPECT_EQ(Control("lbl")->GetPos(), (UiRect{10, 10, 90, 40}));

    // The system resizes the window: the core lays out again, "windowsize" comes, widgets follow.
    m_window->seen.clear();
    Host().Widget()->resize(400, 300);
    Pump();
    EXPECT_EQ(m_window->Of("windowsize").size(), 1u);
    EXPECT_EQ(m_window->GetWindowRect().GetWidth(), 400);
    EXPECT_EQ(Renderer().WidgetFor(Control("combo"))->width(), 400 - 20);
}

TEST_F(RendererState, ChildrenAddedAndRemovedGetAndLoseWidgets) {
    auto* list = static_cast<CListUI*>(Control("list"));
    const std::size_t before = Renderer().WidgetCount();
    auto* row = new CListLabelElementUI;
    row->SetName("row_1");
    row->SetText("one");
    ASSERT_TRUE(list->Add(row));
    m_window->GetPaintManager()->UpdateLayout();
    QWidget* w = Renderer().WidgetFor(row);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Renderer().WidgetCount(), before + 1);
    EXPECT_FALSE(w->isHidden());
    EXPECT_EQ(w->parentWidget(), Renderer().WidgetFor(list));

    QPointer<QWidget> gone = w;
    ASSERT_TRUE(list->Remove(row));
    EXPECT_EQ(Renderer().WidgetCount(), before);
    Pump();
    EXPECT_TRUE(gone.isNull());
}

TEST_F(RendererState, ListRowsShowEveryColumn) {
    auto* row = new CListTextElementUI;
    row->SetText(0, "Key down");
    row->SetText(1, "A");
    row->SetText(2, "20 ms");
    ASSERT_TRUE(static_cast<CListUI*>(Control("list"))->Add(row));
    auto* w = qobject_cast<CPaintedControlWidget*>(Renderer().WidgetFor(row));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Look().columns, (QStringList{"Key down", "A", "20 ms"}));
    row->SetText(1, "B");
    EXPECT_EQ(w->Look().columns, (QStringList{"Key down", "B", "20 ms"}));
}

TEST_F(RendererState, ScreenshotShowsControlsAtTheirPlaces) {
    const QImage shot = Host().Widget()->grab().toImage();
    ASSERT_EQ(shot.size(), QSize(300, 260));
    EXPECT_EQ(shot.pixelColor(50, 25), QColor(0x00, 0xC0, 0x00));  // the label's background
    EXPECT_EQ(shot.pixelColor(3, 3), QColor(0x20, 0x20, 0x20));    // the root's background
    const QString file = QString::fromStdString((m_dir / "shot.png").string());
    ASSERT_TRUE(shot.save(file));
    EXPECT_EQ(QImage(file).size(), QSize(300, 260));
}

}  // namespace
}  // namespace zevik

namespace zevik {
namespace {

class RendererSkinAssets : public test::UiWindowFixture {};

TEST_F(RendererSkinAssets, ImageButtonsShowTheirStateImagesFromTheSkinFolder) {
    QImage strip(20, 10, QImage::Format_RGB32);
    strip.fill(Qt::red);
    for (int y = 0; y < 10; ++y) {
        for (int x = 10; x < 20; ++x) {
            strip.setPixelColor(x, y, Qt::blue);
        }
    }
    std::filesystem::create_directories(m_dir / "img");
    ASSERT_TRUE(strip.save(QString::fromStdString((m_dir / "img" / "btn.png").string())));
    Open(R"(<Window size="100,40"><HorizontalLayout name="root">
      <Button name="imgbtn" width="40" normalimage="file='img/btn.png' source='0,0,10,10'"
              hotimage="file='img/btn.png' source='10,0,20,10'"/>
      <Button name="missing" width="40" normalimage="file='img/none.png'"/>
    </HorizontalLayout></Window>)");
    auto& button = Get<CPaintedControlWidget>("imgbtn");
    EXPECT_TRUE(button.IsInteractive());
    ASSERT_EQ(button.Look().normalImage.size(), QSize(10, 10));
    EXPECT_EQ(button.Look().normalImage.toImage().pixelColor(5, 5), QColor(Qt::red));
    EXPECT_EQ(button.Look().hotImage.toImage().pixelColor(5, 5), QColor(Qt::blue));
    // The normal image fills the button in the window's picture.
    EXPECT_EQ(Host().Widget()->grab().toImage().pixelColor(20, 20), QColor(Qt::red));
    // A missing file leaves the button without image, still clickable.
    auto& missing = Get<CPaintedControlWidget>("missing");
    EXPECT_TRUE(missing.Look().normalImage.isNull());
    m_window->seen.clear();
    QTest::mouseClick(&missing, Qt::LeftButton);
    EXPECT_EQ(m_window->Of("click").size(), 1u);
}

TEST_F(RendererSkinAssets, DpiChangeScalesFontsAndGeometry) {
    Open(R"(<Window size="200,100"><Font id="1" name="DejaVu Sans" size="12"/>
      <VerticalLayout name="root"><Label name="lbl" text="Scaled" font="1" height="30"/>
      <Button name="btn" text="Go" font="1" height="30"/></VerticalLayout></Window>)");
    auto& label = Get<CPaintedControlWidget>("lbl");
    EXPECT_EQ(label.Look().font.pixelSize(), 12);
    EXPECT_EQ(label.height(), 30);
    // Standard widgets take the skin's font too (the theme's style sheet sets no font).
    EXPECT_EQ(Get<QPushButton>("btn").font().pixelSize(), 12);
    EXPECT_EQ(Get<QPushButton>("btn").fontInfo().pixelSize(), 12);
    ASSERT_TRUE(m_window->GetPaintManager()->SetDPI(192));
    Pump();
    EXPECT_EQ(label.Look().font.pixelSize(), 24);
    EXPECT_EQ(label.height(), 60);
    EXPECT_EQ(Get<QPushButton>("btn").font().pixelSize(), 24);
    EXPECT_EQ(Host().Widget()->width(), 400);
}

TEST_F(RendererSkinAssets, AFontTableChangeReachesTheShownWidgetsAndTheirWidths) {
    Open(R"(<Window size="300,60"><Font id="1" name="DejaVu Sans" size="12"/>
      <HorizontalLayout name="root"><Label name="lbl" text="Wider" font="1" autocalcwidth="true" height="30"/>
      <Button name="btn" text="Go" width="80" height="30"/><Control/></HorizontalLayout></Window>)");
    auto& label = Get<CPaintedControlWidget>("lbl");
    const int narrow = label.width();
    CPaintManagerUI& pm = *m_window->GetPaintManager();
    pm.RemoveAllFonts();
    TFontInfo font;
    font.sFontName = "DejaVu Sans";
    font.iSize = 20;
    pm.SetDefaultFont(font);
    font.iSize = 24;
    font.bBold = true;
    pm.AddFont(1, font);
    Pump();
    EXPECT_EQ(label.Look().font.pixelSize(), 24);
    EXPECT_TRUE(label.Look().font.bold());
    EXPECT_GT(label.width(), narrow) << "laid out again for the wider font";
    // A control without a font of its own follows the new default.
    EXPECT_EQ(Get<QPushButton>("btn").font().pixelSize(), 20);
}

}  // namespace
}  // namespace zevik

namespace zevik {
namespace {

class RendererLanguage : public test::UiWindowFixture {
protected:
    ~RendererLanguage() override { CResourceManager::GetInstance()->Release(); }
};

TEST_F(RendererLanguage, SwitchingLanguageReResolvesEveryShownText) {
    CResourceManager& texts = *CResourceManager::GetInstance();
    texts.SetLanguage("English");
    texts.SetText("title_key", "Lighting");
    texts.SetText("item_key", "Static");
    texts.SetLanguage("Deutsch");
    texts.SetText("title_key", "Beleuchtung");
    texts.SetText("item_key", "Statisch");
    texts.SetLanguage("English");
    Open(R"(<Window size="200,80"><VerticalLayout name="root">
      <Label name="title" text="title_key" height="30"/>
      <Button name="btn" text="title_key" height="20"/>
      <Combo name="combo" height="24"><ListLabelElement text="item_key" selected="true"/></Combo>
    </VerticalLayout></Window>)");
    EXPECT_EQ(Get<CPaintedControlWidget>("title").Look().text, QStringLiteral("Lighting"));
    EXPECT_EQ(Get<QPushButton>("btn").text(), QStringLiteral("Lighting"));
    EXPECT_EQ(Get<QComboBox>("combo").itemText(0), QStringLiteral("Static"));

    texts.SetLanguage("Deutsch");
    EXPECT_EQ(Get<CPaintedControlWidget>("title").Look().text, QStringLiteral("Beleuchtung"));
    EXPECT_EQ(Get<QPushButton>("btn").text(), QStringLiteral("Beleuchtung"));
    EXPECT_EQ(Get<QComboBox>("combo").itemText(0), QStringLiteral("Statisch"));
    EXPECT_EQ(Get<QComboBox>("combo").currentIndex(), 0);
}

}  // namespace
}  // namespace zevik
