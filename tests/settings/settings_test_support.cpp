#include "settings/settings_test_support.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "settings/json_file_util.h"

namespace zevik::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "zevik-settings-XXXXXX").string();
    const char* made = ::mkdtemp(pattern.data());
    EXPECT_NE(made, nullptr);
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    // Tests may have taken permissions away; give them back so everything can go.
    for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

Json::Value Parse(const std::string& text) {
    Json::Value root;
    EXPECT_TRUE(CJsonFileUtil::ParseJson(text, root)) << text;
    return root;
}

Json::Value ReadJson(const fs::path& path) { return Parse(ReadText(path)); }

void WriteJson(const fs::path& path, const Json::Value& value) { WriteText(path, CJsonFileUtil::StyledText(value)); }

fs::path ResourceDataFolder() { return fs::path(ZEVIK_TEST_DATA_DIR).parent_path().parent_path() / "resources" / "DefaultData"; }

bool RunningAsRoot() { return ::geteuid() == 0; }

}  // namespace zevik::test
