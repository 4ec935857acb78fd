// The scale chosen in the last page setup of the run (PrintJob.h), which new print jobs
// take; B_PRINT_SCALE_ACTUAL_SIZE until a page setup chooses another.
#pragma once

#include "PrintJob.h"

namespace kit {

print_scale& RunPageScale();

} // namespace kit
