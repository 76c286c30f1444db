// ui-gallery: shows the gallery skin with every control of the UI library.
//   ui-gallery                      opens the window
//   ui-gallery --screenshot FILE    renders offscreen, saves a PNG of the window and exits
//   --page N                        opens on device page N (0 mouse, 1 keyboard, 2 headset, 3 pad)
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "gallery_controls.h"
#include "gallery_window.h"
#include "ui/qt/dark_theme.h"
#include "ui/qt/font_loader.h"
#include "ui/qt/qt_message_loop.h"
#include "ui/qt/qt_ui_backend.h"
#include "ui/qt/qt_window_host.h"
#include "ui/ui_lib.h"

namespace {

constexpr zevik::UINT kVisible = 0x10000000;

int Usage() {
    std::fprintf(stderr, "usage: ui-gallery [--screenshot FILE.png] [--page N]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string screenshot;
    int page = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
            screenshot = argv[++i];
        } else if (std::strcmp(argv[i], "--page") == 0 && i + 1 < argc) {
            const auto n = zevik::ParseInt(argv[++i]);
            if (!n || *n < 0 || *n > 3) {
                return Usage();
            }
            page = *n;
        } else {
            return Usage();
        }
    }
    if (!screenshot.empty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    zevik::ApplyDarkTheme(app);

    const std::filesystem::path exeDir(zevik::CPaintManagerUI::GetInstancePath());
    zevik::CFontLoader fonts;
    fonts.LoadFolder(exeDir / "Font");

    zevik::CQtMessageLoop loop;
    zevik::CQtUiBackend backend;
    zevik::SetUiBackend(&backend);
    zevik::CPaintManagerUI::SetResourcePath((exeDir / "skin").string() + "/");
    zevik::gallery::RegisterGalleryControls();

    int rc = 0;
    {
        zevik::gallery::CGalleryWindow window;
        if (window.Create(0, "ZEVIK UI Gallery", kVisible, 0) == 0) {
            std::fprintf(stderr, "ui-gallery: the gallery skin did not load: %s\n",
                         window.GetSkinError().c_str());
            zevik::SetUiBackend(nullptr);
            return 1;
        }
        window.CenterWindow();
        if (auto* nav = dynamic_cast<zevik::COptionUI*>(
                window.GetPaintManager()->FindControl("nav_" + std::to_string(page)))) {
            nav->Selected(true);  // the window's Notify shows the page
        }
        if (screenshot.empty()) {
            rc = loop.Run();
        } else {
            // Let the posted "windowinit" and the first layout and paint happen.
            for (int i = 0; i < 5; ++i) {
                QApplication::processEvents();
            }
            zevik::CQtWindowHost* host = backend.HostOf(window);
            const QImage image = host != nullptr ? host->Widget()->grab().toImage() : QImage();
            if (image.isNull() || !image.save(QString::fromStdString(screenshot), "PNG")) {
                std::fprintf(stderr, "ui-gallery: could not save the screenshot to %s\n", screenshot.c_str());
                rc = 1;
            }
        }
        if (window.GetHWND() != 0) {
            window.DestroyWindow();
        }
    }
    zevik::SetUiBackend(nullptr);
    return rc;
}
