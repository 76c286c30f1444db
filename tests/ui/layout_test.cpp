// Geometry computed from the skin's attributes, and hit tests on it.

#include <memory>

#include "ui/dialog_builder.h"
#include "ui/label_ui.h"
#include "ui/tab_layout_ui.h"
#include "ui/ui_backend.h"
#include "ui_test_support.h"

namespace zevik {
namespace {

struct LayoutCase {
    const char* name;
    const char* skin;      // root fills a 200 x 100 client area
    std::vector<std::pair<const char*, UiRect>> want;
};

class LayoutTest : public test::UiTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(LayoutTest, Geometry) {
    CPaintManagerUI pm;
    CDialogBuilder builder;
    CControlUI* root = builder.CreateFromString(GetParam().skin, nullptr, &pm);
    ASSERT_NE(root, nullptr) << builder.GetLastError();
    pm.AttachDialog(root);
    pm.SetClientSize(UiSize{200, 100});
    for (const auto& [name, rc] : GetParam().want) {
        CControlUI* control = pm.FindControl(name);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(control->GetPos(), rc) << name;
    }
}

std::string CaseName(const ::testing::TestParamInfo<LayoutCase>& info) { return info.param.name; }

const LayoutCase kLayoutCases[] = {
    {"HorizontalFixedAndStretch",
     R"(<HorizontalLayout><Control name="a" width="50"/><Control name="b"/><Control name="c" width="30"/></HorizontalLayout>)",
     {{"a", {0, 0, 50, 100}}, {"b", {50, 0, 170, 100}}, {"c", {170, 0, 200, 100}}}},
    {"StretchSharesEquallyWithLeftoverPixelsFirst",
     R"(<HorizontalLayout><Control name="a"/><Control name="b"/><Control name="c"/></HorizontalLayout>)",
     {{"a", {0, 0, 67, 100}}, {"b", {67, 0, 134, 100}}, {"c", {134, 0, 200, 100}}}},
    {"VerticalWithInsetChildPaddingAndPadding",
     R"(<VerticalLayout inset="10,5,10,5" childpadding="4">
          <Control name="a" height="20"/><Control name="b" padding="3,2,3,2"/><Control name="c" height="10" width="40"/>
        </VerticalLayout>)",
     {{"a", {10, 5, 190, 25}}, {"b", {13, 31, 187, 79}}, {"c", {10, 85, 50, 95}}}},
    {"MinAndMaxBendTheShare",
     R"(<HorizontalLayout><Control name="a" maxwidth="40"/><Control name="b"/><Control name="c" minwidth="90"/></HorizontalLayout>)",
     {{"a", {0, 0, 40, 100}}, {"b", {40, 0, 110, 100}}, {"c", {110, 0, 200, 100}}}},
    {"HiddenChildrenTakeNoSpace",
     R"(<HorizontalLayout><Control name="a" visible="false" width="80"/><Control name="b"/></HorizontalLayout>)",
     {{"b", {0, 0, 200, 100}}}},
    {"FloatUsesPosRelativeToTheParent",
     R"(<VerticalLayout><Control name="a" height="30"/>
          <VerticalLayout name="box" inset="7,7,7,7"><Control name="f" float="true" pos="5,6,25,16"/><Control name="g"/></VerticalLayout>
        </VerticalLayout>)",
     {{"box", {0, 30, 200, 100}}, {"f", {5, 36, 25, 46}}, {"g", {7, 37, 193, 93}}}},
    {"TabGivesTheSelectedPageEverything",
     R"(<TabLayout inset="2,2,2,2" selectedid="1"><Control name="p0"/><Control name="p1"/></TabLayout>)",
     {{"p1", {2, 2, 198, 98}}}},
    {"FixedSizesThatDoNotFitOverflow",
     R"(<HorizontalLayout><Control name="a" width="150"/><Control name="b" width="150"/><Control name="c"/></HorizontalLayout>)",
     {{"a", {0, 0, 150, 100}}, {"b", {150, 0, 300, 100}}, {"c", {300, 0, 300, 100}}}},
    // Headless estimate at the 12 px fallback font: 3/5 of the size per Latin letter, the whole size
    // per ideograph, rounded up.
    {"AutoWidthIsTheEstimatedTextPlusTextPaddingWithinMaxWidth",
     R"(<HorizontalLayout><Label name="a" text="Perf" autocalcwidth="true" textpadding="3,0,5,0" width="90"/>
          <Control name="b"/><Button name="c" text="漢字" autocalcwidth="true"/><Option name="d" text="漢字" autocalcwidth="true" maxwidth="20"/>
        </HorizontalLayout>)",
     {{"a", {0, 0, 37, 100}},
      {"b", {37, 0, 156, 100}},
      {"c", {156, 0, 180, 100}},
      {"d", {180, 0, 200, 100}}}},
};

INSTANTIATE_TEST_SUITE_P(Skins, LayoutTest, ::testing::ValuesIn(kLayoutCases), CaseName);

class GeometryTest : public test::UiTest {
protected:
    void Build(const char* xml, UiSize size) {
        CDialogBuilder builder;
        CControlUI* root = builder.CreateFromString(xml, nullptr, &pm);
        ASSERT_NE(root, nullptr) << builder.GetLastError();
        pm.AttachDialog(root);
        pm.SetClientSize(size);
    }
    CPaintManagerUI pm;
};

TEST_F(GeometryTest, DpiScalesEveryLength) {
    Build(R"(<HorizontalLayout inset="10,10,10,10" childpadding="5"><Control name="a" width="50"/><Control name="b"/></HorizontalLayout>)",
          UiSize{300, 150});
    ASSERT_TRUE(pm.SetDPI(144));
    EXPECT_EQ(pm.GetDPIObj().GetScale(), 150);
    EXPECT_EQ(pm.Scale(50), 75);
    EXPECT_EQ(pm.FindControl("a")->GetPos(), (UiRect{15, 15, 90, 135}));
    EXPECT_EQ(pm.FindControl("b")->GetPos(), (UiRect{98, 15, 285, 135}));
    EXPECT_FALSE(pm.SetDPI(0));
    EXPECT_EQ(pm.GetDPIObj().GetDPI(), 144);
}

TEST_F(GeometryTest, SetAllDpiReachesEveryManager) {
    CPaintManagerUI other;
    CPaintManagerUI::SetAllDPI(120);
    EXPECT_EQ(pm.GetDPIObj().GetDPI(), 120);
    EXPECT_EQ(other.GetDPIObj().GetDPI(), 120);
    EXPECT_EQ(other.Scale(13), 16);
}

TEST_F(GeometryTest, HitTestFindsTheTopmostVisibleControl) {
    Build(R"(<VerticalLayout name="root">
          <HorizontalLayout name="row" height="50">
            <Button name="left" width="100"/>
            <Label name="passive" mouse="false"/>
          </HorizontalLayout>
          <TabLayout name="tabs"><Button name="page0"/><Button name="page1"/></TabLayout>
          <HorizontalLayout name="sealed" mousechild="false" height="0"/>
          <Control name="over" float="true" pos="90,10,110,30"/>
        </VerticalLayout>)",
          UiSize{200, 100});
    struct Case {
        UiPoint pt;
        const char* want;
    };
    const Case cases[] = {
        {{10, 10}, "left"},
        {{150, 10}, "row"},    // the label lets the mouse through to its parent
        {{95, 20}, "over"},    // a floating control lies above the flow
        {{50, 70}, "page0"},   // the hidden page is not hit
        {{250, 50}, nullptr},  // outside the window
    };
    for (const Case& c : cases) {
        CControlUI* hit = pm.FindControl(c.pt);
        if (c.want == nullptr) {
            EXPECT_EQ(hit, nullptr);
        } else {
            ASSERT_NE(hit, nullptr) << c.want;
            EXPECT_EQ(hit->GetName(), c.want);
        }
    }
    dynamic_cast<CTabLayoutUI*>(pm.FindControl("tabs"))->SelectItem(1);
    pm.UpdateLayout();
    EXPECT_EQ(pm.FindControl(UiPoint{50, 70})->GetName(), "page1");
}

TEST_F(GeometryTest, LayoutFollowsChangesThroughTheLoop) {
    Build(R"(<HorizontalLayout><Control name="a" width="50"/><Control name="b"/></HorizontalLayout>)", UiSize{200, 100});
    pm.FindControl("a")->SetFixedWidth(120);
    EXPECT_TRUE(pm.IsUpdateNeeded());
    loop.ProcessPending();
    EXPECT_FALSE(pm.IsUpdateNeeded());
    EXPECT_EQ(pm.FindControl("b")->GetPos(), (UiRect{120, 0, 200, 100}));
}

// Measures every character as 10 pixels, so the test can tell the backend's measure from the estimate.
class TenPixelBackend final : public IUiBackend {
public:
    std::unique_ptr<IWindowHost> CreateWindowHost(CWindowWnd& w) override {
        return m_shown.CreateWindowHost(w);
    }
    std::unique_ptr<ITrayHost> CreateTrayHost(CTrayIcon& t) override { return m_shown.CreateTrayHost(t); }
    std::unique_ptr<IMenuHost> CreateMenuHost(CMenuWnd& m) override { return m_shown.CreateMenuHost(m); }
    UiRect GetWorkArea() const override { return m_shown.GetWorkArea(); }
    UiPoint GetCursorPos() const override { return m_shown.GetCursorPos(); }
    int MeasureTextWidth(const CControlUI&, std::string_view text) const override {
        return static_cast<int>(text.size()) * 10;
    }

private:
    CHeadlessBackend m_shown;
};

TEST_F(GeometryTest, AutoWidthFollowsTextLanguageAndTheBackendsMeasure) {
    TenPixelBackend backend;
    SetUiBackend(&backend);
    Build(
        R"(<HorizontalLayout><Button name="a" text="key" autocalcwidth="true" textpadding="2,0,2,0"/><Control name="b"/></HorizontalLayout>)",
        UiSize{200, 100});
    EXPECT_EQ(pm.FindControl("a")->GetPos(), (UiRect{0, 0, 34, 100}));

    CResourceManager::GetInstance()->SetText("key", "longer");  // the key gets a text in the language
    CResourceManager::GetInstance()->ReloadText();
    EXPECT_TRUE(pm.IsUpdateNeeded());
    loop.ProcessPending();
    EXPECT_EQ(pm.FindControl("a")->GetPos(), (UiRect{0, 0, 64, 100}));

    pm.FindControl("a")->SetText("ab");
    loop.ProcessPending();
    EXPECT_EQ(pm.FindControl("b")->GetPos(), (UiRect{24, 0, 200, 100}));

    dynamic_cast<CLabelUI*>(pm.FindControl("a"))->SetAutoCalcWidth(false);
    loop.ProcessPending();
    EXPECT_EQ(pm.FindControl("b")->GetPos(), (UiRect{100, 0, 200, 100})) << "without auto width both stretch";
    SetUiBackend(nullptr);
}

}  // namespace
}  // namespace zevik
