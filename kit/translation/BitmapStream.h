// A seekable stream in the bitmap stream format (B_TRANSLATOR_BITMAP): a 32-byte header
// followed by the pixel rows. Wrapping a bitmap presents it as such a stream; writing such
// bytes into an empty stream builds a bitmap once the header has been checked against the
// data. A header that does not describe sane data makes the write fail; it never crashes.
#pragma once

#include "Bitmap.h"
#include "DataIO.h"
#include "TranslationDefs.h"

namespace kit {
class BitmapStreamAccess;
}

class BBitmapStream : public BPositionIO {
public:
	// With a bitmap, the stream lends it: the stream deletes it on destruction unless it
	// has been detached first.
	explicit BBitmapStream(BBitmap* bitmap = nullptr);
	~BBitmapStream() override;

	ssize_t ReadAt(off_t position, void* buffer, size_t size) override;
	ssize_t WriteAt(off_t position, const void* buffer, size_t size) override;
	off_t Seek(off_t position, uint32 seekMode) override;
	off_t Position() const override;
	status_t SetSize(off_t size) override;
	status_t GetSize(off_t* size) const override;

	// Hands the bitmap to the caller, who then owns it. B_ERROR when the stream holds no
	// complete bitmap (nothing or only part of one was written) or it was detached already.
	status_t DetachBitmap(BBitmap** outBitmap);

private:
	friend class kit::BitmapStreamAccess;

	struct Private;
	Private* fPrivate;
};
