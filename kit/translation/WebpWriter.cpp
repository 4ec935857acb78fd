#include "WebpWriter.h"

#include <new>
#include <vector>

#include <webp/encode.h>

#include "Bitmap.h"
#include "BitmapStreamAccess.h"
#include "BitmapStreamFormat.h"
#include "BitmapStreamIO.h"
#include "PixelConversion.h"

namespace kit {

namespace {

const float kQuality = 75;

struct Output {
	BPositionIO* destination;
	status_t status;
};

int write_out(const uint8_t* data, size_t size, const WebPPicture* picture)
{
	auto* out = static_cast<Output*>(picture->custom_ptr);
	if (out->status == B_OK && size > 0)
		out->status = WriteAll(out->destination, data, size);
	return out->status == B_OK;
}

} // namespace

status_t WriteWebp(BPositionIO* source, const TranslatorBitmap& header, BPositionIO* destination)
{
	const int32 width = HeaderWidth(header);
	const int32 height = HeaderHeight(header);
	if (width > WEBP_MAX_DIMENSION || height > WEBP_MAX_DIMENSION)
		return B_ILLEGAL_DATA;
	const color_space space = color_space(header.colors);
	const bool alpha = space == B_RGBA32;

	// B, G, R, A rows: the bitmap's own where the stream is one, else read into a copy.
	const uint8* rows = nullptr;
	int32 stride = 0;
	std::vector<uint8> copy;
	const BBitmap* bitmap = BitmapStreamAccess::WholeBitmap(source);
	if (bitmap != nullptr && (space == B_RGB32 || space == B_RGBA32)
		&& bitmap->ColorSpace() == space) {
		rows = static_cast<const uint8*>(bitmap->Bits());
		stride = bitmap->BytesPerRow();
	} else {
		stride = width * int32(kBGRABytes);
		try {
			copy.resize(size_t(stride) * size_t(height));
		} catch (const std::bad_alloc&) {
			return B_NO_MEMORY;
		}
		status_t status = ReadRowsAsBGRA(
			source, header, [&](int32 y) { return copy.data() + size_t(y) * size_t(stride); });
		if (status != B_OK)
			return status;
		rows = copy.data();
	}

	WebPConfig config;
	WebPPicture picture;
	if (!WebPConfigPreset(&config, WEBP_PRESET_DEFAULT, kQuality) || !WebPPictureInit(&picture))
		return B_ERROR;
	// Without it the encoder keeps every token of the picture until the end: for a large
	// photograph that is gigabytes, several times the picture itself.
	config.low_memory = 1;
	picture.width = width;
	picture.height = height;
	picture.use_argb = 0;
	bool imported = alpha ? WebPPictureImportBGRA(&picture, rows, stride)
						  : WebPPictureImportBGRX(&picture, rows, stride);
	if (!imported) {
		WebPPictureFree(&picture);
		return B_NO_MEMORY;
	}
	copy = std::vector<uint8>(); // the encoder has its own form of the picture now
	Output out = {destination, B_OK};
	picture.writer = write_out;
	picture.custom_ptr = &out;
	bool encoded = WebPEncode(&config, &picture) != 0;
	const WebPEncodingError error = picture.error_code;
	WebPPictureFree(&picture);
	if (out.status != B_OK)
		return out.status;
	if (!encoded)
		return error == VP8_ENC_ERROR_OUT_OF_MEMORY ? B_NO_MEMORY : B_ERROR;
	return B_OK;
}

} // namespace kit
