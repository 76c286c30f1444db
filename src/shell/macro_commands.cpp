#include "shell/macro_commands.h"

#include <json/json.h>

#include <algorithm>
#include <cctype>

#include "editors/key_tables.h"
#include "editors/macro_mouse_events.h"
#include "settings/json_access.h"
#include "settings/json_file_util.h"
#include "settings/macro_deletion.h"
#include "settings/macro_store.h"
#include "settings/profile_store.h"
#include "shell/command_numbers.h"

namespace zevik {

namespace {

constexpr int kMaxRows = 4000;
constexpr const char* kUsage =
    "macro KIND takes list, add, import FILE, rename M NAME, delete M, export M FILE, show M, "
    "insert M R EVENT [--delay MS], delay M R MS, move M R up|down|top|bottom, remove M R or clear M";
constexpr const char* kEventUsage =
    "EVENT takes key down|up NAME, button down|up|click left|right|middle|forward|back or "
    "move left|right|up|down DIST";

struct NamedButton {
    const char* name;
    std::uint8_t bit;
};
constexpr NamedButton kButtons[] = {{"left", 0x01}, {"right", 0x02}, {"middle", 0x04}, {"back", 0x08}, {"forward", 0x10}};
constexpr const char* kDirections[] = {"left", "right", "up", "down"};

bool AllDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Delays and distances are clamped, not refused; anything but digits is a bad word.
std::optional<int> ClampedNumber(const std::string& what, const std::string& text, int max, std::string& error) {
    if (!AllDigits(text)) {
        error = what + " takes a whole number 0 to " + std::to_string(max) + " (larger values are clamped), not \"" +
                text + "\"";
        return std::nullopt;
    }
    return std::min<int>(ParseMacroDelay(text), max);
}

std::optional<std::vector<MacroEvent>> ParseEvent(const std::vector<std::string>& w, std::uint16_t delay,
                                                  std::string& error) {
    if (w.size() == 3 && w[0] == "key" && (w[1] == "down" || w[1] == "up")) {
        const int row = FindKeyRowByName(w[2]);
        const KeyTableRow* key = row >= 0 ? &KeyTable()[static_cast<std::size_t>(row)] : nullptr;
        if (key != nullptr && row < kFirstOrdinaryKeyRow) {
            return std::vector<MacroEvent>{{w[1], key->code.p1, kMacroModifierKey, delay}};
        }
        if (key != nullptr && key->code.type == 0x20 && key->code.p1 == 0 && key->code.p2 != 0) {
            return std::vector<MacroEvent>{{w[1], key->code.p2, kMacroKeyboardKey, delay}};
        }
        error = "NAME takes a key of the key table (A, F5, Enter, NumEnter, PageUp, LCtrl, ...), not \"" + w[2] + "\"";
        return std::nullopt;
    }
    if (w.size() == 3 && w[0] == "button" && (w[1] == "down" || w[1] == "up" || w[1] == "click")) {
        for (const NamedButton& b : kButtons) {
            if (w[2] != b.name) continue;
            if (w[1] == "click") {
                return std::vector<MacroEvent>{{"down", b.bit, kMacroMouseButton, delay},
                                               {"up", b.bit, kMacroMouseButton, delay}};
            }
            return std::vector<MacroEvent>{{w[1], b.bit, kMacroMouseButton, delay}};
        }
        error = "button takes left, right, middle, forward or back, not \"" + w[2] + "\"";
        return std::nullopt;
    }
    if (w.size() == 3 && w[0] == "move") {
        for (int d = 0; d < 4; ++d) {
            if (w[1] != kDirections[d]) continue;
            const std::optional<int> distance = ClampedNumber("DIST", w[2], 255, error);
            if (!distance) return std::nullopt;
            const MacroMouseEventRow* row = MacroMovementRow(d);
            return std::vector<MacroEvent>{
                {row->down ? "down" : "up", static_cast<std::uint8_t>(*distance), row->type, delay}};
        }
        error = "move takes left, right, up or down, not \"" + w[1] + "\"";
        return std::nullopt;
    }
    error = kEventUsage;
    return std::nullopt;
}

// The name the command line gives the event: as insert takes it.
std::string EventText(const MacroEvent& e) {
    if (IsKeyboardMacroEvent(e)) {
        const int row = e.type == kMacroModifierKey ? FindModifierRow(e.button) : FindOrdinaryKeyRow(e.button);
        if (row >= 0) return std::string(KeyRowName(KeyTable()[static_cast<std::size_t>(row)]));
    } else if (e.type == kMacroMouseButton) {
        for (const NamedButton& b : kButtons) {
            if (b.bit == e.button) return b.name;
        }
    } else if (e.type == kMacroMoveHorizontal || e.type == kMacroMoveVertical) {
        return std::string(kDirections[(e.type == kMacroMoveVertical ? 2 : 0) + (e.IsDown() ? 0 : 1)]) + " " +
               std::to_string(e.button);
    }
    return std::to_string(e.button);
}

std::filesystem::path CurrentProfileFile(const std::filesystem::path& kindFolder, const std::filesystem::path& factory) {
    const CProfileStore profiles(kindFolder, factory, 0);
    const std::vector<ProfileEntry> entries = profiles.ListedProfiles();
    if (entries.empty()) return {};
    const int recorded = json::IntMember(CJsonFileUtil().ReadJsonFile(profiles.ListPath()), "profileselect");
    const std::size_t at = recorded >= 0 && static_cast<std::size_t>(recorded) < entries.size() ? static_cast<std::size_t>(recorded) : 0;
    return profiles.ProfileFilePathOf(entries[at].uuid);
}

int Fail(std::string message, std::string& error) {
    error = std::move(message);
    return 1;
}

}  // namespace

std::optional<MacroCommand> ParseMacroWords(const std::vector<std::string>& all, std::string& error) {
    MacroCommand c;
    if (all.empty() || (all[0] != "mouse" && all[0] != "keyboard")) {
        error = "KIND takes mouse or keyboard";
        return std::nullopt;
    }
    c.kind = all[0] == "mouse" ? ProfileKind::Mouse : ProfileKind::Keyboard;
    std::vector<std::string> w(all.begin() + 1, all.end());
    // "--delay MS" may stand anywhere after the verb.
    std::optional<std::uint16_t> fixedDelay;
    for (std::size_t i = 0; i + 1 < w.size(); ++i) {
        if (w[i] != "--delay") continue;
        const std::optional<int> ms = ClampedNumber("--delay", w[i + 1], kMaxMacroDelay, error);
        if (!ms) return std::nullopt;
        fixedDelay = static_cast<std::uint16_t>(*ms);
        w.erase(w.begin() + static_cast<std::ptrdiff_t>(i), w.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        break;
    }
    if (w.empty()) {
        error = kUsage;
        return std::nullopt;
    }
    const std::string& verb = w[0];
    if (fixedDelay && verb != "insert") {
        error = "--delay belongs to insert";
        return std::nullopt;
    }
    auto macro = [&](std::size_t at) {
        const std::optional<int> m = NumberInRange("M", w[at], 1, CMacroStore::kMaxMacros, error);
        if (m) c.macro = *m - 1;
        return m.has_value();
    };
    auto row = [&](std::size_t at, int min) {
        const std::optional<int> r = NumberInRange("R", w[at], min, kMaxRows, error);
        if (r) c.row = *r - 1;
        return r.has_value();
    };
    using V = MacroCommand::Verb;
    if (verb == "list" && w.size() == 1) { c.verb = V::List; return c; }
    if (verb == "add" && w.size() == 1) { c.verb = V::Add; return c; }
    if (verb == "import" && w.size() == 2) { c.verb = V::Import; c.file = w[1]; return c; }
    if (verb == "rename" && w.size() >= 3) {
        c.verb = V::Rename;
        if (!macro(1)) return std::nullopt;
        for (std::size_t i = 2; i < w.size(); ++i) c.text += (i > 2 ? " " : "") + w[i];
        return c;
    }
    if ((verb == "delete" || verb == "show" || verb == "clear") && w.size() == 2) {
        c.verb = verb == "delete" ? V::Delete : verb == "show" ? V::Show : V::Clear;
        if (!macro(1)) return std::nullopt;
        return c;
    }
    if (verb == "export" && w.size() == 3) {
        c.verb = V::Export;
        if (!macro(1)) return std::nullopt;
        c.file = w[2];
        return c;
    }
    if (verb == "insert" && w.size() >= 4) {
        c.verb = V::Insert;
        if (!macro(1) || !row(2, 0)) return std::nullopt;
        const std::optional<std::vector<MacroEvent>> events =
            ParseEvent(std::vector<std::string>(w.begin() + 3, w.end()), fixedDelay.value_or(0), error);
        if (!events) return std::nullopt;
        c.events = *events;
        return c;
    }
    if (verb == "delay" && w.size() == 4) {
        c.verb = V::Delay;
        if (!macro(1) || !row(2, 1)) return std::nullopt;
        const std::optional<int> ms = ClampedNumber("MS", w[3], kMaxMacroDelay, error);
        if (!ms) return std::nullopt;
        c.delay = static_cast<std::uint16_t>(*ms);
        return c;
    }
    if (verb == "move" && w.size() == 4) {
        c.verb = V::Move;
        if (!macro(1) || !row(2, 1)) return std::nullopt;
        const std::string& m = w[3];
        if (m == "up") c.move = MacroRowMove::Up;
        else if (m == "down") c.move = MacroRowMove::Down;
        else if (m == "top") c.move = MacroRowMove::Top;
        else if (m == "bottom") c.move = MacroRowMove::Bottom;
        else {
            error = "move takes up, down, top or bottom, not \"" + m + "\"";
            return std::nullopt;
        }
        return c;
    }
    if (verb == "remove" && w.size() == 3) {
        c.verb = V::Remove;
        if (!macro(1) || !row(2, 1)) return std::nullopt;
        return c;
    }
    error = kUsage;
    return std::nullopt;
}

int RunMacroCommand(const CProfileLocations& locations, const MacroCommand& c, std::ostream& out, bool json,
                    const std::function<bool()>& answer, std::string& error) {
    using V = MacroCommand::Verb;
    const std::filesystem::path folder = locations.KindFolder(c.kind);
    if (c.verb != V::List && c.verb != V::Show && c.verb != V::Export && !locations.EnsureKindFolder(c.kind, &error)) {
        return 1;
    }
    const CMacroStore store(folder);
    const std::vector<MacroListEntry> entries = store.Entries();
    const bool needsMacro = c.verb != V::List && c.verb != V::Add && c.verb != V::Import;
    if (needsMacro && (c.macro < 0 || static_cast<std::size_t>(c.macro) >= entries.size())) {
        return Fail("there is no macro " + std::to_string(c.macro + 1) + " (the list holds " +
                        std::to_string(entries.size()) + ")",
                    error);
    }
    auto done = [&](const MacroStoreResult& r) {
        if (!r.ok()) return Fail(r.message == CMacroStore::kEmptyNameAnswer ? "the name is empty" : r.message, error);
        return 0;
    };
    switch (c.verb) {
        case V::List: {
            Json::Value doc(Json::objectValue);
            doc["macros"] = Json::Value(Json::arrayValue);
            for (std::size_t i = 0; i < entries.size(); ++i) {
                const std::size_t count = store.Files().ReadMacro(entries[i].guid).events.size();
                if (json) {
                    Json::Value e(Json::objectValue);
                    e["macro"] = static_cast<Json::UInt>(i + 1);
                    e["name"] = entries[i].name;
                    e["guid"] = entries[i].guid;
                    e["events"] = static_cast<Json::UInt>(count);
                    doc["macros"].append(e);
                } else {
                    out << i + 1 << "  " << entries[i].name << "  " << entries[i].guid << "  " << count << '\n';
                }
            }
            if (json) out << CJsonFileUtil::StyledText(doc);
            return 0;
        }
        case V::Add:
        case V::Import: {
            const MacroStoreResult r = c.verb == V::Add ? store.AddMacro() : store.ImportMacro(c.file);
            if (r.ok()) out << r.name << '\n';
            return done(r);
        }
        case V::Rename: return done(store.RenameMacro(c.macro, c.text));
        case V::Export: return done(store.ExportMacro(c.macro, c.file));
        case V::Delete: {
            const MacroDeletionPlace place{folder, locations.DefaultFile(c.kind), 0,
                                           CurrentProfileFile(folder, locations.DefaultFile(c.kind))};
            CProfileFileMacroKeys current(place.currentProfile, place.defaultFile, 0);
            const MacroDeletionResult r = DeleteMacroEverywhere(place, c.macro, current, [&](const std::string& key) {
                return key == "message_text_4" || answer();
            });
            if (r.declined) {
                return Fail("The current profile uses macro " + std::to_string(c.macro + 1) +
                                "; deleting it was declined.",
                            error);
            }
            if (!r.failures.empty()) return Fail(r.failures.front(), error);
            return done(r.removal);
        }
        case V::Show: {
            const MacroDocument doc = store.LoadMacro(c.macro);
            Json::Value all(Json::objectValue);
            all["macro"] = c.macro + 1;
            all["name"] = doc.name;
            all["events"] = Json::Value(Json::arrayValue);
            for (std::size_t i = 0; i < doc.events.size(); ++i) {
                const MacroEvent& e = doc.events[i];
                if (json) {
                    Json::Value row = MacroEventJson(e);
                    row["row"] = static_cast<Json::UInt>(i + 1);
                    row["text"] = EventText(e);
                    all["events"].append(row);
                } else {
                    out << i + 1 << "  " << e.action << ' ' << int(e.type) << ' ' << int(e.button) << ' ' << e.delay
                        << "  " << EventText(e) << '\n';
                }
            }
            if (json) out << CJsonFileUtil::StyledText(all);
            return 0;
        }
        case V::Insert:
        case V::Delay:
        case V::Move:
        case V::Remove:
        case V::Clear: {
            std::vector<MacroEvent> events = store.LoadMacro(c.macro).events;
            const int count = static_cast<int>(events.size());
            const bool rowNeeded = c.verb != V::Clear && c.verb != V::Insert;
            if ((rowNeeded && c.row >= count) || (c.verb == V::Insert && c.row >= count)) {
                return Fail("macro " + std::to_string(c.macro + 1) + " has " + std::to_string(count) +
                                " events; there is no row " + std::to_string(c.row + 1),
                            error);
            }
            if (c.verb == V::Insert) {
                int after = c.row;
                for (const MacroEvent& e : c.events) after = InsertMacroEvent(events, after, e);
            } else if (c.verb == V::Delay) {
                events[static_cast<std::size_t>(c.row)].delay = c.delay;
            } else if (c.verb == V::Move) {
                MoveMacroEvent(events, c.row, c.move);
            } else if (c.verb == V::Remove) {
                RemoveMacroEvent(events, c.row);
            } else {
                events.clear();
            }
            return done(store.SaveMacro(c.macro, events));
        }
    }
    return Fail(kUsage, error);
}

}  // namespace zevik
