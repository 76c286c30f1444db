// zevikctl settings: the interface language, on the headless main window as the settings window
// sets it.
//   settings languages           INDEX<TAB>Language_ID<TAB>Language_text per language (--json: a list)
//   settings language            "INDEX Language_ID Language_text" of the current language
//   settings language INDEX      switches to it (saved for the next start) and prints it

#include <json/json.h>

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli_context.h"
#include "commands.h"
#include "headless_start.h"
#include "settings/json_file_util.h"
#include "shell/headless_run.h"
#include "shell/main_wnd.h"
#include "shell/secondary_wnd.h"

namespace zevik::cli {

namespace {

void PrintCurrent(CMainWnd& window) {
    const std::vector<LanguageEntry> list = window.Languages();
    const int index = window.GetLanguageIndex();
    if (index < 0 || index >= static_cast<int>(list.size())) {
        std::cout << index << '\n';
        return;
    }
    const LanguageEntry& entry = list[static_cast<std::size_t>(index)];
    std::cout << index << ' ' << entry.id << ' ' << entry.text << '\n';
}

int RunLanguages(CliContext& context) {
    CHeadlessRun run;
    if (!StartHeadlessRun(context, run)) return kExitFailed;
    const std::vector<LanguageEntry> list = run.Session().Window().Languages();
    if (context.options.json) {
        Json::Value out(Json::arrayValue);
        for (std::size_t i = 0; i < list.size(); ++i) {
            Json::Value entry(Json::objectValue);
            entry["index"] = static_cast<int>(i);
            entry["Language_ID"] = list[i].id;
            entry["Language_text"] = list[i].text;
            entry["current"] = static_cast<int>(i) == run.Session().Window().GetLanguageIndex();
            out.append(entry);
        }
        std::cout << CJsonFileUtil::StyledText(out);
    } else {
        for (std::size_t i = 0; i < list.size(); ++i) {
            std::cout << i << '\t' << list[i].id << '\t' << list[i].text << '\n';
        }
    }
    return FinishHeadlessRun(run, kExitOk);
}

int RunLanguage(CliContext& context, std::optional<int> index) {
    CHeadlessRun run;
    if (!StartHeadlessRun(context, run)) return kExitFailed;
    CMainWnd& window = run.Session().Window();
    if (index) {
        const int count = static_cast<int>(window.Languages().size());
        if (*index < 0 || *index >= count) {
            std::cerr << "zevikctl: no language " << *index << " (the list has 0 to " << count - 1 << ")\n";
            return FinishHeadlessRun(run, kExitFailed);
        }
        window.SendMessage(UM_LANGUAGE_CHANGED, static_cast<WPARAM>(*index), 0);
    }
    PrintCurrent(window);
    return FinishHeadlessRun(run, kExitOk);
}

}  // namespace

void RegisterSettingsCommands(CLI::App& app, CliContext& context, int& exitCode) {
    CLI::App* settings = app.add_subcommand("settings", "The program's settings: the interface language");
    settings->require_subcommand(1);
    CLI::App* languages = settings->add_subcommand("languages", "Every language the program offers");
    languages->callback([&context, &exitCode] { exitCode = RunLanguages(context); });

    auto index = std::make_shared<int>(0);
    CLI::App* language =
        settings->add_subcommand("language", "Show the current language, or switch to INDEX");
    CLI::Option* indexOption =
        language->add_option("INDEX", *index, "A language's index in 'settings languages'");
    language->callback([&context, &exitCode, index, indexOption] {
        exitCode = RunLanguage(context, indexOption->count() > 0 ? std::optional<int>(*index) : std::nullopt);
    });
}

}  // namespace zevik::cli
