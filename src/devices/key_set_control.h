#pragma once
// IKeySetControl: what a device page asks of its key assignment control ("KeySetControlItem"). The
// control lives with the editors; a device finds it on its page by the interface name, opens the
// selected key in it, and asks it how a function reads on a key button.

#include <optional>
#include <string>
#include <vector>

#include "settings/key_assign_record.h"

namespace zevik {

class IKeySetControl {
public:
    static constexpr const char* kInterfaceName = "KeySetControl";

    virtual ~IKeySetControl() = default;
    // Page kind of the device (keyboard 1, mouse 2).
    virtual void SetPageKind(int pageKind) = 0;
    // The macro list in index order: the macro choice's items and the names macro keys show.
    virtual void SetMacroNames(std::vector<std::string> names) = 0;
    // Opens a key: its record becomes the pending record, its default code the factory record, and
    // the controls show it.
    virtual void EditKey(const KeyAssignRecord& record) = 0;
    // The controls as a record of the open key (it also becomes the pending record); nothing when no
    // key is open.
    virtual std::optional<KeyAssignRecord> BuildAssignment() = 0;
    // The text a key button shows for a code: a language key, or the text itself (a macro's name,
    // a key with its modifier).
    virtual std::string LabelOf(AssignmentCode code) const = 0;
};

}  // namespace zevik
