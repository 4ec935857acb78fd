// What the kit's decoders may do with a BBitmapStream beyond its stream interface.
#pragma once

#include "BitmapStream.h"

namespace kit {

class BitmapStreamAccess {
public:
	// Gives an empty bitmap stream (nothing written to it, nothing detached) a whole
	// bitmap, as if its bitmap stream bytes had been written: the stream then owns it, and
	// DetachBitmap hands out this very bitmap, without a copy. B_BAD_VALUE when destination
	// is no bitmap stream or the bitmap is not valid, B_NOT_ALLOWED when the stream is not
	// empty; the caller then keeps the bitmap and writes the stream's bytes instead.
	static status_t Adopt(BPositionIO* destination, BBitmap* bitmap);

	// The bitmap of a bitmap stream that holds all of its rows and stands at its start, for
	// an encoder to read in place; null for any other stream.
	static const BBitmap* WholeBitmap(BPositionIO* source);
};

} // namespace kit
