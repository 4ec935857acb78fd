#include "calendar_settings.h"

calendar_settings cal;
