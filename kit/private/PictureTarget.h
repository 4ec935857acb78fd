// Where the kit's decoders put a picture: one B_RGB32 bitmap of the picture as it is shown,
// written row by row by the decoder and handed to the translation's destination at the end.
// When the destination is an empty BBitmapStream (what loading a picture uses), the stream
// adopts that very bitmap, so a picture is decoded once, straight into the memory that the
// program then keeps. Any other destination gets the bitmap stream bytes written into it.
#pragma once

#include <cstddef>

#include "Bitmap.h"
#include "DataIO.h"

namespace kit {

// How the stored rows of a picture are turned to show it upright: the values of the EXIF
// (and TIFF) orientation tag. The first row and column stored are
enum : uint16 {
	kOrientationNormal = 1,      // the top row, left column
	kOrientationMirrored = 2,    // the top row, right column
	kOrientationRotated180 = 3,  // the bottom row, right column
	kOrientationFlipped = 4,     // the bottom row, left column
	kOrientationTransposed = 5,  // the left column, top row
	kOrientationRotated90 = 6,   // the right column, top row (turn clockwise to show)
	kOrientationTransversed = 7, // the right column, bottom row
	kOrientationRotated270 = 8,  // the left column, bottom row (turn anticlockwise)
};

class PictureTarget {
public:
	explicit PictureTarget(BPositionIO* destination);
	~PictureTarget();
	PictureTarget(const PictureTarget&) = delete;
	PictureTarget& operator=(const PictureTarget&) = delete;

	// Makes the bitmap for a picture stored as width x height pixels and shown turned as
	// orientation says (5 to 8 swap its width and height; any other value counts as 1).
	// The caller has checked the size against the bitmap limits. Calling it again starts
	// afresh. B_NO_MEMORY when the bitmap cannot be had.
	status_t Start(int32 width, int32 height, uint16 orientation);

	// Whether stored row y is the bitmap's row y (orientation 1): the decoder may then
	// write its B, G, R, A pixels straight into Row(y).
	bool InPlace() const { return fOrientation == kOrientationNormal; }
	uint8* Row(int32 y) const;
	int32 StoredWidth() const { return fWidth; }
	int32 StoredHeight() const { return fHeight; }

	// Puts count stored rows, the first of them row y, where the orientation shows them.
	// The rows are width B, G, R, A pixels each, stride bytes apart.
	void Place(int32 y, const uint8* rows, int32 count, size_t stride);

	// Hands the picture to the destination; the target holds nothing afterwards.
	status_t Finish();

private:
	BPositionIO* fDestination;
	BBitmap* fBitmap;
	int32 fWidth;
	int32 fHeight;
	uint16 fOrientation;
};

} // namespace kit
