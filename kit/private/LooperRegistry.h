// The loopers that exist, in the order they were created.
#pragma once

#include <vector>

class BLooper;

namespace kit {

std::vector<BLooper*>& Loopers();

} // namespace kit
