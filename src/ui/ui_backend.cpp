#include "ui/ui_backend.h"

#include <atomic>

#include "ui/text_measure.h"

namespace zevik {

namespace {

class CHeadlessWindowHost final : public IWindowHost {
public:
    void Show(bool, bool) override {}
    void SetWindowRect(const UiRect&) override {}
    void SetTitle(std::string_view) override {}
    void SetIcon(UINT) override {}
    void SetModal(bool) override {}
    void BringToFront() override {}
    void Invalidate() override {}
};

class CHeadlessTrayHost final : public ITrayHost {
public:
    void Show(bool) override {}
    void SetIcon(UINT) override {}
    void SetToolTip(std::string_view) override {}
};

class CHeadlessMenuHost final : public IMenuHost {
public:
    void Popup(UiPoint, int) override {}
    void Close() override {}
};

std::atomic<IUiBackend*> g_backend{nullptr};

CHeadlessBackend& DefaultBackend() {
    static CHeadlessBackend backend;
    return backend;
}

}  // namespace

std::unique_ptr<IWindowHost> CHeadlessBackend::CreateWindowHost(CWindowWnd&) {
    return std::make_unique<CHeadlessWindowHost>();
}

std::unique_ptr<ITrayHost> CHeadlessBackend::CreateTrayHost(CTrayIcon&) { return std::make_unique<CHeadlessTrayHost>(); }

std::unique_ptr<IMenuHost> CHeadlessBackend::CreateMenuHost(CMenuWnd&) { return std::make_unique<CHeadlessMenuHost>(); }

int IUiBackend::MeasureTextWidth(const CControlUI& control, std::string_view text) const {
    return EstimateTextWidth(text, FontPixelSizeOf(control));
}

IUiBackend& GetUiBackend() {
    IUiBackend* backend = g_backend.load();
    return backend != nullptr ? *backend : DefaultBackend();
}

void SetUiBackend(IUiBackend* backend) { g_backend.store(backend); }

}  // namespace zevik
