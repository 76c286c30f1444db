// Fuzz target: any bytes as "macro.config", as the macro documents it may name, and as a file to
// import; the properties are those of the corpus replay test (tests/settings/macro_files_check.h).

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "../tests/settings/macro_files_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "zevik-fuzz-macro-XXXXXX").string();
        return std::filesystem::path(::mkdtemp(pattern.data()));
    }();
    const std::string problem =
        zevik::test::CheckMacroFilesInput(folder, std::string_view(reinterpret_cast<const char*>(data), size));
    if (!problem.empty()) std::abort();
    return 0;
}
