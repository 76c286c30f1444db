#include "update/update_download_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace zevik {
namespace {

bool PrivateFolder(const std::filesystem::path& folder, std::string& error) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        error = folder.string() + ": " + std::strerror(errno);
        return false;
    }
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) {
        error = folder.string() + ": " + std::strerror(errno);
        return false;
    }
    if (S_ISLNK(info.st_mode) || !S_ISDIR(info.st_mode)) {
        error = folder.string() + " is not a folder (or is a symbolic link)";
        return false;
    }
    if (info.st_uid != ::getuid()) {
        error = folder.string() + " belongs to another user";
        return false;
    }
    if ((info.st_mode & 077) != 0) {
        error = folder.string() + " is open to other users";
        return false;
    }
    return true;
}

}  // namespace

std::filesystem::path DefaultUpdateTempRoot() {
    const char* tmp = std::getenv("TMPDIR");
    return tmp != nullptr && *tmp != '\0' ? std::filesystem::path(tmp) : std::filesystem::path("/tmp");
}

std::optional<std::filesystem::path> PrepareUpdateDownloadFolder(const std::filesystem::path& tempRoot,
                                                                 std::string& error) {
    const std::filesystem::path own = tempRoot / ("ZEVIK-R300Prime-" + std::to_string(::getuid()));
    if (!PrivateFolder(own, error)) return std::nullopt;
    const std::filesystem::path downloads = own / "UpdateData";
    if (!PrivateFolder(downloads, error)) return std::nullopt;
    return downloads;
}

}  // namespace zevik
