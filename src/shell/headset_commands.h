#pragma once
// The headset's command words, checked without a device so that a wrong word or number is refused
// before anything is opened; run as the headset's sound and voice-changer pages' operations.
//
//   show                    connection, sound card, microphone and monitoring, equaliser, bands,
//                           custom equalisers, voice changer and what the card does not offer
//   mic N | monitor N       level 0-100
//   mic-on 0|1 | monitor-on 0|1   1: not muted
//   eq P                    preset 1-13
//   eq-band B VALUE         band 1-10 to -20..20 (not saved, as on the page)
//   eq-select N             the user's equaliser N, from 1
//   eq-save [NAME]          a new equaliser of the present bands, or (no name) the selected one
//   eq-delete               the selected user's equaliser
//   voice 0|1 | voice-type T      voice changer off/on; type 1-4
//   defaults                the factory profile
//   lighting WORDS          the lighting words on the headset
//
// Results (exit codes): 0 done; 1 no headset, a failed microphone or monitoring write, a failed
// save ("message_text_5": the name is taken; or no name and none selected, or the list is full);
// 2 a number the headset's own list does not have (eq-select), nothing changed. The equaliser and
// voice-changer words change page and profile whatever the sound card answers: a change it did not
// take is said on the error stream ("not applied"), with 0.

#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "shell/lighting_commands.h"

namespace zevik {

class CHeadlessSession;
class COrbantixHS6533Device;

struct HeadsetCommand {
    std::string verb;
    int value = 0;      // the number; eq-band: the band (1-10)
    int bandValue = 0;  // eq-band: the value
    std::string name;   // eq-save
    std::optional<LightingCommand> lighting;  // "lighting WORDS" (lighting_commands.h)
};

inline constexpr std::chrono::seconds kHeadsetWait{3};
inline constexpr int kHeadsetBandMin = -20;
inline constexpr int kHeadsetBandMax = 20;

std::optional<HeadsetCommand> ParseHeadsetWords(const std::vector<std::string>& words, std::string& error);

// Runs a checked command on the headset. The exit code; error (and notice, for a change the card
// did not take) says why.
int RunHeadsetCommand(COrbantixHS6533Device& headset, const HeadsetCommand& command, std::ostream& out,
                      bool json, std::string& error, std::string& notice);

// The headset of the session, when connected; null otherwise.
COrbantixHS6533Device* ConnectedHeadset(CHeadlessSession& session);
// Waits for the session's headset (kHeadsetWait), then runs the command; 1 when none came.
int RunHeadsetCommand(CHeadlessSession& session, const HeadsetCommand& command, std::ostream& out, bool json,
                      std::string& error, std::string& notice);

}  // namespace zevik
