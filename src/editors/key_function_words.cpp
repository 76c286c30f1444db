#include "editors/key_function_words.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

#include "editors/key_function_label.h"
#include "editors/key_tables.h"

namespace zevik {

namespace {

constexpr std::array<const char*, 5> kButtons = {"left", "middle", "right", "forward", "back"};  // table order
constexpr std::array<const char*, 3> kDpi = {"up", "down", "cycle"};
constexpr std::array<const char*, 3> kSystem = {"power", "sleep", "wake"};
constexpr std::array<const char*, 4> kModifiers = {"ctrl", "shift", "alt", "win"};  // bits 0x01..0x08

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

template <class Names>
int IndexOf(const Names& names, const std::string& word) {
    const std::string lower = Lower(word);
    for (size_t i = 0; i < std::size(names); ++i) {
        if (lower == names[i]) return static_cast<int>(i);
    }
    return -1;
}

template <class Names>
std::string Listed(const Names& names) {
    std::string text;
    for (const auto& name : names) text += (text.empty() ? "" : ", ") + std::string(name);
    return text;
}

std::optional<int> Number(const std::string& what, const std::string& word, int min, int max, std::string& error) {
    int value = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (word.empty() || ec != std::errc{} || end != word.data() + word.size() || value < min || value > max) {
        error = what + " must be a number from " + std::to_string(min) + " to " + std::to_string(max) + ", not \"" +
                word + "\"";
        return std::nullopt;
    }
    return value;
}

std::uint8_t Byte(int v) { return static_cast<std::uint8_t>(v & 0xFF); }

}  // namespace

const std::vector<std::string>& MediaWordNames() {
    static const std::vector<std::string> names = {
        "player",   "play",        "stop",     "prev",     "next",          "vol-down",
        "vol-up",   "mute",        "web-home", "web-refresh", "web-stop",   "web-back",
        "web-forward", "web-favorites", "web-search", "computer", "calc",    "mail"};
    return names;
}

const std::vector<std::string>& ShortcutWordNames() {
    static const std::vector<std::string> names = {"open", "new",        "undo",     "save",   "copy",   "cut",
                                                   "paste", "find",      "select-all", "zoom-out", "zoom-in"};
    return names;
}

std::optional<KeyFunctionWords> ParseKeyFunctionWords(const std::vector<std::string>& words, std::string& error) {
    const std::string usage =
        "a function is default, button NAME, swing DIR DELAY SPEED COUNT, wheel DIR DELAY SPEED COUNT, dpi "
        "up|down|cycle, fire INTERVAL COUNT, key [MOD+]NAME, media NAME, system power|sleep|wake, shortcut NAME, "
        "macro M MODE, macro M times N or gun G";
    if (words.empty()) {
        error = usage;
        return std::nullopt;
    }
    const std::string verb = Lower(words[0]);
    const auto args = [&](size_t count) {
        if (words.size() == count + 1) return true;
        error = "\"" + verb + "\" takes " + std::to_string(count) + " word(s); " + usage;
        return false;
    };
    const auto fromTable = [&](std::span<const KeyTableRow> table, int row, const std::string& names) {
        if (row < 0) {
            error = "\"" + verb + "\" takes one of: " + names;
            return std::optional<KeyFunctionWords>();
        }
        KeyFunctionWords out;
        out.code = table[static_cast<size_t>(row)].code;
        return std::optional<KeyFunctionWords>(out);
    };
    KeyFunctionWords out;
    if (verb == "default") {
        if (!args(0)) return std::nullopt;
        out.isDefault = true;
        return out;
    }
    if (verb == "button") {
        if (!args(1)) return std::nullopt;
        return fromTable(MouseButtonTable(), IndexOf(kButtons, words[1]), Listed(kButtons));
    }
    if (verb == "dpi") {
        if (!args(1)) return std::nullopt;
        return fromTable(DpiTable(), IndexOf(kDpi, words[1]), Listed(kDpi));
    }
    if (verb == "system") {
        if (!args(1)) return std::nullopt;
        return fromTable(SystemTable(), IndexOf(kSystem, words[1]), Listed(kSystem));
    }
    if (verb == "media") {
        if (!args(1)) return std::nullopt;
        return fromTable(MediaTable(), IndexOf(MediaWordNames(), words[1]), Listed(MediaWordNames()));
    }
    if (verb == "shortcut") {
        if (!args(1)) return std::nullopt;
        return fromTable(ShortcutTable(), IndexOf(ShortcutWordNames(), words[1]), Listed(ShortcutWordNames()));
    }
    if (verb == "swing" || verb == "wheel") {
        if (!args(4)) return std::nullopt;
        const auto dir = Number("DIR", words[1], 0, 1, error);
        const auto delay = dir ? Number("DELAY", words[2], 0, 15, error) : std::nullopt;
        const auto speed = delay ? Number("SPEED", words[3], 0, 15, error) : std::nullopt;
        const auto count = speed ? Number("COUNT", words[4], 0, 127, error) : std::nullopt;
        if (!count) return std::nullopt;
        out.code.type = verb == "swing" ? 0x11 : 0x12;
        out.code.p1 = Byte(*delay * 16 + *speed);
        if (verb == "swing") {
            out.code.p2 = Byte(*count | (*dir == 1 ? 0x80 : 0));
        } else {
            out.code.p2 = Byte(*dir == 1 ? ((128 - *count) | 0x80) : *count);
        }
        return out;
    }
    if (verb == "fire") {
        if (!args(2)) return std::nullopt;
        const auto interval = Number("INTERVAL", words[1], 0, 255, error);
        const auto count = interval ? Number("COUNT", words[2], 0, 255, error) : std::nullopt;
        if (!count) return std::nullopt;
        out.code = {0x14, Byte(*interval), Byte(*count)};
        return out;
    }
    if (verb == "key") {
        if (!args(1)) return std::nullopt;
        std::string name = words[1];
        std::uint8_t modifier = 0;
        if (const size_t plus = name.find('+'); plus != std::string::npos && plus + 1 < name.size()) {
            const int m = IndexOf(kModifiers, name.substr(0, plus));
            if (m < 0) {
                error = "MOD must be one of: " + Listed(kModifiers) + ", not \"" + name.substr(0, plus) + "\"";
                return std::nullopt;
            }
            modifier = Byte(1 << m);
            name = name.substr(plus + 1);
        }
        const int row = FindKeyRowByName(name);
        const AssignmentCode key = row >= 0 ? KeyTable()[static_cast<size_t>(row)].code : AssignmentCode{};
        if (row < kFirstOrdinaryKeyRow || key.type != 0x20 || key.p1 != 0) {
            error = "\"" + name + "\" is not an ordinary key of the key table (A, F5, Enter, NumEnter, PageUp, ...)";
            return std::nullopt;
        }
        out.code = {0x20, modifier, key.p2};
        out.keyRow = row;
        return out;
    }
    if (verb == "macro") {
        const bool times = words.size() == 4 && Lower(words[2]) == "times";
        if (!times && !args(2)) return std::nullopt;
        const auto m = Number("M", words[1], 1, kMaxMacros, error);
        if (!m) return std::nullopt;
        const auto value = times ? Number("N", words[3], 0, 255, error) : Number("MODE", words[2], 0, 3, error);
        if (!value) return std::nullopt;
        out.code = {Byte(times ? 0x71 : 0x70), Byte(*m - 1), Byte(*value)};
        return out;
    }
    if (verb == "gun") {
        if (!args(1)) return std::nullopt;
        const auto g = Number("G", words[1], 1, static_cast<int>(GunNames().size()), error);
        if (!g) return std::nullopt;
        out.code = {0x72, Byte(*g - 1), 0};
        return out;
    }
    error = "unknown function \"" + words[0] + "\"; " + usage;
    return std::nullopt;
}

std::string KeyFunctionText(AssignmentCode code, AssignmentCode factory) {
    if (code == factory) return "default";
    const auto row = [&](std::span<const KeyTableRow> table) { return FindRowByCode(table, code); };
    const std::string fallback = "code " + AssignmentHex(code);
    switch (code.type) {
        case 0x10: return row(MouseButtonTable()) >= 0 ? std::string("button ") + kButtons[row(MouseButtonTable())] : fallback;
        case 0x13: return row(DpiTable()) >= 0 ? std::string("dpi ") + kDpi[row(DpiTable())] : fallback;
        case 0x40: return row(SystemTable()) >= 0 ? std::string("system ") + kSystem[row(SystemTable())] : fallback;
        case 0x30: return row(MediaTable()) >= 0 ? "media " + MediaWordNames()[row(MediaTable())] : fallback;
        case 0x11:
        case 0x12: {
            const bool second = (code.p2 & 0x80) != 0;
            int count = code.p2 & 0x7F;
            if (code.type == 0x12 && second) {
                if (count == 0) return fallback;  // -128 steps: no count gives it
                count = 128 - count;
            }
            return std::string(code.type == 0x11 ? "swing " : "wheel ") + (second ? "1 " : "0 ") +
                   std::to_string(code.p1 >> 4) + " " + std::to_string(code.p1 & 15) + " " + std::to_string(count);
        }
        case 0x14: return "fire " + std::to_string(code.p1) + " " + std::to_string(code.p2);
        case 0x20: {
            if (row(ShortcutTable()) >= 0) return "shortcut " + ShortcutWordNames()[row(ShortcutTable())];
            const int key = FindOrdinaryKeyRow(code.p2);
            if (key < 0) return fallback;
            std::string name(KeyRowName(KeyTable()[static_cast<size_t>(key)]));
            name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
            if (code.p1 == 0) return "key " + name;
            for (size_t m = 0; m < kModifiers.size(); ++m) {
                if (code.p1 == (1u << m)) return std::string("key ") + kModifiers[m] + "+" + name;
            }
            return fallback;
        }
        case 0x70:
            if (code.p1 >= kMaxMacros || code.p2 > 3) return fallback;
            return "macro " + std::to_string(code.p1 + 1) + " " + std::to_string(code.p2);
        case 0x71:
            if (code.p1 >= kMaxMacros) return fallback;
            return "macro " + std::to_string(code.p1 + 1) + " times " + std::to_string(code.p2);
        case 0x72:
            return code.p1 < GunNames().size() && code.p2 == 0 ? "gun " + std::to_string(code.p1 + 1) : fallback;
        default: return fallback;
    }
}

}  // namespace zevik
