// The kit's own JPEG reader: libjpeg-turbo decoding straight into the rows of the picture's
// bitmap, in B, G, R, A order, with the file's EXIF orientation applied. It takes the JPEG
// files of the image plug-in's format; the plug-in still reads the CMYK ones (Adobe's
// inverted ink) and every other format.
#pragma once

#include "DataIO.h"
#include "DecodeRequest.h"

namespace kit {

// Decodes the JPEG file at the source's position into destination as a B_RGB32 bitmap
// (see PictureTarget), as the request asks (a smaller picture by libjpeg's DCT scaling, or
// the header alone), and says what it made in the report. Sets *handled to false, having
// written nothing, for a file it leaves to the image plug-in; otherwise the result is B_OK,
// B_NO_MEMORY for a picture beyond the bitmap limits (which apply to the size the file
// claims, whatever size is asked for), or B_ILLEGAL_DATA.
status_t DecodeJpeg(BPositionIO* source, BPositionIO* destination, const DecodeRequest& request,
	DecodeReport* report, bool* handled);

} // namespace kit
