#pragma once

#include "command_line.h"

#include <string>

namespace telmora::kelvo {

// The usage of `command`, or of kelvo as a whole for Command::None.
std::string HelpText(Command command);

} // namespace telmora::kelvo
