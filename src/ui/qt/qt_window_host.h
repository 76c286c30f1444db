#pragma once
// CQtWindowHost: shows one window of the core as a frameless top-level widget. The core keeps the
// window's state; the host mirrors it (geometry, visibility, title, icon, modality, show state) and
// reports what the user does: a caption drag or a system resize as OnHostGeometryChanged, a close
// request (Alt+F4, the system's close) as WM_SYSCOMMAND SC_CLOSE, minimising, restoring and
// exposure as OnHostSeenChanged. A window with controls gets a renderer for its paint manager.

#include <QPointer>
#include <memory>

#include "ui/qt/frameless_window.h"
#include "ui/qt/qt_renderer.h"
#include "ui/ui_backend.h"

namespace zevik {

class CQtUiBackend;

class CQtWindowHost final : public IWindowHost {
public:
    CQtWindowHost(CWindowWnd& window, CQtUiBackend& backend);
    ~CQtWindowHost() override;
    CQtWindowHost(const CQtWindowHost&) = delete;
    CQtWindowHost& operator=(const CQtWindowHost&) = delete;

    void Show(bool show, bool activate) override;
    void SetWindowRect(const UiRect& rc) override;
    void SetTitle(std::string_view title) override;
    void SetIcon(UINT resourceId) override;
    void SetModal(bool modal) override;
    void BringToFront() override;
    void Invalidate() override;
    void SetShowState(WPARAM sysCommand) override;

    CFramelessWindow* Widget() const { return m_widget; }
    // nullptr for a window without controls.
    CQtRenderer* Renderer() const { return m_renderer.get(); }
    CWindowWnd& Window() { return m_window; }

private:
    // Takes the caption area and size limits from the skin of the window's paint manager.
    void ApplySkinFrame();
    void ReportGeometry();

    CWindowWnd& m_window;
    CQtUiBackend& m_backend;
    CFramelessWindow* m_widget;  // owned; released with deleteLater when the host goes
    std::unique_ptr<CQtRenderer> m_renderer;
    bool m_applying = false;  // geometry set from the core: not reported back
};

}  // namespace zevik
