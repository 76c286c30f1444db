#pragma once
// CSkinFrame: the small popup under the main window's "skinbtn" that chooses the main window's
// background: one of the offered images ("skin_image_btn", page 0 of "skin_tab") or colours
// ("skin_color_btn", page 1), the default again ("skin_reset"), or an image file of the user's
// ("skin_Custom"). Each choice goes to every receiver of the skin observer; an offered image and the
// reset are also written to "main.ini" in the data root. The popup closes when it loses the focus
// and deletes itself.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "shell/skin_observer.h"
#include "ui/window_impl_base.h"

namespace zevik {

class CSkinFrame : public WindowImplBase {
public:
    static constexpr std::string_view kClassName = "UISkinFrame";
    static constexpr std::string_view kDefaultImage = "common/background.png";
    // The image file the user picks for "skin_Custom"; empty when cancelled.
    using FileChooser = std::function<std::filesystem::path()>;

    // Opens the popup below anchor (a control of the parent's tree), right-aligned to it. Returns
    // the popup, which lives until it loses the focus (or is closed).
    static CSkinFrame* Open(HWND parent, const UiRect& anchorOnScreen, std::filesystem::path mainIni,
                            FileChooser chooser);

    std::string_view GetWindowClassName() const override { return kClassName; }
    std::string GetSkinFile() override { return "XML/skin.xml"; }
    void Notify(TNotifyUI& msg) override;
    LRESULT HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

    // The buttons offered on each page, in order.
    std::vector<CControlUI*> ImageButtons();
    std::vector<CControlUI*> ColourButtons();

protected:
    void OnFinalMessage(HWND hWnd) override;

private:
    CSkinFrame(std::filesystem::path mainIni, FileChooser chooser);
    void ChooseImage(const std::string& image, bool offered);
    void ChooseCustomImage();

    std::filesystem::path m_mainIni;
    FileChooser m_chooser;
};

// Whether a file holds an image the program can show (PNG, JPEG, BMP or GIF, by its first bytes).
bool IsImageFile(const std::filesystem::path& file);

}  // namespace zevik
