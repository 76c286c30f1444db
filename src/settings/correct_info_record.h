#pragma once
// One element of the mouse's read-only "CorrectInfo" list (sensor correction presets).

#include <cstdint>
#include <string>

namespace zevik {

struct CorrectInfoRecord {
    std::uint8_t correctPixThresh = 0;  // "CorrectPixThresh"
    std::uint8_t correctMinSq = 0;      // "CorrectMinSq"
    std::uint8_t correctSelect = 0;     // "CorrectSelect"
    std::string correctName;            // "CorrectName", UTF-8

    friend bool operator==(const CorrectInfoRecord&, const CorrectInfoRecord&) = default;
};

}  // namespace zevik
