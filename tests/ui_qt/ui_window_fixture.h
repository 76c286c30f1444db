#pragma once
// A skin window shown through the Qt backend on the Qt loop, with every notification recorded.

#include <QCoreApplication>
#include <QEventLoop>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "qt_test_app.h"
#include "ui/qt/qt_message_loop.h"
#include "ui/qt/qt_renderer.h"
#include "ui/qt/qt_ui_backend.h"
#include "ui/qt/qt_window_host.h"
#include "ui/ui_lib.h"

namespace zevik::test {

struct Seen {
    std::string type;
    std::string sender;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    friend bool operator==(const Seen&, const Seen&) = default;
};

inline std::ostream& operator<<(std::ostream& os, const Seen& s) {
    return os << "{" << s.type << ", " << s.sender << ", " << s.wParam << ", " << s.lParam << "}";
}

class RecordingWindow : public WindowImplBase {
public:
    explicit RecordingWindow(std::string skin) : m_skin(std::move(skin)) {}
    std::string GetSkinFile() override { return m_skin; }
    std::string_view GetWindowClassName() const override { return "RecordingWindow"; }
    void Notify(TNotifyUI& msg) override {
        if (msg.sType != DUI_MSGTYPE_TIMER) {
            seen.push_back(
                {msg.sType, msg.pSender != nullptr ? msg.pSender->GetName() : "", msg.wParam, msg.lParam});
        }
        if (onNotify) {
            onNotify(msg);
        }
        WindowImplBase::Notify(msg);
    }
    CControlUI* CreateControl(std::string_view className) override {
        if (createControl) {
            if (CControlUI* control = createControl(className)) {
                return control;
            }
        }
        return WindowImplBase::CreateControl(className);
    }
    LRESULT HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& bHandled) override {
        if (msg == WM_MENUCLICK) {
            menuCommands.push_back(reinterpret_cast<MenuCmd*>(wParam)->szName);
            bHandled = true;
            return 0;
        }
        if (msg >= WM_USER) {
            customMessages.emplace_back(msg, lParam);
        }
        return WindowImplBase::HandleCustomMessage(msg, wParam, lParam, bHandled);
    }
    // The notifications of one type, in order.
    std::vector<Seen> Of(std::string_view type) const {
        std::vector<Seen> out;
        for (const Seen& s : seen) {
            if (s.type == type) {
                out.push_back(s);
            }
        }
        return out;
    }
    std::vector<Seen> seen;
    std::vector<std::string> menuCommands;
    std::vector<std::pair<UINT, LPARAM>> customMessages;
    std::function<void(TNotifyUI&)> onNotify;
    // Controls of the skin's own tags (as the program's windows make them), nullptr for the rest.
    std::function<CControlUI*(std::string_view)> createControl;

private:
    std::string m_skin;
};

class UiWindowFixture : public QtFixture {
protected:
    static constexpr UINT kVisible = 0x10000000;

    UiWindowFixture() {
        m_dir = std::filesystem::temp_directory_path() /
                ("zevik_uiqt_" + std::to_string(QCoreApplication::applicationPid()) + "_" +
                 std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::filesystem::create_directories(m_dir);
        CPaintManagerUI::SetResourcePath(m_dir.string());
        SetUiBackend(&m_backend);
    }
    ~UiWindowFixture() override {
        if (m_window && m_window->GetHWND() != 0) {
            m_window->DestroyWindow();
        }
        m_window.reset();
        Pump();
        SetUiBackend(nullptr);
        std::filesystem::remove_all(m_dir);
    }

    void WriteFile(const std::string& name, const std::string& text) { std::ofstream(m_dir / name) << text; }

    // Builds and shows a window of the skin text; fails the test when it does not come up.
    // createControl makes the controls of the skin's own tags.
    RecordingWindow& Open(const std::string& skin,
                          std::function<CControlUI*(std::string_view)> createControl = {}) {
        WriteFile("test.xml", skin);
        m_window = std::make_unique<RecordingWindow>("test.xml");
        m_window->createControl = std::move(createControl);
        m_window->Create(0, "test", kVisible, 0, 100, 100, 0, 0);
        EXPECT_NE(m_window->GetHWND(), 0u) << m_window->GetSkinError();
        Pump();
        return *m_window;
    }

    CQtWindowHost& Host() { return *m_backend.HostOf(*m_window); }
    CQtRenderer& Renderer() { return *Host().Renderer(); }
    CControlUI* Control(std::string_view name) { return m_window->GetPaintManager()->FindControl(name); }
    template <typename W>
    W* Widget(std::string_view name) {
        return qobject_cast<W*>(Renderer().WidgetFor(Control(name)));
    }

    // The widget of a control that must exist (the test ends at once otherwise).
    template <typename W>
    W& Get(std::string_view name) {
        W* w = Widget<W>(name);
        if (w == nullptr) {
            ADD_FAILURE() << "no widget of the expected kind for " << name;
            std::abort();
        }
        return *w;
    }

    // Lets the Qt loop run what is queued (posted notifications, deferred deletes).
    static void Pump() {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    CQtMessageLoop m_loop;
    CQtUiBackend m_backend;
    std::filesystem::path m_dir;
    std::unique_ptr<RecordingWindow> m_window;
};

}  // namespace zevik::test
