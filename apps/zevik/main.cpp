// zevik: the desktop configuration program.
//   zevik [--emulate LIST] [--emulator-state FILE] [--emulator-log FILE] [--data-dir DIR]
//         [--tray] [--screenshot FILE.png [--screenshot-after MS]
//         [--screenshot-window main|settings|about|message|color|skin|music] [--screenshot-tab TAB]]
// Without --emulate it serves the supported devices it finds through hidraw, as they come and go;
// while none is plugged in an emulated mouse stands in, and the window title says so. A second start
// brings the first to the front.
#include <CLI/CLI.hpp>
#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QSystemTrayIcon>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "devices/device_catalogue.h"
#include "devices/mouse_device.h"
#include "display_watch.h"
#include "emulator/emulation.h"
#include "quit_signals.h"
#include "session_bus.h"
#include "settings/profile_locations.h"
#include "shell/main_wnd.h"
#include "shell/secondary_wnd.h"
#include "shell/skin_frame.h"
#include "transport/hid/fallback_backend.h"
#include "transport/hid/hidraw_backend.h"
#include "ui/option_ui.h"
#include "ui/qt/dark_theme.h"
#include "ui/qt/font_loader.h"
#include "ui/qt/qt_message_loop.h"
#include "ui/qt/qt_ui_backend.h"
#include "ui/qt/qt_window_host.h"
#include "ui/resource_manager.h"
#include "ui/ui_lib.h"
#include "update/update_server.h"

namespace {

constexpr zevik::UINT kVisible = 0x10000000;
constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 572;
// A screenshot run ends with an error when the window has not shown by then.
constexpr int kScreenshotGiveUpMs = 15000;

struct Options {
    std::string emulate;
    std::string emulatorState;
    std::string emulatorLog;
    std::string dataDir;
    std::string screenshot;
    std::string screenshotWindow = "main";
    std::string screenshotTab;
    int screenshotAfter = 1000;
    bool tray = false;
};

// The emulated devices that stand in while no real one is plugged in.
constexpr const char* kStandInDevices = "mouse,keyboard,mousepad,headset";

// Whether a hidraw path names an interface the program serves.
bool IsSupportedPath(const std::string& path) {
    return zevik::IsCatalogueInterface(zevik::ParsePathIds(path));
}

// The profile file chooser of the profile bar's import and export buttons.
std::filesystem::path ChooseProfileFile(bool save, const std::string& suggestedName) {
    const QString filter = QObject::tr("Profiles (*.json);;All files (*)");
    const QString file =
        save ? QFileDialog::getSaveFileName(nullptr, QObject::tr("Export profile"),
                                            QString::fromStdString(suggestedName), filter)
             : QFileDialog::getOpenFileName(nullptr, QObject::tr("Import profile"), {}, filter);
    return std::filesystem::path(file.toStdString());
}

}  // namespace

int main(int argc, char** argv) {
    Options opt;
    CLI::App cli{"ZEVIK R300 Prime configuration"};
    cli.add_option("--emulate", opt.emulate, "emulated devices instead of real ones, e.g. mouse");
    cli.add_option("--emulator-state", opt.emulatorState, "load and save the emulated devices' memory");
    cli.add_option("--emulator-log", opt.emulatorLog, "append every report exchanged to this file");
    cli.add_option("--data-dir", opt.dataDir, "profiles and settings in this folder");
    cli.add_option("--screenshot", opt.screenshot, "save a PNG of the main window and exit");
    cli.add_option("--screenshot-after", opt.screenshotAfter,
                   "milliseconds from the window's first showing to the screenshot")
        ->check(CLI::Range(0, 600000));
    cli.add_option(
           "--screenshot-window", opt.screenshotWindow,
           "the window pictured: main, settings, about, message, color, skin or music (opened as their openers do)")
        ->check(CLI::IsMember({"main", "settings", "about", "message", "color", "skin", "music"}));
    cli.add_option("--screenshot-tab", opt.screenshotTab,
                   "with --screenshot: the page tab chosen first, as a click does (e.g. deng_Op_tab)");
    cli.add_flag("--tray", opt.tray, "start in the tray without showing the window (for autostart)");
    CLI11_PARSE(cli, argc, argv);

    if (!opt.screenshot.empty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("zevik");
    zevik::ApplyDarkTheme(app);

    const std::filesystem::path exeDir(zevik::CPaintManagerUI::GetInstancePath());
    zevik::CFontLoader fonts;
    // The program's own fonts first, in their order (a missing one is skipped), then any other font
    // placed in the folder (a CJK font for the Chinese texts, say).
    fonts.Load(exeDir / "Font", {"Simplified_Chinese.ttf", "Ravazavu-Regular.otf", "NotoSansThai-Regular.ttf",
                                 "NotoSansCJKtc-Regular.otf", "MiSans-Normal.ttf", "MiSans-Demibold.ttf",
                                 "MiSans-Semibold.ttf", "MiSans-Light.ttf"});
    fonts.LoadFolder(exeDir / "Font");

    zevik::CSessionBus bus;
    // A screenshot run is a one-shot render: it may run beside the user's program.
    if (bus.Claim() == zevik::CSessionBus::Start::Second && opt.screenshot.empty()) {
        std::fprintf(stderr, "zevik: already running; brought it to the front\n");
        return 0;
    }

    // The devices: the emulated ones asked for; else the real ones, with an emulated device of each
    // family standing in while none is plugged in (so every page, the keyboard's music mode included,
    // can be tried without hardware).
    const bool fallback = opt.emulate.empty();
    std::unique_ptr<zevik::CEmulation> emulation;
    std::unique_ptr<zevik::IHidBackend> hidraw;
    std::unique_ptr<zevik::CFallbackBackend> realOrEmulated;
    zevik::EmulationOptions emu;
    emu.list = fallback ? kStandInDevices : opt.emulate;
    emu.stateFile = opt.emulatorState;
    emu.logFile = opt.emulatorLog;
    std::string emulationError;
    emulation = zevik::CEmulation::Create(emu, emulationError);
    if (emulation == nullptr) {
        std::fprintf(stderr, "zevik: --emulate: %s\n", emulationError.c_str());
        return 2;
    }
    zevik::IHidBackend* backend = &emulation->Backend();
    if (fallback) {
        hidraw = std::make_unique<zevik::CHidrawBackend>();
        realOrEmulated =
            std::make_unique<zevik::CFallbackBackend>(*hidraw, emulation->Backend(), IsSupportedPath);
        backend = realOrEmulated.get();
    }
    const auto locations = opt.dataDir.empty()
                               ? std::make_unique<zevik::CProfileLocations>()
                               : std::make_unique<zevik::CProfileLocations>(opt.dataDir, exeDir);

    zevik::CQtMessageLoop loop;
    zevik::CQtUiBackend uiBackend;
    zevik::SetUiBackend(&uiBackend);
    zevik::CPaintManagerUI::SetResourcePath((exeDir / "skin").string() + "/");
    // The tray and window icon.
    uiBackend.SetIconFile(zevik::CMainWnd::kIconId,
                          QString::fromStdString(
                              (exeDir / "skin" / "common" / "device_ico" / "ms_device_select.png").string()));
    zevik::CResourceManager& resources = *zevik::CResourceManager::GetInstance();
    if (!resources.LoadResource("res.xml")) {
        std::fprintf(stderr, "zevik: %s\n", resources.GetLastError().c_str());
        zevik::SetUiBackend(nullptr);
        return 1;
    }

    zevik::DeviceContext context;
    context.hidBackend = backend;
    context.uiLoop = &loop;
    context.profileLocations = locations.get();
    context.emulation = emulation.get();

    int rc = 0;
    {
        zevik::CMainWnd window(context, &bus);
        if (!opt.dataDir.empty())
            window.SetSettingsFile(std::filesystem::path(opt.dataDir) / "settings.json");
        window.SetTrayAvailable(QSystemTrayIcon::isSystemTrayAvailable());
        // The settings window's update check: ZEVIK_UPDATE_SERVER is read by the window itself.
        zevik::ConfigureUpdateCaFile(zevik::ResolveUpdateCaFile(std::nullopt));
        window.SetProfileFileChooser(ChooseProfileFile);
        window.SetPatternFileChooser([](bool save, const std::string& title, const std::string& suggested,
                                        const std::string& filterName, const std::vector<std::string>& patterns) {
            QStringList list;
            for (const std::string& p : patterns) list << QString::fromStdString(p);
            const QString filter = QString::fromStdString(filterName) + " (" + list.join(' ') + ")";
            const QString file =
                save ? QFileDialog::getSaveFileName(nullptr, QString::fromStdString(title), QString::fromStdString(suggested), filter)
                     : QFileDialog::getOpenFileName(nullptr, QString::fromStdString(title), {}, filter);
            return std::filesystem::path(file.toStdString());
        });
        window.SetImageFileChooser([] {
            const QString file =
                QFileDialog::getOpenFileName(nullptr, QObject::tr("Background image"), {},
                                             QObject::tr("Images (*.png *.jpg *.jpeg *.bmp);;All files (*)"));
            return std::filesystem::path(file.toStdString());
        });
        // The title says when the emulated mouse stands in for a real one. It does until the scan's
        // first look finds a real device, which switches the title like any later plug.
        const std::string title(zevik::CMainWnd::kProductName);
        // Resolved when set: the window applies the user's language as it initialises.
        const auto titleFor = [&title, &resources](bool toStandIn) {
            return toStandIn ? title + " \u2014 " + resources.ResolveText("main_emulated_title") : title;
        };
        const bool standIn = fallback && realOrEmulated->UsingStandIn();
        if (fallback) {
            realOrEmulated->SetOnSwitch([&](bool toStandIn) {
                QMetaObject::invokeMethod(
                    qApp, [&window, &titleFor, toStandIn] { window.SetWindowText(titleFor(toStandIn)); });
            });
        }
        if (window.Create(0, title, kVisible, 0, 0, 0, kWindowWidth, kWindowHeight) == 0) {
            std::fprintf(stderr, "zevik: the main skin did not load: %s\n", window.GetSkinError().c_str());
            zevik::SetUiBackend(nullptr);
            return 1;
        }
        // After the window-init the loop has queued: the language is the user's by then.
        loop.PostTask([&window, &titleFor, standIn] { window.SetWindowText(titleFor(standIn)); });
        window.CenterWindow();
        zevik::CQuitSignals quitSignals([&window] { window.ExitProgram(); });
        const auto displays =
            zevik::WatchDisplays([&window] { window.PostMessage(zevik::WM_DISPLAYCHANGE); });
        bus.SetTarget(&window);
        bus.SetOnRecord(
            [&window](unsigned kind, std::span<const std::uint8_t> data) { window.OnCopyData(kind, data); });
        bus.WatchSleep([&window](bool suspending) {
            window.SendMessage(
                zevik::WM_POWERBROADCAST,
                suspending ? zevik::CMainWnd::kPowerSuspend : zevik::CMainWnd::kPowerResumeAutomatic, 0);
        });
        if (!opt.screenshot.empty()) {
            // The window shows itself once the devices were looked for; the picture is taken then.
            window.SetOnFirstShown([&] {
                // A dialog is opened as its opener does; the picture is taken while it runs, and the
                // shutdown closes it.
                const bool dialog = opt.screenshotWindow != "main";
                if (!opt.screenshotTab.empty()) {
                    // The tab of the shown device's page: every device page has tabs of the same names.
                    zevik::CControlUI* page = window.GetCurrentDevice();
                    zevik::CControlUI* found = page != nullptr
                                                   ? window.GetPaintManager()->FindSubControlByName(page, opt.screenshotTab)
                                                   : window.FindControl(opt.screenshotTab);
                    if (auto* tab = dynamic_cast<zevik::COptionUI*>(found)) {
                        tab->Activate();
                    } else {
                        std::fprintf(stderr, "zevik: no page tab \"%s\"\n", opt.screenshotTab.c_str());
                    }
                }
                QTimer::singleShot(opt.screenshotAfter, [&, dialog] {
                    const zevik::CWindowWnd* shown = &window;
                    if (opt.screenshotWindow == "skin") {
                        shown = window.GetSkinFrame();
                    } else if (dialog) {
                        shown = zevik::CSecondaryWnd::LastOpened();
                    }
                    zevik::CQtWindowHost* host = shown != nullptr ? uiBackend.HostOf(*shown) : nullptr;
                    const QImage image = host != nullptr ? host->Widget()->grab().toImage() : QImage();
                    if (image.isNull() || !image.save(QString::fromStdString(opt.screenshot), "PNG")) {
                        std::fprintf(stderr, "zevik: could not save the screenshot to %s\n",
                                     opt.screenshot.c_str());
                        rc = 1;
                    }
                    window.ExitProgram();
                });
                if (opt.screenshotWindow == "skin") {
                    window.OpenSkinFrame();
                } else if (opt.screenshotWindow == "settings") {
                    window.OpenSettingsWindow(false);
                } else if (opt.screenshotWindow == "about") {
                    window.OpenAboutWindow();
                } else if (opt.screenshotWindow == "message") {
                    window.AskUser("message_text_29", 1);
                } else if (opt.screenshotWindow == "music") {
                    window.OpenMusicWindow();
                } else if (opt.screenshotWindow == "color") {
                    // As a click on the first stage's colour ("DPI_color_option_0") opens it.
                    if (auto* mouse = dynamic_cast<zevik::COrbantixMouseDevice*>(window.GetCurrentDevice())) {
                        mouse->OnStageColour(0);
                    } else {
                        window.PickColour(0xFFFFFFFF);
                    }
                }
            });
            QTimer::singleShot(kScreenshotGiveUpMs, [&] {
                if (window.IsWindowVisible() || window.IsShutDown()) return;
                std::fprintf(stderr, "zevik: the window did not show; no screenshot\n");
                rc = 1;
                window.ExitProgram();
            });
        } else {
            window.SetStartHidden(opt.tray);
        }
        const int loopRc = loop.Run();
        window.ExitProgram();  // the loop also ends when the desktop session closes
        if (rc == 0) rc = loopRc;
        bus.SetTarget(nullptr);
        if (window.GetHWND() != 0) window.DestroyWindow();
    }
    if (emulation != nullptr && !opt.emulatorState.empty()) {
        std::string error;
        if (!emulation->SaveState(error)) {
            std::fprintf(stderr, "zevik: --emulator-state: %s\n", error.c_str());
            rc = 1;
        }
    }
    zevik::SetUiBackend(nullptr);
    return rc;
}
