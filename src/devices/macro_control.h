#pragma once
// What a device page needs of its macro page: where the kind's macro files are, and to show them.

#include <filesystem>
#include <string_view>

namespace zevik {

class IMacroControl {
public:
    static constexpr std::string_view kInterfaceName = "IMacroControl";
    virtual ~IMacroControl() = default;
    virtual void SetMacroFolder(const std::filesystem::path& folder) = 0;
    virtual void LoadMacroList() = 0;
};

}  // namespace zevik
