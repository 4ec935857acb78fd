// The windows that exist, in the order they were created.
#pragma once

#include <vector>

class BWindow;

namespace kit {

std::vector<BWindow*>& Windows();

} // namespace kit
