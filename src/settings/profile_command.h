#pragma once
// The profile commands of the command-line tool, runnable without it: each runs the same store
// operation the profile bar runs in the program and prints the resulting list.

#include <filesystem>
#include <iosfwd>
#include <string>

#include "settings/profile_locations.h"

namespace zevik {

struct ProfileCommandRequest {
    ProfileKind kind = ProfileKind::Mouse;
    // list, add, copy, delete, rename NAME, select INDEX, import FILE, export FILE, reset, show
    std::string command;
    std::string argument;
    std::filesystem::path dataRoot;       // empty: the default data root
    std::filesystem::path programFolder;  // empty: the executable's folder (for "DefaultData")
    bool json = false;
};

// Exit status: 0 done; 1 refused or failed (the English message on err); 2 bad arguments.
int RunProfileCommand(const ProfileCommandRequest& request, std::ostream& out, std::ostream& err);

}  // namespace zevik
