#include "devices/recoil_bullet.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "settings/json_access.h"

namespace zevik {

namespace {

bool IsDown(const std::string& action) {
    return action.size() == 4 && std::equal(action.begin(), action.end(), "down",
                                            [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

Json::Value Event(const char* action, int button, int delay, int type) {
    Json::Value event(Json::objectValue);
    event["Action"] = action;
    event["Button"] = button;
    event["Delay"] = delay;
    event["Type"] = type;
    return event;
}

}  // namespace

RecoilBullet ReadRecoilBullet(const Json::Value& pattern, int bullet) {
    RecoilBullet out;
    const Json::Value* events = json::Member(pattern, "Events");
    if (events == nullptr || !events->isArray() || bullet < 0 || bullet >= kRecoilBullets) return out;
    const auto at = [events, bullet](int k) -> const Json::Value* {
        const Json::Value* e = json::Element(*events, static_cast<Json::ArrayIndex>(kRecoilEventsPerBullet * bullet + k));
        return e != nullptr && e->isObject() ? e : nullptr;
    };
    if (const Json::Value* xMove = at(2)) {
        out.left = IsDown(json::StringMember(*xMove, "Action"));
        out.x = json::IntMember(*xMove, "Button");
    }
    if (const Json::Value* yMove = at(3)) {
        out.up = IsDown(json::StringMember(*yMove, "Action"));
        out.y = json::IntMember(*yMove, "Button");
        out.delay = json::IntMember(*yMove, "Delay");
    }
    return out;
}

void WriteRecoilBullet(Json::Value& pattern, int bullet, const RecoilBullet& value) {
    if (bullet < 0 || bullet >= kRecoilBullets) return;
    Json::Value& events = json::ObjectSlot(pattern, "Events");
    const char* xDir = value.left ? "down" : "up";
    const char* yDir = value.up ? "down" : "up";
    const Json::Value six[kRecoilEventsPerBullet] = {
        Event("down", 1, 10, 1),
        Event("up", 1, 0, 1),
        Event(xDir, std::clamp(value.x, 0, kRecoilMoveMax), 5, 4),
        Event(yDir, std::clamp(value.y, 0, kRecoilMoveMax), std::clamp(value.delay, 0, kRecoilDelayMax), 5),
        Event(xDir, 0, 0, 4),
        Event(yDir, 0, 0, 5),
    };
    for (int k = 0; k < kRecoilEventsPerBullet; ++k) {
        json::ArraySlot(events, static_cast<Json::ArrayIndex>(kRecoilEventsPerBullet * bullet + k)) = six[k];
    }
}

}  // namespace zevik
