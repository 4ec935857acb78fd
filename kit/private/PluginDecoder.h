// Decoding through the image plug-ins: the file is read through the source as the plug-in
// asks for it (never copied whole into memory), its claimed size is checked against the
// bitmap limits before the plug-in decodes, and the pixels go into the picture's bitmap,
// straight where the plug-in can decode into it, otherwise converted a band of rows at a
// time. The file's EXIF orientation is applied.
#pragma once

#include <QByteArray>

#include "DataIO.h"
#include "DecodeRequest.h"

namespace kit {

// Decodes the file at the source's position, in the plug-in's format, into destination as
// a B_RGB32 bitmap (see PictureTarget); the first frame of an animation. B_NO_MEMORY for a
// picture beyond the bitmap limits (a vector picture is drawn scaled down to them
// instead), B_NO_TRANSLATOR when the plug-in does not read the data, B_ILLEGAL_DATA when it
// cannot decode it, B_IO_ERROR when the source fails. The picture is always decoded whole;
// of the request only the header alone is heeded, and the report says what was found.
status_t DecodeWithPlugin(BPositionIO* source, const QByteArray& format, BPositionIO* destination,
	const DecodeRequest& request, DecodeReport* report);

} // namespace kit
