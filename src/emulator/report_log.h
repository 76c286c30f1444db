#pragma once
// CReportLog: appends one line per report exchanged with an emulated device, so a run can be checked
// from outside: "OUT <path> <bytes>" for host to device, "IN <path> <bytes>" for device to host, the
// bytes as lowercase two-digit hex separated by single spaces. Lines of concurrent writers never mix.

#include <cstdio>
#include <filesystem>
#include <mutex>
#include <span>
#include <string>

#include "transport/hid/emulated_backend.h"

namespace zevik {

class CReportLog {
public:
    CReportLog() = default;
    ~CReportLog();
    CReportLog(const CReportLog&) = delete;
    CReportLog& operator=(const CReportLog&) = delete;

    // Opens the file for appending (created when missing); false with a message when it cannot.
    bool Open(const std::filesystem::path& file, std::string& error);
    // Appends and flushes one line; nothing when the log is not open.
    void Write(EmulatedReportDirection direction, const std::string& path, std::span<const uint8_t> report);

    // The line for one report, without the line end.
    static std::string FormatLine(EmulatedReportDirection direction, const std::string& path,
                                  std::span<const uint8_t> report);

private:
    std::mutex mutex_;
    std::FILE* file_ = nullptr;
};

}  // namespace zevik
