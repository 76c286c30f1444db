#include "shell/audio_levels_command.h"

#include <charconv>
#include <condition_variable>
#include <deque>
#include <mutex>

#include <json/value.h>

#include "audio_lighting/audio_capture.h"
#include "audio_lighting/band_analysis.h"
#include "settings/json_file_util.h"

namespace zevik {

std::optional<int> ParseAudioLevelsSeconds(const std::string& text, std::string& error) {
    int value = 0;
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || problem != std::errc() || end != text.data() + text.size() || value < 1 ||
        value > kAudioLevelsMaxSeconds) {
        error = "seconds \"" + text + "\" is not one of 1.." + std::to_string(kAudioLevelsMaxSeconds);
        return std::nullopt;
    }
    return value;
}

bool RunAudioLevels(const AudioSourceFactory& source, std::chrono::milliseconds span, std::ostream& out, bool json,
                    std::string& error) {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<CBandAnalysis::Bands> waiting;
    std::optional<std::string> failure;
    CAudioCapture capture(
        source,
        [&](std::span<const std::uint8_t> bytes) {
            CBandAnalysis::Bands bands{};
            for (int b = 0; b < CBandAnalysis::kBandCount; ++b) {
                const std::size_t at = static_cast<std::size_t>(b) * CBandAnalysis::kValuesPerBand * 4;
                bands[b] = static_cast<std::int32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                                     static_cast<std::uint32_t>(bytes[at + 3]) << 24);
            }
            std::lock_guard lock(mutex);
            waiting.push_back(bands);
            changed.notify_all();
        },
        [&](const std::string& reason) {
            std::lock_guard lock(mutex);
            failure = reason;
            changed.notify_all();
        });
    Json::Value records(Json::arrayValue);
    const auto print = [&](const CBandAnalysis::Bands& bands) {
        if (json) {
            Json::Value row(Json::arrayValue);
            for (const std::int32_t v : bands) row.append(v);
            records.append(row);
            return;
        }
        for (int b = 0; b < CBandAnalysis::kBandCount; ++b) out << (b > 0 ? " " : "") << bands[b];
        out << '\n';
    };
    const auto deadline = std::chrono::steady_clock::now() + span;
    capture.Start();
    std::unique_lock lock(mutex);
    while (!failure && std::chrono::steady_clock::now() < deadline) {
        changed.wait_until(lock, deadline, [&] { return failure || !waiting.empty(); });
        while (!waiting.empty()) {
            const CBandAnalysis::Bands bands = waiting.front();
            waiting.pop_front();
            lock.unlock();
            print(bands);
            lock.lock();
        }
    }
    lock.unlock();
    capture.Stop();
    if (json) {
        Json::Value doc(Json::objectValue);
        doc["records"] = records;
        out << CJsonFileUtil::StyledText(doc);
    } else {
        out.flush();
    }
    if (failure) {
        error = *failure;
        return false;
    }
    return true;
}

}  // namespace zevik
