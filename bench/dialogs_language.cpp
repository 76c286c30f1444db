// The language switch and the message dialog on a headless main window with the mouse page built:
//   BM_ApplyLanguage         one switch between English and Simplified Chinese (every text of the
//                            main skin and the mouse page resolved again, the choice saved);
//   BM_SwitchTexts           the same without saving the choice;
//   BM_BuildMainWindow       the peer: creating the main window, which builds the main skin and the
//                            mouse page from XML, and destroying it;
//   BM_ShowMessage           the message dialog built, shown, answered and closed.
// Goal: the switch below 20 % of the build, the dialog below 5 ms.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "devices/device_context.h"
#include "settings/profile_locations.h"
#include "shell/dialog_answers.h"
#include "shell/language_texts.h"
#include "shell/main_wnd.h"
#include "shell/msg_wnd.h"
#include "ui/paint_manager_ui.h"
#include "ui/plain_message_loop.h"
#include "ui/resource_manager.h"

namespace {

const std::filesystem::path kResources = std::filesystem::path(ZEVIK_RESOURCE_DIR);

// A main window without devices, its data and settings in a temporary folder.
struct Fixture {
    Fixture()
        : folder(std::filesystem::temp_directory_path() / "zevik-bench-language"),
          locations(folder / "data", kResources) {
        zevik::CPaintManagerUI::SetResourcePath((kResources / "skin").string() + "/");
        zevik::CResourceManager::GetInstance()->LoadResource("res.xml");
        context.uiLoop = &loop;
        context.profileLocations = &locations;
    }
    ~Fixture() { std::filesystem::remove_all(folder); }

    std::unique_ptr<zevik::CMainWnd> Open() {
        auto wnd = std::make_unique<zevik::CMainWnd>(context);
        wnd->SetSettingsFile(folder / "settings.json");
        wnd->Create(0, "main", 0, 0);
        loop.ProcessPending();  // the window-init: the saved language applied
        return wnd;
    }

    std::filesystem::path folder;
    zevik::CPlainMessageLoop loop;
    zevik::CProfileLocations locations;
    zevik::DeviceContext context;
};

void BM_ApplyLanguage(benchmark::State& state) {
    Fixture fixture;
    auto wnd = fixture.Open();
    int index = 0;
    for (auto _ : state) {
        index = 1 - index;
        wnd->ApplyLanguage(index);
    }
    wnd->DestroyWindow();
}
BENCHMARK(BM_ApplyLanguage)->Unit(benchmark::kMillisecond);

// The texts alone: the switch without the settings file's atomic save (which is most of the above).
void BM_SwitchTexts(benchmark::State& state) {
    Fixture fixture;
    auto wnd = fixture.Open();
    const std::vector<zevik::LanguageEntry> list = wnd->Languages();
    std::size_t index = 0;
    for (auto _ : state) {
        index = 1 - index;
        zevik::LoadLanguageTexts(*zevik::CResourceManager::GetInstance(), list.at(index));
    }
    wnd->DestroyWindow();
}
BENCHMARK(BM_SwitchTexts)->Unit(benchmark::kMillisecond);

void BM_BuildMainWindow(benchmark::State& state) {
    Fixture fixture;
    for (auto _ : state) {
        auto wnd = fixture.Open();
        wnd->DestroyWindow();
    }
}
BENCHMARK(BM_BuildMainWindow)->Unit(benchmark::kMillisecond);

void BM_ShowMessage(benchmark::State& state) {
    Fixture fixture;
    auto wnd = fixture.Open();
    for (auto _ : state) {
        zevik::CDialogAnswers::Instance().Push("yes");
        benchmark::DoNotOptimize(zevik::ShowMessage(wnd->GetHWND(), {}, "message_text_29", 96, 1));
    }
    wnd->DestroyWindow();
}
BENCHMARK(BM_ShowMessage)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
