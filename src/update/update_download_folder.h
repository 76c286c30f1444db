#pragma once
// The private folder downloads go to: "<temp>/ZEVIK-R300Prime-<uid>/UpdateData". Other users may
// share the temporary folder, so both levels must be real folders owned by us and closed to others.

#include <filesystem>
#include <optional>
#include <string>

namespace zevik {

// $TMPDIR, else /tmp.
std::filesystem::path DefaultUpdateTempRoot();

// Creates the folders when missing (mode 0700) and checks them; nothing, with the reason, when one
// is a symbolic link, not a folder, not ours or open to others.
std::optional<std::filesystem::path> PrepareUpdateDownloadFolder(const std::filesystem::path& tempRoot,
                                                                 std::string& error);

}  // namespace zevik
