// Fuzz target: any bytes as "default_light.json" and as "velda_light.config", read for every device
// kind as the lighting pages read them. Reading must neither crash nor throw nor change the files.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "settings/light_names_file.h"

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path file = Folder() / "light.json";
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    { std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes; }
    for (int kind = -1; kind <= 4; ++kind) {
        const LightNames names = ReadLightNames(file, file, kind);
        for (const LightModeName& mode : names.modes) (void)mode.name.size();
    }
    std::ifstream in(file, std::ios::binary);
    const std::string after((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (after != bytes) __builtin_trap();  // the reader wrote to the file
    return 0;
}
