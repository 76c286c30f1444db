#include "shell/macro_record_command.h"

#include <chrono>
#include <mutex>
#include <thread>

#include "platform/evdev_input_source.h"
#include "platform/event_file.h"
#include "settings/macro_store.h"
#include "shell/command_numbers.h"

namespace zevik {

namespace {

constexpr int kMaxRecordSeconds = 3600;

}  // namespace

bool IsMacroRecordWords(const std::vector<std::string>& words) { return words.size() >= 2 && words[1] == "record"; }

std::optional<MacroRecordCommand> ParseMacroRecordWords(const std::vector<std::string>& w, std::string& error) {
    MacroRecordCommand c;
    if (w.size() < 3 || (w[0] != "mouse" && w[0] != "keyboard") || w[1] != "record") {
        error = "record takes KIND record M [--from-events FILE...] [--for SECONDS] [--insert before|after R | "
                "--replace R] [--delay real|ignore|MS]";
        return std::nullopt;
    }
    c.kind = w[0] == "mouse" ? ProfileKind::Mouse : ProfileKind::Keyboard;
    const auto m = NumberInRange("M", w[2], 1, CMacroStore::kMaxMacros, error);
    if (!m) return std::nullopt;
    c.macro = *m - 1;
    bool placed = false;
    for (size_t i = 3; i < w.size(); ++i) {
        const std::string& flag = w[i];
        const auto next = [&]() -> const std::string* { return i + 1 < w.size() ? &w[++i] : nullptr; };
        if (flag == "--from-events") {
            while (i + 1 < w.size() && !w[i + 1].starts_with("--")) c.eventFiles.push_back(w[++i]);
            if (c.eventFiles.empty()) {
                error = "--from-events takes one or more files";
                return std::nullopt;
            }
        } else if (flag == "--for") {
            const std::string* v = next();
            const auto s = v != nullptr ? NumberInRange("--for", *v, 1, kMaxRecordSeconds, error) : std::nullopt;
            if (!s) return std::nullopt;
            c.seconds = *s;
        } else if (flag == "--insert" || flag == "--replace") {
            if (placed) {
                error = "one of --insert and --replace";
                return std::nullopt;
            }
            placed = true;
            if (flag == "--insert") {
                const std::string* where = next();
                if (where == nullptr || (*where != "before" && *where != "after")) {
                    error = "--insert takes before or after, then R";
                    return std::nullopt;
                }
                c.mode = *where == "before" ? 8 : 16;
            } else {
                c.mode = 32;
                c.delay = RecordDelay::Ignore;
            }
            const std::string* r = next();
            const auto row = r != nullptr ? NumberInRange("R", *r, 1, kMaxRecordedRows, error) : std::nullopt;
            if (!row) return std::nullopt;
            c.row = *row - 1;
        } else if (flag == "--delay") {
            const std::string* v = next();
            if (v == nullptr) {
                error = "--delay takes real, ignore or MS";
                return std::nullopt;
            }
            if (*v == "real") {
                c.delay = RecordDelay::Real;
            } else if (*v == "ignore") {
                c.delay = RecordDelay::Ignore;
            } else {
                const auto ms = WholeNumber(*v);
                if (!ms || *ms < 0) {
                    error = "--delay takes real, ignore or a number of milliseconds, not \"" + *v + "\"";
                    return std::nullopt;
                }
                c.delay = RecordDelay::Fixed;
                c.fixedDelay = static_cast<std::uint16_t>(std::min<long>(*ms, 65535));
            }
        } else {
            error = "unknown word \"" + flag + "\" for record";
            return std::nullopt;
        }
    }
    if (c.mode == 32) c.delay = RecordDelay::Ignore;
    return c;
}

int RunMacroRecord(const CProfileLocations& locations, const MacroRecordCommand& c, std::ostream& out,
                   std::string& error) {
    const CMacroStore store(locations.KindFolder(c.kind));
    if (c.macro >= static_cast<int>(store.Entries().size())) {
        error = "there is no macro " + std::to_string(c.macro + 1);
        return 1;
    }
    MacroRows rows;
    rows.events = store.LoadMacro(c.macro).events;
    if (c.mode != 4) {
        if (c.row >= static_cast<int>(rows.events.size())) {
            error = "the macro has no row " + std::to_string(c.row + 1);
            return 1;
        }
        rows.selected = c.row;
    }
    std::vector<InputEvent> events;
    std::uint64_t startUs = 0;
    if (!c.eventFiles.empty()) {
        EventFileError failure;
        std::string file;
        const auto read = ReadEventFiles({c.eventFiles.begin(), c.eventFiles.end()}, failure, &file);
        if (!read) {
            error = file + (failure.line > 0 ? ":" + std::to_string(failure.line) + ": " : ": ") + failure.message;
            return 1;
        }
        events = *read;
    } else {
        CEvdevInputSource source;
        std::mutex lock;
        startUs = InputClockNowUs();
        if (!source.Start(
                [&](const InputEvent& e) {
                    std::lock_guard<std::mutex> hold(lock);
                    events.push_back(e);
                },
                error)) {
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::seconds(c.seconds));
        source.Stop();
    }
    CMacroRecorder recorder(c.mode, c.delay, c.fixedDelay, startUs);
    const size_t before = rows.events.size();
    int changed = 0;
    for (const InputEvent& e : events) changed += recorder.Take(e, rows) ? 1 : 0;
    if (c.mode == 32 && changed > 1) changed = 1;
    const MacroStoreResult saved = store.SaveMacro(c.macro, rows.events);
    if (!saved) {
        error = saved.message;
        return 1;
    }
    out << (c.mode == 32 ? changed : static_cast<int>(rows.events.size() - before)) << '\n';
    return 0;
}

}  // namespace zevik
