#pragma once
// Registered messages: one process-wide table from name to message id. The same name always gives the
// same id; ids are handed out from 0xC000 upwards. Safe from any thread.

#include <string>
#include <string_view>

#include "ui/ui_types.h"

namespace zevik {

// 0 when the name is empty or the id range (0xC000..0xFFFF) is used up.
UINT RegisterWindowMessage(std::string_view name);
// The name of a registered id, "" when the id was not handed out.
std::string GetRegisteredMessageName(UINT id);

}  // namespace zevik
