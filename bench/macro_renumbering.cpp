// Deleting a macro of the mouse's kind when every profile binds a button to a macro after the
// deleted one, so every profile file is read, renumbered and written back atomically:
//   BM_RenumberProfiles/100          the renumbering of 100 profile files (more than the profile bar
//                                    allows: the files alone);
//   BM_DeleteMacroAcrossProfiles/50  the whole deletion with the most profiles a kind may hold (both
//                                    questions answered yes, the current profile kept in its file,
//                                    the list entry and macro file removed).
// The profiles are rebuilt between iterations outside the timing. Uses the shipped mouse factory file.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "settings/json_file_util.h"
#include "settings/macro_deletion.h"
#include "settings/macro_key_renumbering.h"
#include "settings/profile_store.h"

namespace {

namespace fs = std::filesystem;

const fs::path kFactory = fs::path(ZEVIK_RESOURCE_DIR) / "DefaultData" / "mouse.Json";

struct Fixture {
    Fixture() {
        std::string pattern = (fs::temp_directory_path() / "zevik-bench-macros-XXXXXX").string();
        root = ::mkdtemp(pattern.data());
    }
    ~Fixture() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    fs::path Kind() const { return root / "mouse"; }

    // count profiles binding button 3 to macro 2 of three macros; beyond the profile bar's limit
    // the further files are copies that the list does not name.
    void Build(int count) {
        std::error_code ec;
        fs::remove_all(Kind(), ec);
        zevik::CProfileStore store(Kind(), kFactory, 2);
        store.InitProfiles();
        for (int i = 1; i < std::min(count, zevik::CProfileStore::kMaxProfiles); ++i) store.AddProfile();
        const zevik::CJsonFileUtil files;
        profiles.clear();
        for (const zevik::ProfileEntry& e : store.ListedProfiles()) {
            const fs::path file = store.ProfileFilePathOf(e.uuid);
            Json::Value document = files.ReadJsonFile(file);
            document["Device"][0]["KeyList"][3]["Assignment"] = 0x700201;
            files.WriteJsonFile(file, document);
            profiles.push_back(file);
        }
        for (int i = static_cast<int>(profiles.size()); i < count; ++i) {
            const fs::path copy = Kind() / ("extra" + std::to_string(i) + ".Json");
            fs::copy_file(profiles[0], copy, ec);
            profiles.push_back(copy);
        }
        Json::Value list;
        for (const char* guid : {"a", "b", "c"}) {
            Json::Value entry;
            entry["MacroName"] = guid;
            entry["Guid"] = guid;
            list["MacroInfo"].append(entry);
            std::ofstream(Kind() / (std::string(guid) + ".mac")) << R"({"Events":[]})";
        }
        files.WriteJsonFile(Kind() / "macro.config", list);
    }

    fs::path root;
    std::vector<fs::path> profiles;
};

void BM_RenumberProfiles(benchmark::State& state) {
    Fixture fixture;
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        fixture.Build(count);
        state.ResumeTiming();
        const zevik::ProfilesRenumbered r = zevik::RenumberProfilesForDeletedMacro(fixture.profiles, kFactory, 0, 1);
        if (r.changed != count) state.SkipWithError("not every profile was renumbered");
    }
}
BENCHMARK(BM_RenumberProfiles)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DeleteMacroAcrossProfiles(benchmark::State& state) {
    Fixture fixture;
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        fixture.Build(count);
        zevik::CProfileFileMacroKeys current(fixture.profiles[0], kFactory, 0);
        const zevik::MacroDeletionPlace place{fixture.Kind(), kFactory, 0, fixture.profiles[0]};
        state.ResumeTiming();
        const zevik::MacroDeletionResult r =
            zevik::DeleteMacroEverywhere(place, 1, current, [](const std::string&) { return true; });
        if (!r.ok() || r.otherProfilesChanged != count - 1) state.SkipWithError("deletion did not renumber every profile");
    }
}
BENCHMARK(BM_DeleteMacroAcrossProfiles)->Arg(zevik::CProfileStore::kMaxProfiles)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
