#pragma once
// The update check and downloads from the command line (and its batch word), as the user runs them
// in the settings window: "check|download [--server URL] [--ca-file FILE]". The window opens as
// "setbtn" opens it, without a display; "check" waits for the check, "download" then confirms the
// checked rows ("update_fw_and_ap", "update_OK_btn") and waits until no row waits for or runs its
// download. Output per row ENTRY<TAB>STATE<TAB>TEXTKEY<TAB>CURRENT<TAB>NEW<TAB>FILE, then
// window<TAB>STATE<TAB>TEXTKEY; with json one document {"window": {...}, "rows": [...]}.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "update/update_session.h"

namespace zevik {

class CHeadlessSession;

struct UpdateCommand {
    bool download = false;
    std::optional<std::string> server;  // the service's API root; none: the environment's or built-in
    std::optional<std::string> caFile;  // a certificate to trust besides the system's
};

// The words after "update"; nothing, with the message, for anything else.
std::optional<UpdateCommand> ParseUpdateWords(const std::vector<std::string>& words, std::string& error);

// The service address (given or from ZEVIK_UPDATE_SERVER) is an http(s) address ending in "/", the
// CA file (given or from ZEVIK_UPDATE_CA_FILE) can be read. Checked before anything opens.
bool CheckUpdateCommand(const UpdateCommand& command, std::string& error);

// Runs a checked command on the session's main window and prints the rows. 0 when an entry reached
// the service and no download failed; 1 otherwise, with the reason on err.
int RunUpdateCommand(CHeadlessSession& session, const UpdateCommand& command, std::ostream& out,
                     std::ostream& err, bool json);

// The rows and the window state as the command prints them.
void PrintUpdateRows(const UpdateSessionSnapshot& shown, std::ostream& out, bool json);

}  // namespace zevik
