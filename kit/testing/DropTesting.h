// Drops on a view as the platform delivers them, for tests: files, or data offered under
// MIME types in the source's order.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "Point.h"

class BView;

namespace kit::testing {

// screenPoint is where the drop lands, in screen coordinates.
void DropFiles(BView* view, const std::vector<std::string>& paths, BPoint screenPoint);
void DropData(BView* view, const std::vector<std::pair<std::string, std::string>>& offers,
	BPoint screenPoint);

} // namespace kit::testing
