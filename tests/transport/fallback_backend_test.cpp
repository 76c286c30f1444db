// The fallback backend lists the stand-in's nodes until a supported real device is present, then
// the real ones only, and opens each path on the backend that listed it.

#include "transport/hid/fallback_backend.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zevik::testing {
namespace {

// Lists the paths it is given and records what it was asked to open.
class ListingBackend final : public IHidBackend {
public:
    bool Enumerate(std::vector<std::string>& out) override {
        out = paths;
        return listed;
    }
    std::unique_ptr<IHidConnection> Open(const std::string& path, bool, bool) override {
        opened.push_back(path);
        return nullptr;
    }
    std::optional<std::uint64_t> ChangeCount() override { return count; }

    std::vector<std::string> paths;
    bool listed = true;
    std::vector<std::string> opened;
    std::optional<std::uint64_t> count = 0;
};

constexpr const char* kRealMouse = "hidraw:/dev/hidraw3#vid_320f&pid_225a&mi_01&col04";
constexpr const char* kRealKeyboardOfOthers = "hidraw:/dev/hidraw1#vid_046d&pid_c31c&mi_00";
constexpr const char* kStandInMouse = "emu:mouse#vid_320f&pid_225a&mi_01&col04";

bool Supported(const std::string& path) {
    return path.find("vid_320f") != std::string::npos;
}

TEST(FallbackBackend, ListsTheStandInUntilASupportedDeviceIsPlugged) {
    ListingBackend real;
    ListingBackend standIn;
    standIn.paths = {kStandInMouse};
    CFallbackBackend backend(real, standIn, Supported);
    std::vector<bool> switches;
    backend.SetOnSwitch([&switches](bool toStandIn) { switches.push_back(toStandIn); });
    struct Step {
        std::vector<std::string> realPaths;
        bool realListed;
        std::vector<std::string> expected;
        bool standInUsed;
    };
    const Step steps[] = {
        {{}, true, {kStandInMouse}, true},
        {{kRealKeyboardOfOthers}, true, {kStandInMouse}, true},  // nothing the program serves
        {{kRealKeyboardOfOthers, kRealMouse}, true, {kRealKeyboardOfOthers, kRealMouse}, false},
        {{kRealMouse}, false, {kStandInMouse}, true},            // the real listing failed
        {{kRealKeyboardOfOthers}, true, {kStandInMouse}, true},  // unplugged again
    };
    for (const Step& step : steps) {
        real.paths = step.realPaths;
        real.listed = step.realListed;
        std::vector<std::string> paths;
        ASSERT_TRUE(backend.Enumerate(paths));
        EXPECT_EQ(paths, step.expected);
        EXPECT_EQ(backend.UsingStandIn(), step.standInUsed);
    }
    EXPECT_EQ(switches, (std::vector<bool>{false, true})) << "to the real device and back, once each";
}

TEST(FallbackBackend, OpensEachPathWhereItWasListed) {
    ListingBackend real;
    ListingBackend standIn;
    standIn.paths = {kStandInMouse};
    CFallbackBackend backend(real, standIn, Supported);
    std::vector<std::string> paths;
    backend.Enumerate(paths);
    backend.Open(kStandInMouse, true, true);
    real.paths = {kRealMouse};
    backend.Enumerate(paths);
    backend.Open(kRealMouse, true, true);
    backend.Open(kStandInMouse, true, true);  // a device still open from before goes to the stand-in
    EXPECT_EQ(real.opened, std::vector<std::string>{kRealMouse});
    EXPECT_EQ(standIn.opened, (std::vector<std::string>{kStandInMouse, kStandInMouse}));
}

TEST(FallbackBackend, ChangeCountMovesWithEitherBackendAndNeedsBoth) {
    ListingBackend real;
    ListingBackend standIn;
    CFallbackBackend backend(real, standIn, Supported);
    const auto before = backend.ChangeCount();
    ASSERT_TRUE(before.has_value());
    real.count = 1;
    EXPECT_NE(backend.ChangeCount(), before);
    const auto afterReal = backend.ChangeCount();
    standIn.count = 5;
    EXPECT_NE(backend.ChangeCount(), afterReal);
    real.count = std::nullopt;
    EXPECT_FALSE(backend.ChangeCount().has_value()) << "a backend that cannot tell makes every pass full";
}

}  // namespace
}  // namespace zevik::testing
