#pragma once
// The "mouse recoil" words of the headless tool, acting on the mouse's recoil page as the user does.
// Guns G count from 1 to 4, bullets B from 1 to 30.
//
//   show G [B]                                   "B  left|right X  up|down Y  DELAY" per bullet; --json
//   set G B left|right X up|down Y DELAY         choose the gun and bullet, fill the controls, save
//   reset G | import G FILE | export G FILE      the gun's pattern file from its default, a file, or to one
//   upload                                       the four patterns to the mouse

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "devices/recoil_bullet.h"

namespace zevik {

class CHeadlessSession;

struct RecoilCommand {
    std::string verb;
    int gun = 0;      // from 0
    int bullet = -1;  // from 0; -1: every bullet
    RecoilBullet value;
    std::string file;
};

// Nothing, with a message naming what is allowed, for words that are not a command. X, Y and DELAY
// are held to their fields as the page holds them. Needs no device.
std::optional<RecoilCommand> ParseRecoilWords(const std::vector<std::string>& words, std::string& error);

// 0 done; 1 refused or failed, with the reason in error.
int RunRecoilCommand(CHeadlessSession& session, const RecoilCommand& command, std::ostream& out, bool json,
                     std::string& error);

}  // namespace zevik
