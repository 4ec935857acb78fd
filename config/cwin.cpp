#include "cwin.h"

bool cwin = false;
