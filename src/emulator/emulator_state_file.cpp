#include "emulator/emulator_state_file.h"

#include <fcntl.h>
#include <json/reader.h>
#include <json/writer.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

namespace zevik {
namespace {

std::string SystemError(const std::string& what, const std::filesystem::path& file) {
    return what + " " + file.string() + ": " + std::strerror(errno);
}

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(written);
    }
    return true;
}

}  // namespace

bool LoadEmulatorStateFile(const std::filesystem::path& file, Json::Value& root, std::string& error) {
    root = Json::Value();
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        if (ec) {
            error = "cannot look at the emulator state file " + file.string() + ": " + ec.message();
            return false;
        }
        return true;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = SystemError("cannot read the emulator state file", file);
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    Json::CharReaderBuilder builder;
    builder["collectComments"] = false;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    const std::string content = text.str();
    std::string parseError;
    Json::Value parsed;
    if (!reader->parse(content.data(), content.data() + content.size(), &parsed, &parseError)) {
        error = "the emulator state file " + file.string() + " is not valid JSON: " + parseError;
        return false;
    }
    if (!parsed.isObject()) {
        error = "the emulator state file " + file.string() + " does not hold a JSON object";
        return false;
    }
    root = std::move(parsed);
    return true;
}

bool SaveEmulatorStateFile(const std::filesystem::path& file, const Json::Value& root, std::string& error) {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "  ";
    const std::string text = Json::writeString(builder, root) + "\n";

    const std::filesystem::path folder =
        file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    std::string pattern = (folder / ("." + file.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        error = SystemError("cannot create a temporary file beside", file);
        return false;
    }
    const bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
    const int savedErrno = errno;
    ::close(fd);
    if (!written || std::rename(pattern.c_str(), file.c_str()) != 0) {
        if (!written) errno = savedErrno;
        error = SystemError("cannot write the emulator state file", file);
        ::unlink(pattern.c_str());
        return false;
    }
    return true;
}

}  // namespace zevik
