#include "platform/event_file.h"

#include <linux/input-event-codes.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

namespace zevik {

namespace {

std::string_view NextWord(std::string_view& rest) {
    const size_t start = rest.find_first_not_of(" \t\r");
    if (start == std::string_view::npos) {
        rest = {};
        return {};
    }
    rest.remove_prefix(start);
    const size_t end = std::min(rest.find_first_of(" \t\r"), rest.size());
    const std::string_view word = rest.substr(0, end);
    rest.remove_prefix(end);
    return word;
}

template <class T>
bool Whole(std::string_view word, T& value, int base) {
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value, base);
    return !word.empty() && ec == std::errc{} && end == word.data() + word.size();
}

// "SEC.USEC" with six digits after the point, as evemu writes it.
bool TimeStamp(std::string_view word, std::uint64_t& us) {
    const size_t dot = word.find('.');
    std::uint64_t sec = 0;
    std::uint32_t usec = 0;
    if (dot == std::string_view::npos || word.size() - dot - 1 != 6) return false;
    if (!Whole(word.substr(0, dot), sec, 10) || !Whole(word.substr(dot + 1), usec, 10)) return false;
    if (sec > UINT64_MAX / 1000000 - 1) return false;
    us = sec * 1000000 + usec;
    return true;
}

}  // namespace

std::optional<std::vector<InputEvent>> ParseEventText(std::string_view text, EventFileError& error) {
    std::vector<InputEvent> events;
    int number = 0;
    while (!text.empty()) {
        ++number;
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (const size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
        std::string_view rest = line;
        if (NextWord(rest) != "E:") continue;
        InputEvent event;
        std::uint32_t type = 0, code = 0;
        const std::string_view time = NextWord(rest), typeWord = NextWord(rest), codeWord = NextWord(rest),
                               valueWord = NextWord(rest);
        if (!TimeStamp(time, event.timeUs) || !Whole(typeWord, type, 16) || type > 0xFFFF ||
            !Whole(codeWord, code, 16) || code > 0xFFFF || !Whole(valueWord, event.value, 10) ||
            !NextWord(rest).empty()) {
            error = {number, "an event line is \"E: SEC.USEC TYPE CODE VALUE\" (type and code in hex)"};
            return std::nullopt;
        }
        event.type = static_cast<std::uint16_t>(type);
        event.code = static_cast<std::uint16_t>(code);
        if (event.type == EV_KEY) events.push_back(event);
    }
    return events;
}

std::optional<std::vector<InputEvent>> ReadEventFiles(const std::vector<std::filesystem::path>& files,
                                                      EventFileError& error, std::string* failedFile) {
    std::vector<InputEvent> all;
    for (const std::filesystem::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        if (!in || !(text << in.rdbuf())) {
            error = {0, "cannot be read"};
            if (failedFile != nullptr) *failedFile = file.string();
            return std::nullopt;
        }
        const auto events = ParseEventText(text.str(), error);
        if (!events) {
            if (failedFile != nullptr) *failedFile = file.string();
            return std::nullopt;
        }
        std::vector<InputEvent> merged;
        merged.reserve(all.size() + events->size());
        std::merge(all.begin(), all.end(), events->begin(), events->end(), std::back_inserter(merged),
                   [](const InputEvent& a, const InputEvent& b) { return a.timeUs < b.timeUs; });
        all = std::move(merged);
    }
    return all;
}

}  // namespace zevik
