#include "config_state.h"

bool cwin = false;
