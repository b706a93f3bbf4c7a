#pragma once
// The scenario tests' virtual time is the program's own (the dry run uses it too).
#include "platform/VirtualTime.h"

namespace tarvel::mock {

using platform::VirtualTime;
using platform::VirtualTimer;

} // namespace tarvel::mock
