#include "emulator/report_log.h"

#include <cerrno>
#include <cstring>

#include "platform/hex_text.h"

namespace zevik {

CReportLog::~CReportLog() {
    if (file_ != nullptr) std::fclose(file_);
}

bool CReportLog::Open(const std::filesystem::path& file, std::string& error) {
    std::lock_guard lock(mutex_);
    if (file_ != nullptr) std::fclose(file_);
    file_ = std::fopen(file.c_str(), "a");
    if (file_ == nullptr) {
        error = "cannot open the report log " + file.string() + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void CReportLog::Write(EmulatedReportDirection direction, const std::string& path,
                       std::span<const uint8_t> report) {
    const std::string line = FormatLine(direction, path, report) + "\n";
    std::lock_guard lock(mutex_);
    if (file_ == nullptr) return;
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

std::string CReportLog::FormatLine(EmulatedReportDirection direction, const std::string& path,
                                   std::span<const uint8_t> report) {
    return std::string(direction == EmulatedReportDirection::Out ? "OUT " : "IN ") + path + " " +
           FormatHexBytes(report, " ");
}

}  // namespace zevik
