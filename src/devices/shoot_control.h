#pragma once
// IShootControl: what the mouse page asks of its recoil control ("ShootControlItem"): to be set up on
// the mouse's pattern files and their default copies. The control lives with the editors.

#include <filesystem>

namespace zevik {

class IShootControl {
public:
    static constexpr const char* kInterfaceName = "ShootControl";

    virtual ~IShootControl() = default;
    // Takes the folders, makes sure every pattern file can be read, shows gun 1, bullet 1.
    virtual void SetUp(const std::filesystem::path& folder, const std::filesystem::path& defaultFolder) = 0;
};

}  // namespace zevik
