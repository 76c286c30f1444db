#include "settings/json_file_util.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <json/reader.h>
#include <json/writer.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>

#include "platform/trace.h"

namespace zevik {

namespace fs = std::filesystem;

namespace {

std::string ErrnoText(int error) { return std::strerror(error); }

// Writes all of text to fd, retrying short writes and interrupted calls.
bool WriteAll(int fd, std::string_view text) {
    const char* data = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

std::optional<std::string> CJsonFileUtil::ReadFileBytes(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec || size > kMaxFileSize) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size())) return std::nullopt;
    return bytes;
}

Json::Value CJsonFileUtil::ReadJsonFile(const fs::path& path) const {
    JsonReadStatus status = JsonReadStatus::Ok;
    return ReadJsonFile(path, status);
}

Json::Value CJsonFileUtil::ReadJsonFile(const fs::path& path, JsonReadStatus& status) const {
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (ec || !fs::exists(st)) {
        status = JsonReadStatus::Missing;
        return Json::Value();
    }
    if (!fs::is_regular_file(st)) {
        status = JsonReadStatus::Unreadable;
        return Json::Value();
    }
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec || size > kMaxFileSize) {
        Trace("readjsonFile: " + path.string() + " is too large or has no size");
        status = JsonReadStatus::Unreadable;
        return Json::Value();
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        status = JsonReadStatus::Unreadable;
        return Json::Value();
    }
    std::string text(static_cast<std::size_t>(size), '\0');
    in.read(text.data(), static_cast<std::streamsize>(size));
    if (static_cast<std::uintmax_t>(in.gcount()) != size) {
        status = JsonReadStatus::Unreadable;
        return Json::Value();
    }
    if (text.empty()) {
        Trace("readjsonFile: empty " + path.string());
        status = JsonReadStatus::Invalid;
        return Json::Value();
    }
    Json::Value root;
    if (!ParseJson(text, root)) {
        Trace("readjsonFile: not JSON " + path.string());
        status = JsonReadStatus::Invalid;
        return Json::Value();
    }
    status = JsonReadStatus::Ok;
    return root;
}

bool CJsonFileUtil::ParseJson(std::string_view text, Json::Value& root) {
    Json::CharReaderBuilder builder;
    builder["collectComments"] = true;
    // The parser recurses per nesting level; the default limit keeps a hostile file from
    // exhausting the stack.
    builder["stackLimit"] = 1000;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    std::string errors;
    root = Json::Value();
    try {
        if (!reader->parse(text.data(), text.data() + text.size(), &root, &errors)) {
            root = Json::Value();
            return false;
        }
    } catch (const std::exception&) {
        // jsoncpp reports some malformed input (a too-deep document) by throwing.
        root = Json::Value();
        return false;
    }
    return true;
}

std::string CJsonFileUtil::StyledText(const Json::Value& value) {
    Json::StyledWriter writer;
    std::string text = writer.write(value);
    text += '\n';
    return text;
}

JsonWriteResult CJsonFileUtil::WriteJsonFile(const fs::path& path, const Json::Value& value) const {
    return WriteTextFile(path, StyledText(value));
}

JsonWriteResult CJsonFileUtil::WriteTextFile(const fs::path& path, std::string_view text) const {
    JsonWriteResult result;
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::string pattern = (folder / ("." + path.filename().string() + ".tmp-XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        result.message = "cannot create a temporary file in " + folder.string() + ": " + ErrnoText(errno);
        return result;
    }
    const fs::path temp = pattern;
    auto fail = [&](const std::string& step) {
        const int error = errno;
        ::close(fd);
        std::error_code ignored;
        fs::remove(temp, ignored);
        result.message = "cannot write " + path.string() + " (" + step + "): " + ErrnoText(error);
        return result;
    };
    // Keep the permissions of the file being replaced; a new file is readable by everyone like
    // any other file of the user's.
    struct stat old {};
    const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    if (::fchmod(fd, mode) != 0) return fail("permissions");
    if (!WriteAll(fd, text)) return fail("write");
    if (::fsync(fd) != 0) return fail("flush");
    if (::close(fd) != 0) {
        const int error = errno;
        std::error_code ignored;
        fs::remove(temp, ignored);
        result.message = "cannot write " + path.string() + " (close): " + ErrnoText(error);
        return result;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int error = errno;
        std::error_code ignored;
        fs::remove(temp, ignored);
        result.message = "cannot replace " + path.string() + ": " + ErrnoText(error);
        return result;
    }
    // Make the rename itself durable; a failure here no longer endangers the content.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    result.ok = true;
    return result;
}

std::string CJsonFileUtil::MakeTimeStamp() {
    static std::mutex lock;
    static std::int64_t lastMs = 0;
    using namespace std::chrono;
    std::int64_t nowMs = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    {
        const std::lock_guard<std::mutex> guard(lock);
        if (nowMs <= lastMs) nowMs = lastMs + 1;
        lastMs = nowMs;
    }
    const std::time_t seconds = static_cast<std::time_t>(nowMs / 1000);
    std::tm local {};
    ::localtime_r(&seconds, &local);
    char text[200];
    std::snprintf(text, sizeof text, "%d_%02d_%02d_%02d_%02d_%02d_%03d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(nowMs % 1000));
    return text;
}

std::string CJsonFileUtil::GetFileTitle(const fs::path& path) { return path.stem().string(); }

fs::path CJsonFileUtil::MoveAside(const fs::path& path) {
    std::error_code ec;
    for (int n = 1; n < 1000; ++n) {
        fs::path target = path;
        target += n == 1 ? std::string(".bad") : "." + std::to_string(n) + ".bad";
        if (fs::exists(fs::symlink_status(target, ec))) continue;
        fs::rename(path, target, ec);
        if (ec) return {};
        Trace("moved damaged file aside: " + target.string());
        return target;
    }
    return {};
}

}  // namespace zevik
