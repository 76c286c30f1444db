#pragma once
// The interface language at start: the entry of "DefaultData/Language.config" whose id the settings
// file saved (the first entry when none matches or the list is unreadable), with the texts of its
// page files added to the main table.

#include <filesystem>

namespace zevik {

class CResourceManager;

void ApplyLanguage(CResourceManager& resources, const std::filesystem::path& exeDir);

}  // namespace zevik
