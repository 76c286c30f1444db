#include "shell/recoil_commands.h"

#include <json/json.h>

#include <chrono>
#include <climits>

#include "devices/mouse_device.h"
#include "editors/shoot_control_ui.h"
#include "settings/json_file_util.h"
#include "shell/command_numbers.h"
#include "shell/headless_session.h"
#include "shell/main_wnd.h"
#include "shell/recoil_routes.h"

namespace zevik {

namespace {

using namespace std::chrono_literals;

// A count the page holds to its field: any whole number from 0 on.
std::optional<int> Amount(const std::string& what, const std::string& word, std::string& error) {
    const auto value = WholeNumber(word);
    if (!value || *value < 0) {
        error = what + " must be a whole number from 0, not \"" + word + "\"";
        return std::nullopt;
    }
    return static_cast<int>(std::min<long>(*value, INT_MAX));
}

void PrintBullet(std::ostream& out, int bullet, const RecoilBullet& b) {
    out << bullet + 1 << "  " << (b.left ? "left " : "right ") << b.x << "  " << (b.up ? "up " : "down ") << b.y
        << "  " << b.delay << '\n';
}

}  // namespace

std::optional<RecoilCommand> ParseRecoilWords(const std::vector<std::string>& words, std::string& error) {
    RecoilCommand c;
    c.verb = words.empty() ? std::string() : words[0];
    const auto gun = [&](size_t at) {
        const auto g = NumberInRange("G", words[at], 1, 4, error);
        if (g) c.gun = *g - 1;
        return g.has_value();
    };
    const auto bullet = [&](size_t at) {
        const auto b = NumberInRange("B", words[at], 1, kRecoilBullets, error);
        if (b) c.bullet = *b - 1;
        return b.has_value();
    };
    if (c.verb == "upload" && words.size() == 1) return c;
    if (c.verb == "show" && (words.size() == 2 || words.size() == 3)) {
        if (!gun(1) || (words.size() == 3 && !bullet(2))) return std::nullopt;
        return c;
    }
    if (c.verb == "reset" && words.size() == 2) return gun(1) ? std::optional(c) : std::nullopt;
    if ((c.verb == "import" || c.verb == "export") && words.size() == 3) {
        if (!gun(1)) return std::nullopt;
        c.file = words[2];
        return c;
    }
    if (c.verb == "set" && words.size() == 8) {
        if (!gun(1) || !bullet(2)) return std::nullopt;
        if (words[3] != "left" && words[3] != "right") {
            error = "the horizontal direction is left or right, not \"" + words[3] + "\"";
            return std::nullopt;
        }
        if (words[5] != "up" && words[5] != "down") {
            error = "the vertical direction is up or down, not \"" + words[5] + "\"";
            return std::nullopt;
        }
        const auto x = Amount("X", words[4], error);
        const auto y = x ? Amount("Y", words[6], error) : std::nullopt;
        const auto delay = y ? Amount("DELAY", words[7], error) : std::nullopt;
        if (!delay) return std::nullopt;
        c.value = {words[3] == "left", std::min(*x, kRecoilMoveMax), words[5] == "up", std::min(*y, kRecoilMoveMax),
                   std::min(*delay, kRecoilDelayMax)};
        return c;
    }
    error = "recoil takes show G [B], set G B left|right X up|down Y DELAY, reset G, import G FILE, export G "
            "FILE or upload";
    return std::nullopt;
}

int RunRecoilCommand(CHeadlessSession& session, const RecoilCommand& c, std::ostream& out, bool json,
                     std::string& error) {
    COrbantixMouseDevice* mouse = session.WaitForMouse(std::chrono::seconds(3));
    if (mouse == nullptr) {
        error = "no mouse is connected";
        return 1;
    }
    if (!session.MakeCurrent(*mouse)) {
        error = "the mouse could not be made the current device";
        return 1;
    }
    CShootControlUI* page = ShootControlOf(mouse);
    if (page == nullptr) {
        error = "the mouse's page has no recoil page";
        return 1;
    }
    page->LoadGuns();
    page->SelectGun(c.gun);
    if (c.verb == "show") {
        Json::Value doc(Json::objectValue);
        doc["gun"] = c.gun + 1;
        doc["bullets"] = Json::Value(Json::arrayValue);
        const int first = c.bullet < 0 ? 0 : c.bullet;
        const int last = c.bullet < 0 ? kRecoilBullets - 1 : c.bullet;
        for (int b = first; b <= last; ++b) {
            page->SelectBullet(b);
            const RecoilBullet shown = page->ShownBullet();
            if (!json) {
                PrintBullet(out, b, shown);
                continue;
            }
            Json::Value row(Json::objectValue);
            row["bullet"] = b + 1;
            row["horizontal"] = shown.left ? "left" : "right";
            row["x"] = shown.x;
            row["vertical"] = shown.up ? "up" : "down";
            row["y"] = shown.y;
            row["delay"] = shown.delay;
            doc["bullets"].append(row);
        }
        if (json) out << CJsonFileUtil::StyledText(doc);
        return 0;
    }
    if (c.verb == "set") {
        page->SelectBullet(c.bullet);
        page->ShowInControls(c.value);
        if (!page->SaveCurrentBullet()) {
            error = "the pattern file could not be written";
            return 1;
        }
        return 0;
    }
    bool done = true;
    if (c.verb == "reset") done = page->ResetCurrentGun(error);
    if (c.verb == "import") done = page->ImportGun(c.file, error);
    if (c.verb == "export") done = page->ExportGun(c.file, error);
    if (c.verb == "upload") {
        done = SendRecoilPatterns(session.Window()) == 1;
        session.PumpFor(1ms);
        if (!done) error = "the mouse did not take the recoil patterns";
    }
    return done ? 0 : 1;
}

}  // namespace zevik
