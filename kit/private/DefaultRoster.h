// Builds the system's translator roster from the image formats available at run time.
#pragma once

class BTranslatorRoster;

namespace kit {

// A new roster with one translator per image format that the image plug-ins read, followed
// by the bitmap stream translator; null when no image format is available at all.
BTranslatorRoster* BuildDefaultRoster();

} // namespace kit
