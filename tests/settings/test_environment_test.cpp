// ctest runs every test with HOME and the XDG folders inside the build tree. Should that ever stop
// working, this test fails before a test that forgot its temporary folder writes into the user's
// own profiles.

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "settings/profile_locations.h"

namespace zevik::test {
namespace {

bool Under(const std::filesystem::path& path, const std::filesystem::path& folder) {
    const std::filesystem::path relative =
        path.lexically_normal().lexically_relative(folder.lexically_normal());
    return !relative.empty() && *relative.begin() != "..";
}

TEST(TestEnvironment, HomeAndXdgFoldersLieInTheBuildTree) {
    const std::filesystem::path testHome = ZEVIK_TEST_HOME;
    for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"}) {
        const char* value = std::getenv(name);
        ASSERT_NE(value, nullptr) << name << " is not set: run the tests through ctest";
        EXPECT_TRUE(Under(value, testHome) || std::filesystem::path(value) == testHome)
            << name << "=" << value << " is outside " << testHome;
    }
    const std::filesystem::path dataRoot = CProfileLocations::DefaultDataRoot();
    EXPECT_TRUE(Under(dataRoot, testHome)) << dataRoot;
    if (const passwd* user = getpwuid(getuid()); user != nullptr && user->pw_dir != nullptr) {
        EXPECT_NE(dataRoot,
                  std::filesystem::path(user->pw_dir) / ".local/share" / CProfileLocations::kProductName)
            << "the tests would use the user's own profiles";
    }
}

}  // namespace
}  // namespace zevik::test
