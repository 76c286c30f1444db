// Windows built from skins: creation, notifications, modal runs, timers, menus and the tray icon.

#include <algorithm>
#include <future>
#include <thread>

#include "ui/button_ui.h"
#include "ui/menu_wnd.h"
#include "ui/tray_icon.h"
#include "ui/window_impl_base.h"
#include "ui_test_support.h"

namespace zevik {
namespace {

using namespace std::chrono_literals;

class DialogWnd : public WindowImplBase {
public:
    explicit DialogWnd(std::string skin = "XML_DIALOG") : m_skin(std::move(skin)) {}
    std::string_view GetWindowClassName() const override { return "MsgWnd"; }
    std::string GetSkinFile() override { return m_skin; }
    void InitWindow() override { initialised = true; }
    void Notify(TNotifyUI& msg) override {
        notified.push_back(msg.sType + ":" + (msg.pSender ? msg.pSender->GetName() : ""));
        if (msg.sType == "click" && msg.pSender->GetName() == "confirm_btn") Close(1);
        if (msg.sType == "click" && msg.pSender->GetName() == "cancel_btn") Close(0);
        WindowImplBase::Notify(msg);
    }
    LRESULT HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& bHandled) override {
        if (msg == WM_MENUCLICK) {
            auto* cmd = reinterpret_cast<MenuCmd*>(wParam);
            menuCommands.push_back(cmd->szName + "/" + cmd->szUserData);
            bHandled = true;
        } else if (msg >= WM_USER) {
            custom.emplace_back(msg, lParam);
            bHandled = true;
        }
        return 0;
    }
    void OnTimer(UINT_PTR id) override { timers.push_back(id); }
    void Click(const char* name) {
        if (auto* button = dynamic_cast<CButtonUI*>(m_pm.FindControl(name))) button->Activate();
    }

    bool initialised = false;
    std::vector<std::string> notified;
    std::vector<std::string> menuCommands;
    std::vector<std::pair<UINT, LPARAM>> custom;
    std::vector<UINT_PTR> timers;

private:
    std::string m_skin;
};

class WindowTest : public test::UiTest {
protected:
    WindowTest() { CResourceManager::GetInstance()->LoadResource("res.xml"); }
};

TEST_F(WindowTest, CreateBuildsTheSkinAndSizesTheWindow) {
    DialogWnd wnd;
    ASSERT_NE(wnd.Create(0, "msgwnd", 0, 0, 0, 0, 50, 50), 0u) << wnd.GetSkinError();
    EXPECT_TRUE(wnd.initialised);
    EXPECT_FALSE(wnd.IsWindowVisible());
    EXPECT_EQ(wnd.GetWindowRect(), (UiRect{0, 0, 200, 100})) << "the skin's size wins";
    CPaintManagerUI* pm = wnd.GetPaintManager();
    EXPECT_EQ(pm->GetRoot()->GetPos(), (UiRect{0, 0, 200, 100}));
    loop.ProcessPending();
    EXPECT_EQ(std::count(wnd.notified.begin(), wnd.notified.end(), "windowinit:root"), 1);

    wnd.CenterWindow();
    EXPECT_EQ(wnd.GetWindowRect(), (UiRect{860, 490, 1060, 590}));
    wnd.DestroyWindow();
    EXPECT_EQ(wnd.GetHWND(), 0u);
}

// A backend whose window host checks, when it goes, that the manager it shows is still whole.
class CheckingBackend : public IUiBackend {
public:
    struct Host : IWindowHost {
        CWindowWnd* window = nullptr;
        bool* managerWholeAtEnd = nullptr;
        ~Host() override { *managerWholeAtEnd = window->GetPaintManager()->GetRoot() != nullptr; }
        void Show(bool, bool) override {}
        void SetWindowRect(const UiRect&) override {}
        void SetTitle(std::string_view) override {}
        void SetIcon(UINT) override {}
        void SetModal(bool) override {}
        void BringToFront() override {}
        void Invalidate() override {}
    };
    std::unique_ptr<IWindowHost> CreateWindowHost(CWindowWnd& window) override {
        auto host = std::make_unique<Host>();
        host->window = &window;
        host->managerWholeAtEnd = &managerWholeAtEnd;
        return host;
    }
    std::unique_ptr<ITrayHost> CreateTrayHost(CTrayIcon& tray) override { return m_headless.CreateTrayHost(tray); }
    std::unique_ptr<IMenuHost> CreateMenuHost(CMenuWnd& menu) override { return m_headless.CreateMenuHost(menu); }
    UiRect GetWorkArea() const override { return m_headless.GetWorkArea(); }
    UiPoint GetCursorPos() const override { return {}; }
    bool managerWholeAtEnd = false;

private:
    CHeadlessBackend m_headless;
};

TEST_F(WindowTest, AWindowDroppedWhileOpenReleasesItsHostFirst) {
    CheckingBackend backend;
    SetUiBackend(&backend);
    HWND handle = 0;
    {
        DialogWnd wnd;
        handle = wnd.Create(0, "msgwnd", 0, 0);
        ASSERT_NE(handle, 0u);
    }
    SetUiBackend(nullptr);
    EXPECT_TRUE(backend.managerWholeAtEnd);
    EXPECT_FALSE(loop.Post(handle, WM_USER, 0, 0)) << "the handle is gone";
}

TEST_F(WindowTest, AMissingSkinFailsTheCreation) {
    DialogWnd wnd("no_such_skin.xml");
    EXPECT_EQ(wnd.Create(0, "x", 0, 0), 0u);
    EXPECT_NE(wnd.GetSkinError().find("no_such_skin.xml"), std::string::npos);
    EXPECT_EQ(wnd.GetHWND(), 0u);
}

TEST_F(WindowTest, ShowModalReturnsTheCodeGivenToClose) {
    struct Case {
        const char* button;
        UINT code;
    };
    for (const Case& c : {Case{"confirm_btn", 1}, Case{"cancel_btn", 0}}) {
        DialogWnd wnd;
        ASSERT_NE(wnd.Create(0, "msgwnd", 0, 0), 0u);
        loop.PostTask([&wnd, &c] { wnd.Click(c.button); });
        EXPECT_EQ(wnd.ShowModal(), c.code) << c.button;
        EXPECT_EQ(wnd.GetHWND(), 0u);
    }
}

TEST_F(WindowTest, SysCloseEndsTheModalRunWithZero) {
    DialogWnd wnd;
    wnd.Create(0, "msgwnd", 0, 0);
    loop.PostTask([&wnd] { wnd.SendMessage(WM_SYSCOMMAND, SC_CLOSE); });
    EXPECT_EQ(wnd.ShowModal(), 0u);
}

// A window that deletes itself when destroyed, as the message dialog does.
class SelfDeletingWnd : public DialogWnd {
public:
    explicit SelfDeletingWnd(bool* deleted) : m_deleted(deleted) {}
    ~SelfDeletingWnd() override { *m_deleted = true; }
    void OnFinalMessage(HWND) override { delete this; }

private:
    bool* m_deleted;
};

TEST_F(WindowTest, ShowModalSurvivesAWindowThatDeletesItself) {
    bool deleted = false;
    auto* wnd = new SelfDeletingWnd(&deleted);
    ASSERT_NE(wnd->Create(0, "msgwnd", 0, 0), 0u);
    loop.PostTask([wnd] { wnd->Click("confirm_btn"); });
    EXPECT_EQ(wnd->ShowModal(), 1u);
    EXPECT_TRUE(deleted);
}

TEST_F(WindowTest, SendsFromWorkersAreServedWhileAModalWindowRuns) {
    DialogWnd main;
    ASSERT_NE(main.Create(0, "main", 0, 0), 0u);
    DialogWnd dialog;
    ASSERT_NE(dialog.Create(main.GetHWND(), "msgwnd", 0, 0), 0u);
    HWND mainHandle = main.GetHWND();
    std::future<std::optional<LRESULT>> worker;
    loop.PostTask([&] {
        // The device thread reports an arrival while the dialog is up; the dialog closes afterwards.
        worker = std::async(std::launch::async, [&] {
            auto r = loop.Send(mainHandle, WM_USER + 2066, 0, 5);
            loop.PostTask([&dialog] { dialog.Close(1); });
            return r;
        });
    });
    EXPECT_EQ(dialog.ShowModal(), 1u);
    EXPECT_TRUE(worker.get().has_value());
    EXPECT_EQ(main.custom, (std::vector<std::pair<UINT, LPARAM>>{{WM_USER + 2066, 5}}));
}

TEST_F(WindowTest, QuitEndsTheModalRunAndTheMainLoop) {
    DialogWnd wnd;
    wnd.Create(0, "msgwnd", 0, 0);
    loop.PostTask([this] { loop.PostQuit(0); });
    EXPECT_EQ(wnd.ShowModal(), 0u);
    EXPECT_NE(wnd.GetHWND(), 0u) << "the window stays; only the run ended";
    EXPECT_TRUE(loop.IsQuitRequested());
    EXPECT_EQ(loop.Run(), 0);
    wnd.DestroyWindow();
}

TEST_F(WindowTest, WindowTimersReachOnTimer) {
    DialogWnd wnd;
    wnd.Create(0, "main", 0, 0);
    wnd.SetTimer(1011, 100);
    wnd.SetTimer(1032, 10);
    loop.AdvanceBy(110ms);
    // At 109.375 ms both are due; the one set first fires first.
    EXPECT_EQ(wnd.timers, (std::vector<UINT_PTR>{1032, 1032, 1032, 1032, 1032, 1032, 1011, 1032}));
    wnd.DestroyWindow();
    loop.AdvanceBy(1s);  // timers died with the window
    EXPECT_EQ(wnd.timers.size(), 8u);
}

TEST_F(WindowTest, DpiChangeScalesTheWindowAndItsLayout) {
    DialogWnd wnd;
    wnd.Create(0, "msgwnd", 0, 0);
    ASSERT_TRUE(wnd.GetPaintManager()->SetDPI(192));
    EXPECT_EQ(wnd.GetWindowRect().GetWidth(), 400);
    EXPECT_EQ(wnd.GetPaintManager()->GetRoot()->GetPos(), (UiRect{0, 0, 400, 200}));
}

TEST_F(WindowTest, MenuCommandsComeBackAsWindowMessages) {
    DialogWnd wnd;
    wnd.Create(0, "main", 0, 0);
    CMenuWnd menu;
    ASSERT_TRUE(menu.Init(nullptr, "menu.xml", UiPoint{5, 6}, wnd.GetPaintManager(), nullptr,
                          CMenuWnd::eMenuAlignment_Left | CMenuWnd::eMenuAlignment_Bottom));
    EXPECT_EQ(menu.GetAlignment(), 18);
    EXPECT_FALSE(menu.ChooseItem("off")) << "disabled";
    EXPECT_FALSE(menu.ChooseItem("nothing"));
    EXPECT_TRUE(menu.ChooseItem("about_menu"));
    EXPECT_FALSE(menu.IsShown());
    EXPECT_FALSE(menu.ChooseItem("exit")) << "a closed menu takes no choice";
    EXPECT_EQ(wnd.menuCommands, (std::vector<std::string>{"about_menu/7"}));

    CMenuWnd bad;
    EXPECT_FALSE(bad.Init(nullptr, "main.xml", UiPoint{}, wnd.GetPaintManager()));
    EXPECT_FALSE(bad.IsShown());
}

TEST_F(WindowTest, TrayActionsArePostedToTheOwner) {
    DialogWnd wnd;
    wnd.Create(0, "main", 0, 0);
    CTrayIcon tray;
    EXPECT_FALSE(tray.OnUserAction(WM_LBUTTONUP)) << "no icon yet";
    tray.CreateTrayIcon(wnd.GetHWND(), 107, "ZEVIK-R300Prime", 1025);
    EXPECT_TRUE(tray.IsVisible());
    EXPECT_TRUE(tray.OnUserAction(WM_RBUTTONUP));
    EXPECT_TRUE(wnd.custom.empty()) << "posted, not sent";
    loop.ProcessPending();
    EXPECT_EQ(wnd.custom, (std::vector<std::pair<UINT, LPARAM>>{{1025, WM_RBUTTONUP}}));
    tray.DeleteTrayIcon();
    EXPECT_FALSE(tray.IsVisible());
}

}  // namespace
}  // namespace zevik
