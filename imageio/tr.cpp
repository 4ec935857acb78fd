#include "tr.h"

BTranslatorRoster* tr = nullptr;
