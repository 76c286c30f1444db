// zevik: the desktop configuration program.
//   zevik [--emulate LIST] [--emulator-state FILE] [--emulator-log FILE] [--data-dir DIR]
//         [--screenshot FILE.png [--screenshot-after MS]]
// Without --emulate it serves the mouse it finds through hidraw; when none is present it runs with
// an emulated mouse and says so in the window title. A second start brings the first to the front.
#include <json/json.h>

#include <CLI/CLI.hpp>
#include <QApplication>
#include <QImage>
#include <QSystemTrayIcon>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <pugixml.hpp>
#include <string>

#include "emulator/emulation.h"
#include "settings/profile_locations.h"
#include "session_bus.h"
#include "transport/hid/hidraw_backend.h"
#include "ui/qt/dark_theme.h"
#include "ui/qt/font_loader.h"
#include "ui/qt/qt_message_loop.h"
#include "ui/qt/qt_ui_backend.h"
#include "ui/qt/qt_window_host.h"
#include "ui/resource_manager.h"
#include "ui/ui_lib.h"
#include "zevik_window.h"

namespace {

constexpr zevik::UINT kVisible = 0x10000000;
constexpr const char* kTitle = "ZEVIK R300 Prime";
constexpr const char* kEmulatedMousePath = "emu:mouse#vid_320f&pid_225a&mi_01&col04";

struct Options {
    std::string emulate;
    std::string emulatorState;
    std::string emulatorLog;
    std::string dataDir;
    std::string screenshot;
    int screenshotAfter = 1000;
};

// The command collection of a mouse on its cable among the hidraw paths; "" when none.
std::string FindMousePath(zevik::IHidBackend& backend) {
    std::vector<std::string> paths;
    if (!backend.Enumerate(paths)) return {};
    for (const std::string& path : paths) {
        if (path.find("vid_320f&pid_225a&mi_01") != std::string::npos && path.ends_with("col04")) return path;
    }
    return {};
}

// Adds the texts of a page's language file to the current table (loading would replace it).
void AddLanguageTexts(zevik::CResourceManager& resources, const std::filesystem::path& file) {
    pugi::xml_document doc;
    if (!doc.load_file(file.c_str())) return;
    for (pugi::xml_node text : doc.child("Language").children("Text")) {
        const char* id = text.attribute("id").value();
        if (*id == '\0') continue;
        pugi::xml_attribute value = text.attribute("value");
        resources.SetText(id, value ? value.value() : text.text().get());
    }
}

// The saved interface language ("LANGUAGE" in the settings file, a "Language_ID"), 0 when none.
int SavedLanguageId() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    std::filesystem::path folder = xdg != nullptr && *xdg != '\0' ? std::filesystem::path(xdg)
                                   : home != nullptr              ? std::filesystem::path(home) / ".config"
                                                                  : std::filesystem::path();
    std::ifstream in(folder / "ZEVIK-R300Prime" / "settings.json");
    Json::Value settings;
    if (!in || !Json::Reader().parse(in, settings) || !settings.isObject()) return 0;
    return settings["LANGUAGE"].isInt() ? settings["LANGUAGE"].asInt() : 0;
}

// Loads the language of the list "DefaultData/Language.config" whose id was saved (the last such
// entry; the first entry when none matches or the list is unreadable), with its pages' texts.
void ApplyLanguage(zevik::CResourceManager& resources, const std::filesystem::path& exeDir) {
    std::ifstream in(exeDir / "DefaultData" / "Language.config");
    Json::Value list;
    Json::Value entry;
    if (in && Json::Reader().parse(in, list) && list["Language"].isArray() && !list["Language"].empty()) {
        const int saved = SavedLanguageId();
        entry = list["Language"][0];
        for (const Json::Value& candidate : list["Language"]) {
            if (candidate["Language_ID"].isInt() && candidate["Language_ID"].asInt() == saved)
                entry = candidate;
        }
    }
    const std::string name =
        entry["Language_name"].isString() ? entry["Language_name"].asString() : "English";
    const std::string file =
        entry["Language_file"].isString() ? entry["Language_file"].asString() : "lang/lan_main_en.xml";
    resources.SetLanguage(name);
    resources.LoadLanguage(file);
    const Json::Value pages =
        entry.isMember("Language_page_files") ? entry["Language_page_files"] : Json::Value(Json::arrayValue);
    for (const Json::Value& page : pages) {
        if (page.isString()) AddLanguageTexts(resources, exeDir / "skin" / page.asString());
    }
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
    cli.add_option("--screenshot-after", opt.screenshotAfter, "milliseconds before the screenshot")
        ->check(CLI::Range(0, 600000));
    CLI11_PARSE(cli, argc, argv);

    if (!opt.screenshot.empty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("zevik");
    zevik::ApplyDarkTheme(app);

    zevik::CSessionBus instance;
    // A screenshot run is a one-shot render: it may run beside the user's program.
    if (instance.Claim() == zevik::CSessionBus::Start::Second && opt.screenshot.empty()) {
        std::fprintf(stderr, "zevik: already running; brought it to the front\n");
        return 0;
    }

    const std::filesystem::path exeDir(zevik::CPaintManagerUI::GetInstancePath());
    zevik::CFontLoader fonts;
    fonts.LoadFolder(exeDir / "Font");

    // The devices: the emulated ones asked for, else the real mouse, else an emulated mouse.
    std::unique_ptr<zevik::CEmulation> emulation;
    std::unique_ptr<zevik::IHidBackend> hidraw;
    zevik::IHidBackend* backend = nullptr;
    std::string mousePath;
    bool fallback = false;
    if (opt.emulate.empty()) {
        hidraw = std::make_unique<zevik::CHidrawBackend>();
        mousePath = FindMousePath(*hidraw);
        if (mousePath.empty()) {
            opt.emulate = "mouse";
            fallback = true;
        } else {
            backend = hidraw.get();
        }
    }
    if (!opt.emulate.empty()) {
        zevik::EmulationOptions emu;
        emu.list = opt.emulate;
        emu.stateFile = opt.emulatorState;
        emu.logFile = opt.emulatorLog;
        std::string error;
        emulation = zevik::CEmulation::Create(emu, error);
        if (emulation == nullptr) {
            std::fprintf(stderr, "zevik: --emulate: %s\n", error.c_str());
            return 2;
        }
        backend = &emulation->Backend();
        if (emulation->Model("mouse") != nullptr) mousePath = kEmulatedMousePath;
    }
    const auto locations = opt.dataDir.empty()
                               ? std::make_unique<zevik::CProfileLocations>()
                               : std::make_unique<zevik::CProfileLocations>(opt.dataDir, exeDir);

    zevik::CQtMessageLoop loop;
    zevik::CQtUiBackend uiBackend;
    zevik::SetUiBackend(&uiBackend);
    zevik::CPaintManagerUI::SetResourcePath((exeDir / "skin").string() + "/");
    // The tray and window icon: the mouse's card image.
    uiBackend.SetIconFile(zevik::CZevikWindow::kTrayIconId,
                          QString::fromStdString(
                              (exeDir / "skin" / "common" / "device_ico" / "ms_device_select.png").string()));
    zevik::CResourceManager& resources = *zevik::CResourceManager::GetInstance();
    resources.LoadResource("res.xml");
    ApplyLanguage(resources, exeDir);

    zevik::DeviceContext context;
    context.hidBackend = backend;
    context.uiLoop = &loop;
    context.profileLocations = locations.get();

    int rc = 0;
    {
        zevik::CZevikWindow window(context, mousePath, QSystemTrayIcon::isSystemTrayAvailable());
        std::string title = kTitle;
        if (fallback)
            title += " \u2014 " + resources.ResolveText("main_emulated_title") + " (no device found)";
        if (window.Create(0, title, kVisible, 0) == 0) {
            std::fprintf(stderr, "zevik: the main skin did not load: %s\n", window.GetSkinError().c_str());
            zevik::SetUiBackend(nullptr);
            return 1;
        }
        window.SetWindowText(title);
        window.SetIcon(zevik::CZevikWindow::kTrayIconId);
        window.CenterWindow();
        if (!mousePath.empty() && !window.ConnectMouse()) {
            std::fprintf(stderr, "zevik: the mouse did not answer\n");
        }
        window.ShowStartPage();
        resources.ReloadText();
        instance.SetTarget(&window);
        instance.SetOnRecord(
            [&window](unsigned kind, std::span<const std::uint8_t> data) { window.OnCopyData(kind, data); });
        if (!opt.screenshot.empty()) {
            QTimer::singleShot(opt.screenshotAfter, [&] {
                zevik::CQtWindowHost* host = uiBackend.HostOf(window);
                const QImage image = host != nullptr ? host->Widget()->grab().toImage() : QImage();
                if (image.isNull() || !image.save(QString::fromStdString(opt.screenshot), "PNG")) {
                    std::fprintf(stderr, "zevik: could not save the screenshot to %s\n",
                                 opt.screenshot.c_str());
                    rc = 1;
                }
                window.ExitProgram();
            });
        }
        const int loopRc = loop.Run();
        window.ExitProgram();  // the loop also ends when the desktop session closes
        if (rc == 0) rc = loopRc;
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
