// Every live handler has a token; messengers hold tokens, not pointers, so that a message
// for a handler that has gone away is refused instead of reaching freed memory.
#pragma once

#include "SupportDefs.h"

class BHandler;

namespace kit {

int32 RegisterHandler(BHandler* handler);
void UnregisterHandler(int32 token);
BHandler* LookUpHandler(int32 token);

} // namespace kit
