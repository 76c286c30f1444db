// The main window's fit on the Qt renderer: the widget and its contents follow the managers' DPI, and
// the widget's size in physical pixels is the layout at the chosen DPI whatever the screen's
// device-pixel ratio. The plain run has the offscreen platform's small screen at ratio 1; further test
// entries run this suite on other screens and give the expected DPIs in ZEVIK_FIT_EXPECT
// ("chosen,managers").

#include "shell/window_fit.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QList>

#include "ui/qt/painted_control_widget.h"
#include "ui_window_fixture.h"

namespace zevik {
namespace {

class QtWindowFit : public test::UiWindowFixture {};

TEST_F(QtWindowFit, TheWidgetFollowsTheManagersDpi) {
    int chosen = 96;
    int managers = 96;
    if (const QByteArray expect = qgetenv("ZEVIK_FIT_EXPECT"); !expect.isEmpty()) {
        const QList<QByteArray> parts = expect.split(',');
        ASSERT_EQ(parts.size(), 2) << expect.constData();
        chosen = parts[0].toInt();
        managers = parts[1].toInt();
    }
    Open(R"(<Window size="1000,640" mininfo="1000,640"><Font id="1" name="DejaVu Sans" size="12"/>
      <VerticalLayout name="root"><Label name="caption" text="Fit" font="1" height="40"/>
      </VerticalLayout></Window>)");
    // From a scale that is neither answer, shown there: the skin's minimum at that scale is larger than
    // any fit.
    ASSERT_TRUE(m_window->GetPaintManager()->SetDPI(192));
    m_window->ShowWindow(true);
    Pump();
    ASSERT_EQ(Host().Widget()->minimumSize(), QSize(2000, 1280));
    ASSERT_EQ(Host().Widget()->size(), QSize(2000, 1280));

    EXPECT_EQ(FitWindowToMonitor(*m_window), chosen);
    Pump();
    EXPECT_EQ(m_window->GetPaintManager()->GetDPIObj().GetDPI(), managers);
    CDPI scale;
    scale.SetDPI(managers);
    QWidget& widget = *Host().Widget();
    EXPECT_TRUE(widget.isVisible());
    EXPECT_EQ(widget.size(), QSize(scale.Scale(1000), scale.Scale(640)));
    const double ratio = widget.devicePixelRatioF();
    EXPECT_NEAR(widget.width() * ratio, 1000.0 * chosen / 96, 1.0);
    EXPECT_NEAR(widget.height() * ratio, 640.0 * chosen / 96, 1.0);
    const UiRect rc = m_window->GetWindowRect();
    EXPECT_EQ(widget.geometry(), QRect(rc.left, rc.top, rc.GetWidth(), rc.GetHeight()))
        << "the core keeps the widget's geometry";
    auto& caption = Get<CPaintedControlWidget>("caption");
    EXPECT_EQ(caption.size(), QSize(scale.Scale(1000), scale.Scale(40)));
    EXPECT_EQ(caption.Look().font.pixelSize(), scale.Scale(12));
}

}  // namespace
}  // namespace zevik
