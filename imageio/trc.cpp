#include "output_catalogue.h"

int32 trc = 0;
