#pragma once
// The "mouse lighting" words of the headless tool. The words that change the lighting act as the user
// does: they make the mouse the current device (its option selected) and raise the notification of the
// lighting page's control through the window's routing, so the same handlers run as for a click.
//
//   show                   the lighting record ("mode: N NAME", ...); one JSON document with --json
//   modes                  the mode list: "INDEX VALUE NAME", " hidden" for hidden items
//   frame                  the preview of each LED "light_" INDEX, after at least one lighting step
//   mode N                 a visible item of the list, counted from 0
//   brightness N, speed N  0 to the slider's maximum (4)
//   direction 1|0          the first or the second direction option
//   multicolor 0|1         the seven-colour check
//   color RRGGBB           the palette's colour
//   rgb R|G|B [TEXT]       an edit as typed (no text: emptied), then it loses the focus
//   option N               colour option N, 1 to 8
//   same-mode              the synchronised-lighting button, only while it is shown

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace zevik {

class CHeadlessSession;
class COrbantixKeyboardDevice;
class COrbantixMousePadDevice;

struct LightingCommand {
    std::string verb;
    int value = 0;     // the number, 0xRRGGBB, or the edit's channel (0 R, 1 G, 2 B)
    std::string text;  // "rgb": the text typed
};

// The brightness and speed maxima of the mouse's sliders.
inline constexpr int kMouseLightingLevelMax = 4;

// Checks the words against the mode list's visibility (one flag per item); nothing, with a message
// naming the allowed values, for an unknown word, a wrong count, a number out of range, a hidden item
// or a bad colour. Needs no device.
std::optional<LightingCommand> ParseLightingWords(const std::vector<std::string>& words,
                                                  const std::vector<bool>& visibleModes, std::string& error);
// The same against the mouse's mode list in the program's "default_light.json".
std::optional<LightingCommand> ParseLightingWords(const std::vector<std::string>& words, std::string& error);

// Runs a checked command on the session's connected mouse. 0 done; 1 failed, with the reason in error
// (nothing is written then).
int RunLightingCommand(CHeadlessSession& session, const LightingCommand& command, std::ostream& out,
                       bool json, std::string& error);

// The same words on the keyboard's lighting page; "frame" lists the logical keys the board has.
int RunLightingCommand(CHeadlessSession& session, COrbantixKeyboardDevice& keyboard,
                       const LightingCommand& command, std::ostream& out, bool json, std::string& error);
// The words checked against the keyboard's mode list.
std::optional<LightingCommand> ParseKeyboardLightingWords(const std::vector<std::string>& words,
                                                          std::string& error);

// The same words on the mousepad's lighting page; "frame" lists its LEDs.
int RunLightingCommand(CHeadlessSession& session, COrbantixMousePadDevice& pad, const LightingCommand& command,
                       std::ostream& out, bool json, std::string& error);
// The words checked against the mousepad's mode list.
std::optional<LightingCommand> ParsePadLightingWords(const std::vector<std::string>& words, std::string& error);

// The words, for help texts.
const std::vector<std::string>& LightingWordNames();

}  // namespace zevik
