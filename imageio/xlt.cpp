#include "output_catalogue.h"

// The list grows by this many places at a time.
static const int32 kListBlockSize = 20;

BList xlt(kListBlockSize);
