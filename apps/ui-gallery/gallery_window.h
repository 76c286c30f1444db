#pragma once
// The gallery's window: the gallery skin, its navigation, and a readout of the last notification so
// every control can be seen to report what the user does.

#include "ui/window_impl_base.h"

namespace zevik::gallery {

class CGalleryWindow : public WindowImplBase {
public:
    std::string GetSkinFolder() override { return "gallery"; }
    std::string GetSkinFile() override { return "gallery.xml"; }
    std::string_view GetWindowClassName() const override { return "ZevikGallery"; }
    void Notify(TNotifyUI& msg) override;

protected:
    void OnFinalMessage(HWND hWnd) override;

private:
    void ShowReadout(const TNotifyUI& msg);
};

}  // namespace zevik::gallery
