// Fuzz target: any bytes as a light configuration, as a light file it names, and as a file to
// import. Reading, listing, importing and exporting must neither crash nor throw; a configuration
// the import refuses keeps its bytes, and nothing is ever written outside the kind folder.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "settings/json_file_util.h"
#include "settings/light_files.h"
#include "settings/light_sequence_store.h"

namespace fs = std::filesystem;
using namespace zevik;

namespace {

const fs::path& Folder() {
    static const fs::path folder = [] {
        std::string pattern = (fs::temp_directory_path() / "zevik-fuzz-light-XXXXXX").string();
        return fs::path(::mkdtemp(pattern.data()));
    }();
    return folder;
}

void Write(const fs::path& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path dir = Folder();
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec)) fs::remove_all(entry.path(), ec);
    const fs::path kind = dir / "kind";
    fs::create_directory(kind, ec);
    const std::string input(reinterpret_cast<const char*>(data), size);

    // As the configuration, and as the light file its first entries might name.
    const fs::path config = kind / std::string(kLightConfigFileName);
    Write(config, data, size);
    for (const char* name : {"a.light", "0.light", "x.light"}) Write(kind / name, data, size);
    const Json::Value parsed = CJsonFileUtil().ReadJsonFile(config);
    for (int device : {-1, 0, 1, 2}) {
        LightSequenceEntries(parsed, device);
        for (std::size_t position : {0u, 1u, 11u, 300u}) ReadLightSequence(config, parsed, device, position);
    }
    IsPlainLightIdentifier(input);
    LightStepsOf(parsed);
    LightFileProblem(parsed);

    CLightSequenceStore store(kind);
    std::vector<ListedLightSequence> listed;
    std::string error;
    store.List(listed, error);
    for (std::size_t position : {0u, 1u, 9u}) store.Export(position, dir / "exported.light");

    // As a file to import over that configuration: a refusal leaves the configuration's bytes.
    Write(dir / "import.light", data, size);
    const LightSequenceResult result = store.Import(dir / "import.light", 9, input);
    if (!result && Read(config) != input) std::abort();
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        const std::string name = entry.path().filename().string();
        if (name != "kind" && name != "import.light" && name != "exported.light") std::abort();
    }
    return 0;
}
