#pragma once
// Deleting a macro of a device kind with everything that refers to it: both questions are asked
// before any file changes; then every other profile of the kind is renumbered, the macro's list
// entry and file go, and the current profile's key list is renumbered, sent to the device (with the
// macros it uses, read from the shortened list) and saved, even when the device does not take it,
// which is reported.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "settings/json_file_util.h"
#include "settings/key_assign_record.h"
#include "settings/macro_store.h"

namespace zevik {

// The key list of the current profile, where it lives: the connected device and its profile, or
// only the profile file when no device is there.
class ICurrentMacroKeys {
public:
    virtual ~ICurrentMacroKeys() = default;
    virtual std::vector<KeyAssignRecord> CurrentKeys() = 0;
    // Sends the key list (and the macros it uses) to the device; an empty text when done, else why
    // not.
    virtual std::string SendKeys(const std::vector<KeyAssignRecord>& keys) = 0;
    virtual JsonWriteResult SaveKeys(const std::vector<KeyAssignRecord>& keys) = 0;
};

// Asks the user a question by its message key; true for yes.
using MacroDeletionQuestion = std::function<bool(const std::string& messageKey)>;

struct MacroDeletionResult {
    MacroStoreResult removal;          // the list entry and file; Refused when a question was declined
    bool declined = false;
    int otherProfilesChanged = 0;
    bool currentChanged = false;
    std::string deviceFailure;         // why the device did not take the renumbered keys, empty when it did
    std::vector<std::string> failures; // profile files that could not be written

    bool ok() const { return removal.ok() && deviceFailure.empty() && failures.empty(); }
};

struct MacroDeletionPlace {
    std::filesystem::path kindFolder;
    std::filesystem::path defaultFile;  // the kind's factory profile
    int deviceIndex = 0;
    std::filesystem::path currentProfile;  // left out of the file renumbering: current handles it
};

MacroDeletionResult DeleteMacroEverywhere(const MacroDeletionPlace& place, int macro, ICurrentMacroKeys& current,
                                          const MacroDeletionQuestion& ask);

// The current profile's keys kept only in its file: nothing to send.
class CProfileFileMacroKeys : public ICurrentMacroKeys {
public:
    CProfileFileMacroKeys(std::filesystem::path profile, std::filesystem::path defaultFile, int deviceIndex);
    std::vector<KeyAssignRecord> CurrentKeys() override;
    std::string SendKeys(const std::vector<KeyAssignRecord>&) override { return {}; }
    JsonWriteResult SaveKeys(const std::vector<KeyAssignRecord>& keys) override;

private:
    std::filesystem::path profile_;
    std::filesystem::path defaultFile_;
    int deviceIndex_;
};

}  // namespace zevik
