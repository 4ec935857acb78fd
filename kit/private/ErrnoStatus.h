// The status that stands for a system error (errno): the kit's own code where it has one,
// else the errno value itself carried by B_FROM_POSIX_ERROR, so its words are not lost.
#pragma once

#include "SupportDefs.h"

namespace kit {

status_t StatusFromErrno(int error);

} // namespace kit
