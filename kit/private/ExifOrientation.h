// Finding the orientation a picture file asks to be shown in: the EXIF orientation of a
// JPEG (APP1 "Exif" segment), a PNG (eXIf chunk before the image data) or a WebP (EXIF
// chunk), and the orientation tag of a TIFF file's first image.
#pragma once

#include "DataIO.h"

namespace kit {

// The orientation (kOrientationNormal to kOrientationRotated270, see PictureTarget.h) of
// the file that starts at the source's current position; kOrientationNormal when it names
// none, names a value out of range, or is in no format that carries one. Reads only the
// bytes it needs, where they are, and leaves the source's position as it was.
uint16 FindOrientation(BPositionIO* source);

} // namespace kit
