#include "shell/notify_router.h"
#include "ui/attribute_parser.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "platform/trace.h"
#include "ui/control_ui.h"

namespace zevik {

namespace {

constexpr int kNoMatch = -2;

}  // namespace

RoutedName SplitRoutedName(std::string_view name) {
    size_t digits = name.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1])) != 0) --digits;
    if (digits == name.size()) return {name, -1};
    int value = 0;
    const char* first = name.data() + digits;
    const char* last = name.data() + name.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last) return {name, -1};
    return {name.substr(0, digits), value};
}

void CNotifyRouter::Add(std::string_view type, RouteMatch match, std::string_view name, Handler handler) {
    routes_.push_back(Route_{std::string(type), match, std::string(name), std::move(handler)});
}

void CNotifyRouter::SkipDefault(std::string_view type) {
    skipped_.emplace_back(type);
}

int CNotifyRouter::Matches(const Route_& route, std::string_view name) {
    switch (route.match) {
        case RouteMatch::Any:
            return -1;
        case RouteMatch::Name:
            return EqualsNoCase(route.name, name) ? -1 : kNoMatch;
        case RouteMatch::NameCase:
            return route.name == name ? -1 : kNoMatch;
        case RouteMatch::Prefix:
        case RouteMatch::PrefixCase: {
            const RoutedName split = SplitRoutedName(name);
            if (split.index < 0) return kNoMatch;
            const bool same = route.match == RouteMatch::Prefix ? EqualsNoCase(route.name, split.prefix)
                                                                : route.name == split.prefix;
            return same ? split.index : kNoMatch;
        }
    }
    return kNoMatch;
}

RouteResult CNotifyRouter::Route(TNotifyUI& msg) const {
    const std::string_view name =
        msg.pSender != nullptr ? std::string_view(msg.pSender->GetName()) : std::string_view();
    if (msg.sType != DUI_MSGTYPE_TIMER && TraceEnabled()) {
        Trace(msg.sType);
        Trace(name);
    }
    return RouteByName(msg, name, msg.pSender != nullptr);
}

RouteResult CNotifyRouter::RouteCommand(std::string_view type, std::string_view name) const {
    TNotifyUI msg;
    msg.sType = type;
    return RouteByName(msg, name, true);
}

RouteResult CNotifyRouter::RouteByName(TNotifyUI& msg, std::string_view name, bool hasName) const {
    if (std::find(skipped_.begin(), skipped_.end(), msg.sType) != skipped_.end())
        return RouteResult::Consumed;
    for (const Route_& route : routes_) {
        if (route.type != msg.sType) continue;
        if (route.match != RouteMatch::Any && !hasName) continue;
        const int index = Matches(route, name);
        if (index == kNoMatch) continue;
        route.handler(msg, index);
        return RouteResult::Routed;
    }
    return RouteResult::None;
}

bool CNotifyRouter::HasRoute(std::string_view type, std::string_view senderName) const {
    return std::any_of(routes_.begin(), routes_.end(), [&](const Route_& route) {
        return route.type == type && Matches(route, senderName) != kNoMatch;
    });
}

}  // namespace zevik
