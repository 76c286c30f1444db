// Fitting the main window to its monitor: the DPI chosen from the monitor's physical size, the paint
// managers' DPI under the renderer's device-pixel ratio, the window's size and its visibility.

#include "shell/window_fit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "ui/plain_message_loop.h"
#include "ui/ui_backend.h"
#include "ui/window_impl_base.h"

namespace zevik {

inline void PrintTo(const UiRect& rc, std::ostream* os) {
    *os << "{" << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom << "}";
}

namespace {

// The skin's minimum is the layout itself, as the main window's is.
constexpr const char* kSkin = R"(<Window size="1000,640" mininfo="1000,640">
  <VerticalLayout name="root"><Label name="caption" height="40"/></VerticalLayout></Window>)";

class FitWnd : public WindowImplBase {
public:
    std::string GetSkinFile() override { return "fit.xml"; }
    LRESULT HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& bHandled) override {
        if (msg == WM_SYSCOMMAND) sysCommands.push_back(wParam);
        if (msg == WM_SIZE && onSize) onSize();
        return WindowImplBase::HandleCustomMessage(msg, wParam, lParam, bHandled);
    }
    std::vector<WPARAM> sysCommands;
    std::function<void()> onSize;
};

class WindowFitTest : public ::testing::Test {
protected:
    static constexpr UINT kVisible = 0x10000000;

    WindowFitTest() {
        m_dir = std::filesystem::temp_directory_path() /
                ("zevik_fit_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::filesystem::create_directories(m_dir);
        std::ofstream(m_dir / "fit.xml") << kSkin;
        m_previousPath = CPaintManagerUI::GetResourcePath();
        CPaintManagerUI::SetResourcePath(m_dir.string());
        SetUiBackend(&backend);
    }
    ~WindowFitTest() override {
        window.DestroyWindow();
        other.DestroyWindow();
        SetUiBackend(nullptr);
        CPaintManagerUI::SetResourcePath(m_previousPath);
        std::filesystem::remove_all(m_dir);
    }

    void Open(FitWnd& wnd, UINT style) {
        ASSERT_NE(wnd.Create(0, "fit", style, 0), 0u) << wnd.GetSkinError();
    }

    CPlainMessageLoop loop;
    CHeadlessBackend backend;
    FitWnd window;
    FitWnd other;  // another open window: its manager follows too

private:
    std::filesystem::path m_dir;
    std::string m_previousPath;
};

struct MonitorCase {
    const char* name;
    MonitorInfo monitor;
    int chosen;
    int managers;
    UiSize size;  // the window, in the renderer's device-independent pixels
};

std::ostream& operator<<(std::ostream& os, const MonitorCase& c) {
    return os << c.name;
}

class WindowFitMonitors : public WindowFitTest, public ::testing::WithParamInterface<MonitorCase> {};

TEST_P(WindowFitMonitors, ChoosesTheDpiAndSizesTheWindow) {
    const MonitorCase& c = GetParam();
    Open(window, kVisible);
    Open(other, 0);
    // Start away from both answers: the fit sets every manager to 96 first.
    CPaintManagerUI::SetAllDPI(120);
    backend.SetMonitorInfo(c.monitor);

    EXPECT_EQ(FitWindowToMonitor(window), c.chosen);
    EXPECT_EQ(window.GetPaintManager()->GetDPIObj().GetDPI(), c.managers);
    EXPECT_EQ(other.GetPaintManager()->GetDPIObj().GetDPI(), c.managers);
    const UiRect rc = window.GetWindowRect();
    EXPECT_EQ((UiSize{rc.GetWidth(), rc.GetHeight()}), c.size);
    EXPECT_EQ(window.GetPaintManager()->GetRoot()->GetPos(), (UiRect{0, 0, c.size.cx, c.size.cy}));
    // Centred on the 1920 x 1080 work area.
    EXPECT_EQ(rc.left, (1920 - c.size.cx) / 2);
    EXPECT_EQ(rc.top, (1080 - c.size.cy) / 2);
    // Physical size: the layout at the chosen DPI, whatever the ratio (within the rounding of the
    // managers' DPI to whole numbers).
    const double width = 1000.0 * c.chosen / 96;
    const double height = 640.0 * c.chosen / 96;
    EXPECT_NEAR(rc.GetWidth() * c.monitor.devicePixelRatio, width, width * 0.005);
    EXPECT_NEAR(rc.GetHeight() * c.monitor.devicePixelRatio, height, height * 0.005);
    EXPECT_TRUE(window.IsWindowVisible());
    EXPECT_TRUE(window.sysCommands.empty()) << "a visible window is not restored";
}

INSTANTIATE_TEST_SUITE_P(
    Table, WindowFitMonitors,
    ::testing::Values(MonitorCase{"FullHd", {{0, 0, 1920, 1080}, 1.0}, 144, 144, {1500, 960}},
                      MonitorCase{"UhdAtRatio2", {{0, 0, 3840, 2160}, 2.0}, 144, 72, {750, 480}},
                      MonitorCase{"QhdAtRatio1_5", {{0, 0, 2560, 1440}, 1.5}, 144, 96, {1000, 640}},
                      // 115 DPI: the size is the layout's own rounding, not the managers' truncation.
                      MonitorCase{"FullHdAtRatio1_25", {{0, 0, 1920, 1080}, 1.25}, 144, 115, {1198, 767}},
                      MonitorCase{"Small", {{0, 0, 1366, 768}, 1.0}, 96, 96, {1000, 640}},
                      MonitorCase{"SmallAtRatio2", {{0, 0, 1366, 768}, 2.0}, 96, 48, {500, 320}},
                      MonitorCase{"WidthAtLimit", {{0, 0, 1500, 961}, 1.0}, 96, 96, {1000, 640}},
                      MonitorCase{"HeightAtLimit", {{0, 0, 1501, 960}, 1.0}, 96, 96, {1000, 640}},
                      MonitorCase{"JustLarger", {{0, 0, 1501, 961}, 1.0}, 144, 144, {1500, 960}},
                      // A second monitor right of the first: only its size counts.
                      MonitorCase{"SecondMonitor", {{1920, 0, 3840, 1080}, 1.0}, 144, 144, {1500, 960}}),
    [](const ::testing::TestParamInfo<MonitorCase>& param) { return std::string(param.param.name); });

TEST_F(WindowFitTest, AHiddenWindowIsRestoredAndStaysHidden) {
    Open(window, 0);
    window.SetShowState(SC_MAXIMIZE);
    EXPECT_EQ(FitWindowToMonitor(window), 144);
    EXPECT_EQ(window.sysCommands, (std::vector<WPARAM>{SC_RESTORE}));
    EXPECT_FALSE(window.IsMaximized());
    EXPECT_FALSE(window.IsWindowVisible());
    EXPECT_EQ(window.GetWindowRect().GetWidth(), 1500);
}

TEST_F(WindowFitTest, AMinimisedWindowIsRestoredAndHidden) {
    // Minimised counts as not visible: the window is restored, then hidden; the tray brings it back.
    Open(window, kVisible);
    window.SetShowState(SC_MINIMIZE);
    FitWindowToMonitor(window);
    EXPECT_EQ(window.sysCommands, (std::vector<WPARAM>{SC_RESTORE}));
    EXPECT_FALSE(window.IsMinimized());
    EXPECT_FALSE(window.IsWindowVisible());
}

TEST_F(WindowFitTest, AFitAskedForWhileFittingChangesNothing) {
    // The main window fits again on a size notification after a display change; the fit's own
    // resizing raises those.
    Open(window, kVisible);
    backend.SetMonitorInfo(MonitorInfo{{0, 0, 3840, 2160}, 2.0});
    std::vector<int> nested;
    window.onSize = [&] { nested.push_back(FitWindowToMonitor(window)); };
    EXPECT_EQ(FitWindowToMonitor(window), 144);
    EXPECT_FALSE(nested.empty());
    EXPECT_EQ(nested, std::vector<int>(nested.size(), 144));
    EXPECT_EQ(window.GetPaintManager()->GetDPIObj().GetDPI(), 72);
    EXPECT_EQ(window.GetWindowRect(), (UiRect{585, 300, 1335, 780}));
}

TEST_F(WindowFitTest, AWindowThatDoesNotExistIsLeftAlone) {
    FitWnd never;
    EXPECT_EQ(FitWindowToMonitor(never), 0);
    EXPECT_EQ(never.GetPaintManager()->GetDPIObj().GetDPI(), 96);
}

}  // namespace
}  // namespace zevik
