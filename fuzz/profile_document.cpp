// Fuzz target: any bytes as a profile file, a profile list and an import. Loading, every getter of
// every kind and the store operations must neither crash nor throw, and a failed load must not
// lose the file's bytes.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "settings/hs6533_profiledata.h"
#include "settings/keyboard_profiledata.h"
#include "settings/mouse_profiledata.h"
#include "settings/profile_store.h"

namespace fs = std::filesystem;
using namespace zevik;

namespace {

const fs::path& Folder() {
    static const fs::path folder = [] {
        std::string pattern = (fs::temp_directory_path() / "zevik-fuzz-XXXXXX").string();
        return fs::path(::mkdtemp(pattern.data()));
    }();
    return folder;
}

void Write(const fs::path& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void ExerciseSections(CBasicProfiledata& base) {
    base.GetLightInfo();
    base.GetAudioLightInfo();
    base.GetLightList();
    base.GetKeyList();
    base.GetDefaultKeyList();
    base.GetCustomLightEffects();
    std::vector<KeyAssignRecord> keys(3);
    base.SetKeyList(keys);
    base.SetLightInfo(LightInfoRecord {});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path dir = Folder();
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec)) fs::remove_all(entry.path(), ec);
    const fs::path factory = dir / "factory.Json";
    { std::ofstream(factory) << R"({"Device": [{"LightInfo": {"Red": 1}}]})"; }

    // As a profile file of each kind.
    const fs::path profile = dir / "p.Json";
    Write(profile, data, size);
    {
        CMouseProfiledata mouse;
        mouse.SetDefaultPath(factory);
        mouse.LoadProfile(profile);
        mouse.LoadLightConfig(profile);
        ExerciseSections(mouse);
        mouse.GetDpiStages();
        mouse.GetMouseSystem();
        mouse.GetCorrectInfo();
        mouse.SetMouseSystem(MouseSystemRecord {});
        mouse.SetDpiStages(std::vector<DpiStageRecord>(6));
        mouse.SaveProfile();
    }
    {
        Write(profile, data, size);
        CKeyboardProfiledata keyboard;
        keyboard.SetDefaultPath(profile);  // the input as the factory file too
        keyboard.LoadProfile(dir / "k.Json");
        ExerciseSections(keyboard);
        keyboard.GetKeyboardSystem();
        keyboard.GetKeyColors(keyboard.GetKeyColorGroup() & 0xFF, 170);
        keyboard.SetKeyColors(std::vector<KeyColorRecord>(4), 1);
    }
    {
        Write(profile, data, size);
        CHs6533Profiledata headset;
        headset.SetDefaultPath(factory);
        headset.LoadProfile(profile);
        ExerciseSections(headset);
        const HeadsetSystemRecord system = headset.GetHeadsetSystem();
        headset.GetEqValues(system.eqType);
        headset.GetCustomEqValues(system.customEqSeletIndex);
        headset.GetCustomEqNames();
    }

    // As a profile list, then as an import.
    const fs::path kind = dir / "kind";
    fs::create_directory(kind, ec);
    Write(kind / "ProfileList.ini", data, size);
    CProfileStore store(kind, factory, 7);
    store.InitProfiles();
    Write(dir / "Import.json", data, size);
    store.ImportProfile(dir / "Import.json");
    store.CopyProfile();
    store.RenameProfile(std::string(reinterpret_cast<const char*>(data), size));
    store.ResetProfile();
    store.DeleteProfile();
    return 0;
}
