#include "calendar_attributes.h"

calendar_attributes atr;
