// The macro files fuzz target's properties on its seed corpus (tests/data/macro_corpus), in the
// normal suite: every file as "macro.config", as macro documents and as a file to import.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "settings/macro_files_check.h"
#include "settings_test_support.h"

namespace zevik {
namespace {

TEST(MacroCorpusReplay, EverySeedKeepsTheProperties) {
    const std::filesystem::path corpus = std::filesystem::path(ZEVIK_TEST_DATA_DIR) / "macro_corpus";
    test::TempFolder folder;
    int seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        EXPECT_EQ(test::CheckMacroFilesInput(folder.path(), bytes.str()), "") << entry.path().filename();
        ++seeds;
    }
    EXPECT_GT(seeds, 0) << "no seeds in " << corpus;
}

}  // namespace
}  // namespace zevik
