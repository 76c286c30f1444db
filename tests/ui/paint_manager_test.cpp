// Finding controls, notifications, control timers and change reports of the paint manager.

#include <map>
#include <memory>

#include "ui/button_ui.h"
#include "ui/container_ui.h"
#include "ui/horizontal_layout_ui.h"
#include "ui/dialog_builder.h"
#include "ui/notify_pump.h"
#include "ui_test_support.h"

namespace zevik {
namespace {

using test::NotifyRecorder;
using test::RecordedNotify;

class PaintManagerTest : public test::UiTest {
protected:
    void Build(const char* xml) {
        CDialogBuilder builder;
        CControlUI* root = builder.CreateFromString(xml, nullptr, &pm);
        ASSERT_NE(root, nullptr) << builder.GetLastError();
        pm.AttachDialog(root);
        loop.ProcessPending();
        recorder.events.clear();
    }
    CContainerUI& Container(const char* name) {
        return *static_cast<CContainerUI*>(pm.FindControl(name)->GetInterface("Container"));
    }

    CPaintManagerUI pm;
    NotifyRecorder recorder{pm};
};

const char* kPages = R"(<VerticalLayout name="root">
    <HorizontalLayout name="mouse_page"><Slider name="DPI_slider_1"/><Label name="status"/></HorizontalLayout>
    <HorizontalLayout name="keyboard_page"><Slider name="DPI_slider_1"/></HorizontalLayout>
  </VerticalLayout>)";

TEST_F(PaintManagerTest, FindByNameAndInsideASubtree) {
    Build(kPages);
    CControlUI* mouse = pm.FindControl("mouse_page");
    CControlUI* keyboard = pm.FindControl("keyboard_page");
    ASSERT_NE(mouse, nullptr);
    CControlUI* first = pm.FindControl("DPI_slider_1");
    EXPECT_EQ(first->GetParent(), mouse) << "the first in document order";
    CControlUI* second = pm.FindSubControlByName(keyboard, "DPI_slider_1");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetParent(), keyboard);
    EXPECT_EQ(pm.FindSubControlByName(keyboard, "status"), nullptr);
    EXPECT_EQ(pm.FindControl("nothing"), nullptr);
    EXPECT_EQ(pm.FindControl("dpi_slider_1"), nullptr) << "names are exact";

    // When the first of two same-named controls goes, the name finds the other.
    Container("mouse_page").Remove(first);
    EXPECT_EQ(pm.FindControl("DPI_slider_1"), second);
    // A renamed control is found by its new name only.
    second->SetName("DPI_slider_2");
    EXPECT_EQ(pm.FindControl("DPI_slider_1"), nullptr);
    EXPECT_EQ(pm.FindControl("DPI_slider_2"), second);
    // A subtree taken out (not destroyed) leaves the name table.
    Container("root").Remove(keyboard, true);
    EXPECT_EQ(pm.FindControl("DPI_slider_2"), nullptr);
    delete keyboard;
}

TEST_F(PaintManagerTest, AControlBelongsToOneContainer) {
    Build(kPages);
    CControlUI* status = pm.FindControl("status");
    EXPECT_FALSE(Container("keyboard_page").Add(status));
    ASSERT_TRUE(Container("mouse_page").Remove(status, true));
    ASSERT_TRUE(Container("keyboard_page").Add(status));
    EXPECT_EQ(pm.FindSubControlByName(pm.FindControl("keyboard_page"), "status"), status);
}

TEST_F(PaintManagerTest, NotificationsAreSynchronousAndCarryTheSender) {
    Build(kPages);
    CControlUI* status = pm.FindControl("status");
    pm.SendNotify(status, "click_select_end", 3, 4);
    EXPECT_EQ(recorder.events, (std::vector<RecordedNotify>{{"click_select_end", "status", 3, 4}}));
}

TEST_F(PaintManagerTest, QueuedNotificationsAreDroppedWhenTheSenderIsGone) {
    Build(kPages);
    pm.SendNotify(pm.FindControl("status"), "late", 0, 0, true);
    pm.SendNotify(pm.FindControl("root"), "kept", 0, 0, true);
    EXPECT_TRUE(recorder.events.empty());
    Container("mouse_page").Remove(pm.FindControl("status"));
    loop.ProcessPending();
    EXPECT_EQ(recorder.events, (std::vector<RecordedNotify>{{"kept", "root", 0, 0}}));
}

TEST_F(PaintManagerTest, WindowInitIsQueuedAfterAttach) {
    CDialogBuilder builder;
    pm.AttachDialog(builder.CreateFromString(R"(<VerticalLayout name="root"/>)"));
    EXPECT_TRUE(recorder.events.empty());
    loop.ProcessPending();
    EXPECT_EQ(recorder.events, (std::vector<RecordedNotify>{{"windowinit", "root", 0, 0}}));
}

// A control that counts its timer ticks, as the program's device option does.
class TickingControl : public CControlUI {
public:
    void DoEvent(TEventUI& event) override {
        if (event.Type == UIEVENT_TIMER) ticks.push_back(event.wParam);
        CControlUI::DoEvent(event);
    }
    std::vector<UINT_PTR> ticks;
};

TEST_F(PaintManagerTest, ControlTimersPerControlAndId) {
    Build(R"(<HorizontalLayout name="root"/>)");
    auto* a = new TickingControl();
    auto* b = new TickingControl();
    a->SetName("a");
    Container("root").Add(a);
    Container("root").Add(b);
    ASSERT_TRUE(pm.SetTimer(a, 1001, 50));
    ASSERT_TRUE(pm.SetTimer(a, 1005, 3000));
    ASSERT_TRUE(pm.SetTimer(b, 1001, 500));
    loop.AdvanceBy(std::chrono::milliseconds(500));
    EXPECT_EQ(std::count(a->ticks.begin(), a->ticks.end(), 1001u), 8);  // every 62.5 ms
    EXPECT_EQ(std::count(a->ticks.begin(), a->ticks.end(), 1005u), 0);
    EXPECT_EQ(b->ticks, (std::vector<UINT_PTR>{1001}));
    // The base control turns a tick into a "timer" notification with the id.
    EXPECT_EQ(recorder.TypesOf("a").size(), 8u);
    EXPECT_EQ(recorder.events.front(), (RecordedNotify{"timer", "a", 1001, 0}));

    EXPECT_TRUE(pm.KillTimer(a, 1001));
    EXPECT_FALSE(pm.KillTimer(a, 1001));
    a->ticks.clear();
    loop.AdvanceBy(std::chrono::milliseconds(3000));
    EXPECT_EQ(a->ticks, (std::vector<UINT_PTR>{1005}));

    // A destroyed control's timers die with it.
    Container("root").Remove(b);
    loop.AdvanceBy(std::chrono::milliseconds(2000));  // would reach freed memory otherwise
    SUCCEED();
}

TEST_F(PaintManagerTest, VirtualWindowsRouteToTheirPump) {
    Build(R"(<VerticalLayout name="root"><HorizontalLayout virtualwnd="mainpage"><Button name="inner"/></HorizontalLayout>
             <Button name="outer"/></VerticalLayout>)");
    CNotifyPump window;
    CNotifyPump mainPage;
    std::vector<std::string> seen;
    window.SetMessageHandler("click", [&](TNotifyUI& m) { seen.push_back("window:" + m.pSender->GetName()); });
    mainPage.SetMessageHandler("click", [&](TNotifyUI& m) { seen.push_back("mainpage:" + m.pSender->GetName()); });
    ASSERT_TRUE(window.AddVirtualWnd("mainpage", &mainPage));
    EXPECT_FALSE(window.AddVirtualWnd("mainpage", &mainPage));

    struct Pump : INotifyUI {
        CNotifyPump* pump;
        void Notify(TNotifyUI& msg) override { pump->NotifyPump(msg); }
    } bridge;
    bridge.pump = &window;
    pm.AddNotifier(&bridge);
    dynamic_cast<CButtonUI*>(pm.FindControl("inner"))->Activate();
    dynamic_cast<CButtonUI*>(pm.FindControl("outer"))->Activate();
    pm.RemoveNotifier(&bridge);
    EXPECT_EQ(seen, (std::vector<std::string>{"mainpage:inner", "window:outer"}));
}

class ChangeLog : public IControlObserver {
public:
    void OnControlChanged(CControlUI& c, UiChange what) override {
        if (HasChange(what, UiChange::Text)) log.push_back("text:" + c.GetName());
        if (HasChange(what, UiChange::Visible)) log.push_back("visible:" + c.GetName());
        if (HasChange(what, UiChange::Enabled)) log.push_back("enabled:" + c.GetName());
    }
    void OnChildAdded(CContainerUI& parent, CControlUI& child) override {
        log.push_back("added:" + child.GetName() + " to " + parent.GetName());
    }
    void OnChildRemoved(CContainerUI& parent, CControlUI& child) override {
        log.push_back("removed:" + child.GetName() + " from " + parent.GetName());
    }
    void OnRootChanged(CControlUI* root) override { log.push_back(root ? "root:" + root->GetName() : "root:none"); }
    std::vector<std::string> log;
};

TEST_F(PaintManagerTest, ObserversHearEveryRealChange) {
    Build(R"(<VerticalLayout name="root"><Label name="l" text="a"/></VerticalLayout>)");
    ChangeLog log;
    pm.AddObserver(&log);
    CControlUI* label = pm.FindControl("l");
    label->SetText("b");
    label->SetText("b");  // no change, no report
    label->SetVisible(false);
    label->SetEnabled(false);
    auto* added = new CLabelUI();
    added->SetName("n");
    Container("root").Add(added);
    Container("root").Remove(added);
    pm.RemoveObserver(&log);
    EXPECT_EQ(log.log, (std::vector<std::string>{"text:l", "visible:l", "enabled:l", "added:n to root",
                                                 "removed:n from root"}));
}

TEST_F(PaintManagerTest, AFontTableChangeRestylesTheTreeOnceAtTheNextLayoutAndOnlyWhenItDiffers) {
    Build(R"(<HorizontalLayout name="root"><Label name="l" text="abc" autocalcwidth="true"/>
      <Label name="r" text="x" font="1" autocalcwidth="true"/><Control/></HorizontalLayout>)");
    pm.SetClientSize(UiSize{400, 40});
    struct StyleCount : IControlObserver {
        void OnControlChanged(CControlUI& c, UiChange what) override {
            if (HasChange(what, UiChange::Style)) ++styled[&c];
        }
        void OnChildAdded(CContainerUI&, CControlUI&) override {}
        void OnChildRemoved(CContainerUI&, CControlUI&) override {}
        void OnRootChanged(CControlUI*) override {}
        std::map<const CControlUI*, int> styled;
    } count;
    pm.AddObserver(&count);
    const int width = pm.FindControl("l")->GetPos().right - pm.FindControl("l")->GetPos().left;
    TFontInfo font;
    font.sFontName = "Face";
    font.iSize = 24;
    pm.RemoveAllFonts();
    pm.SetDefaultFont(font);
    pm.AddFont(1, font);
    pm.AddFont(2, font);
    EXPECT_TRUE(count.styled.empty()) << "nothing before the layout";
    loop.ProcessPending();
    // Root, two labels and the filler: each once, whatever the number of changes.
    EXPECT_EQ(count.styled.size(), 4u);
    for (const auto& [control, times] : count.styled) EXPECT_EQ(times, 1) << control->GetName();
    // Laid out again in the new default font (the headless estimate grows with the size).
    EXPECT_GT(pm.FindControl("l")->GetPos().right - pm.FindControl("l")->GetPos().left, width);
    // The same table built again changes nothing the tree shows.
    count.styled.clear();
    pm.RemoveAllFonts();
    pm.SetDefaultFont(font);
    pm.AddFont(1, font);
    pm.AddFont(2, font);
    loop.ProcessPending();
    pm.RemoveObserver(&count);
    EXPECT_TRUE(count.styled.empty());
}

TEST_F(PaintManagerTest, FocusMovesWithNotifications) {
    Build(R"(<VerticalLayout name="root"><Edit name="keyset_keyboard_text_edit"/><Button name="b"/></VerticalLayout>)");
    pm.FindControl("keyset_keyboard_text_edit")->SetFocus();
    pm.FindControl("b")->SetFocus();
    EXPECT_EQ(pm.GetFocus(), pm.FindControl("b"));
    EXPECT_EQ(recorder.events, (std::vector<RecordedNotify>{{"setfocus", "keyset_keyboard_text_edit", 0, 0},
                                                            {"killfocus", "keyset_keyboard_text_edit", 0, 0},
                                                            {"setfocus", "b", 0, 0}}));
    Container("root").Remove(pm.FindControl("b"));
    EXPECT_EQ(pm.GetFocus(), nullptr);
}

}  // namespace
}  // namespace zevik

namespace zevik {
namespace {

// A container that marks the children its drag rectangle crosses, as the key pictures' selection
// panel does.
class DragSelectPanel : public CHorizontalLayoutUI {
public:
    void DoEvent(TEventUI& event) override {
        if (event.Type == UIEVENT_BUTTONDOWN) {
            m_start = event.ptMouse;
            m_dragging = true;
        } else if (event.Type == UIEVENT_MOUSEMOVE && m_dragging) {
            m_end = event.ptMouse;
        } else if (event.Type == UIEVENT_BUTTONUP && m_dragging) {
            m_dragging = false;
            m_end = event.ptMouse;
            UiRect sel{std::min(m_start.x, m_end.x), std::min(m_start.y, m_end.y), std::max(m_start.x, m_end.x) + 1,
                       std::max(m_start.y, m_end.y) + 1};
            selected.clear();
            for (int i = 0; i < GetCount(); ++i) {
                if (GetItemAt(i)->GetPos().Intersects(sel)) selected.push_back(GetItemAt(i)->GetName());
            }
            SendNotify("click_select_end");
        } else {
            CHorizontalLayoutUI::DoEvent(event);
        }
    }
    std::vector<std::string> selected;

private:
    UiPoint m_start;
    UiPoint m_end;
    bool m_dragging = false;
};

class PointerTest : public PaintManagerTest, public IDialogBuilderCallback {
protected:
    CControlUI* CreateControl(std::string_view className) override {
        return className == "SelectPanel" ? new DragSelectPanel() : nullptr;
    }
    void BuildPointerSkin() {
        CDialogBuilder builder;
        CControlUI* root = builder.CreateFromString(R"(<VerticalLayout name="root">
            <SelectPanel name="panel" height="50" mouse="true">
              <Control name="key_1" width="40" mouse="false"/><Control name="key_2" width="40" mouse="false"/>
              <Control name="key_3" width="40" mouse="false"/>
            </SelectPanel>
            <Button name="btn" height="30"/>
          </VerticalLayout>)",
                                                    this, &pm);
        ASSERT_NE(root, nullptr) << builder.GetLastError();
        pm.AttachDialog(root);
        pm.SetClientSize(UiSize{200, 100});
        loop.ProcessPending();
        recorder.events.clear();
    }
};

TEST_F(PointerTest, APressCapturesTheControlUntilRelease) {
    BuildPointerSkin();
    auto* panel = dynamic_cast<DragSelectPanel*>(pm.FindControl("panel"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(pm.DispatchMouse(UIEVENT_BUTTONDOWN, UiPoint{10, 10}), panel);
    EXPECT_EQ(pm.GetCapture(), panel);
    // The drag leaves the panel over the button; the panel still gets the events.
    EXPECT_EQ(pm.DispatchMouse(UIEVENT_MOUSEMOVE, UiPoint{60, 60}), panel);
    EXPECT_EQ(pm.DispatchMouse(UIEVENT_BUTTONUP, UiPoint{60, 60}), panel);
    EXPECT_EQ(pm.GetCapture(), nullptr);
    EXPECT_EQ(panel->selected, (std::vector<std::string>{"key_1", "key_2"}));
    EXPECT_EQ(recorder.TypesOf("panel"), (std::vector<std::string>{"msenter", "click_select_end"}));
    EXPECT_TRUE(recorder.TypesOf("btn").empty()) << "no click without press on the button";
}

TEST_F(PointerTest, AClickNeedsPressAndReleaseOnTheButton) {
    BuildPointerSkin();
    pm.DispatchMouse(UIEVENT_BUTTONDOWN, UiPoint{20, 60});
    pm.DispatchMouse(UIEVENT_BUTTONUP, UiPoint{20, 65});
    pm.DispatchMouse(UIEVENT_BUTTONDOWN, UiPoint{20, 60});
    pm.DispatchMouse(UIEVENT_BUTTONUP, UiPoint{20, 95});  // released outside: no click
    EXPECT_EQ(recorder.TypesOf("btn"), (std::vector<std::string>{"msenter", "click"}));
    pm.DispatchMouse(UIEVENT_MOUSELEAVE, UiPoint{-1, -1});
    EXPECT_EQ(recorder.TypesOf("btn").back(), "msleave");
}

TEST_F(PointerTest, ACapturedControlThatGoesAwayReleasesTheCapture) {
    BuildPointerSkin();
    pm.DispatchMouse(UIEVENT_BUTTONDOWN, UiPoint{20, 60});
    Container("root").Remove(pm.FindControl("btn"));
    EXPECT_EQ(pm.GetCapture(), nullptr);
    EXPECT_EQ(pm.GetHover(), nullptr);
    EXPECT_EQ(pm.DispatchMouse(UIEVENT_BUTTONUP, UiPoint{20, 60}), pm.FindControl("root"));
}

}  // namespace
}  // namespace zevik
