#pragma once
// CNotifyRouter: the table that sends a notification of the main window's controls to its operation.
//
// A route is chosen by notification type first (exact), then by the sender's name: an exact name, or
// a name prefix followed by a decimal index ("key_" + "12" gives prefix "key_" and index 12). Names
// are compared without letter case unless a route asks for it. Routes are tried in the order they
// were added, so an earlier exact name wins over a later prefix; the first match runs and ends the
// search. Types added with SkipDefault are consumed: the caller must not pass them on to the
// library's default handling.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/notify_ui.h"

namespace zevik {

// A control name split into its text prefix and trailing decimal number; index is -1 when the name
// does not end in digits (or the number does not fit an int).
struct RoutedName {
    std::string_view prefix;
    int index = -1;
};
RoutedName SplitRoutedName(std::string_view name);

enum class RouteMatch {
    Any,         // any sender (also none)
    Name,        // the exact name, without case
    NameCase,    // the exact name, with case
    Prefix,      // prefix + decimal index, prefix without case
    PrefixCase,  // prefix + decimal index, prefix with case
};

// What Route did with a notification.
enum class RouteResult {
    None,     // no route: the library's default handling only
    Routed,   // a route ran; the default handling follows
    Consumed  // handled here and the default handling is skipped
};

class CNotifyRouter {
public:
    // index is the name's decimal index for prefix routes, -1 otherwise.
    using Handler = std::function<void(TNotifyUI& msg, int index)>;

    void Add(std::string_view type, RouteMatch match, std::string_view name, Handler handler);
    // A type that is handled by nothing and must not reach the default handling.
    void SkipDefault(std::string_view type);

    RouteResult Route(TNotifyUI& msg) const;
    // A command that has a name but no sender control (a popup menu's item): routed as a
    // notification of this type whose sender carries the name.
    RouteResult RouteCommand(std::string_view type, std::string_view name) const;

    // Whether some route would take this type and sender name (for tests and the command line).
    bool HasRoute(std::string_view type, std::string_view senderName) const;
    size_t Size() const { return routes_.size(); }

private:
    struct Route_ {
        std::string type;
        RouteMatch match;
        std::string name;
        Handler handler;
    };
    // The index a route takes from this name, or nullopt-like -2 when it does not match.
    static int Matches(const Route_& route, std::string_view name);
    RouteResult RouteByName(TNotifyUI& msg, std::string_view name, bool hasName) const;

    std::vector<Route_> routes_;
    std::vector<std::string> skipped_;
};

}  // namespace zevik
