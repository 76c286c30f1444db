#pragma once
// One call of a method of the running zevik over the session bus, as "game" and "audio send" make
// it. It never starts a program (only the running one is meant) and waits at most a second.

#include <QList>
#include <QVariant>
#include <string>
#include <string_view>

namespace zevik::cli {

// False with the reason in error: no session bus, no zevik program on it, or the program refused
// the call (what names the thing sent, for the message).
bool CallRunningProgram(const char* method, const QList<QVariant>& arguments, std::string_view what,
                        std::string& error);

}  // namespace zevik::cli
