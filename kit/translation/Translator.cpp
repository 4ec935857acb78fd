#include "Translator.h"

BTranslator::~BTranslator() = default;
