// What a picture file's EXIF says of it: the orientation it asks to be shown in and the day
// it was taken. Found in the EXIF of a JPEG (APP1 "Exif" segment), a PNG (eXIf chunk before
// the image data) or a WebP (EXIF chunk), and in a TIFF file's own directories.
#pragma once

#include "DataIO.h"

namespace kit {

struct ExifFacts {
	uint16 orientation = 1; // kOrientationNormal to kOrientationRotated270, see PictureTarget.h
	// The day the picture was taken: DateTimeOriginal, else DateTimeDigitized, else DateTime,
	// the first of them that holds a valid date. All 0 when none does.
	int32 year = 0;
	int32 month = 0;
	int32 day = 0;

	bool HasDate() const { return year != 0; }
};

// The facts of the file that starts at the source's current position, read in one walk of
// its EXIF: the orientation is kOrientationNormal when the file names none, names a value
// out of range, or is in no format that carries one. Reads only the bytes it needs, where
// they are, looks at a bounded number of them whatever the file claims, and leaves the
// source's position as it was.
ExifFacts FindExifFacts(BPositionIO* source);

// FindExifFacts(source).orientation.
uint16 FindOrientation(BPositionIO* source);

} // namespace kit
