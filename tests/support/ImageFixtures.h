// Pictures and byte sequences that the image tests build for themselves.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "DataIO.h"
#include "TranslationDefs.h"

class BTranslatorRoster;

// A width x height bitmap in which every pixel differs from its neighbours.
std::unique_ptr<BBitmap> MakePatternBitmap(int32 width, int32 height, color_space space = B_RGB32);
// A width x height B_RGB32 bitmap of gentle gradients, which lossy formats keep well.
std::unique_ptr<BBitmap> MakeSmoothBitmap(int32 width, int32 height);

// The bitmap stream bytes of a header followed by data.
std::vector<uint8> BitmapStreamBytes(
	const TranslatorBitmap& header, const std::vector<uint8>& data);
// A header for a B_RGB32-style bitmap of the given bounds and space, with rows of
// rowBytes (0: the unpadded pixel bytes) and a matching data size.
TranslatorBitmap MakeHeader(float left, float top, float right, float bottom,
	color_space space = B_RGB32, uint32 rowBytes = 0);

// A PNG signature and a well-formed header chunk claiming width x height, then a bogus
// data chunk and the end chunk.
std::vector<uint8> PngClaimingSize(uint32 width, uint32 height);
// A BMP file header and info header claiming width x height at 24 bits, without pixels.
std::vector<uint8> BmpClaimingSize(int32 width, int32 height);

// The file (JPEG, PNG, WebP or TIFF) with an EXIF orientation of orientation added: an APP1
// "Exif" segment, an eXIf chunk, an EXIF chunk (the WebP made an extended one of a picture
// of width x height), or the orientation tag in a new first directory.
std::string WithOrientation(const std::string& file, uint16 orientation, int32 width, int32 height);
// The JPEG with an APP1 "Exif" segment holding exif (a TIFF structure) right after its start.
std::string JpegWithExif(const std::string& jpeg, const std::vector<uint8>& exif);
// A PNG of width x height grey pixels (bitDepth 1 or 8), every one black, compressed as
// well as zlib can: a picture of a single colour, or a decompression bomb.
std::string BlackGreyPng(uint32 width, uint32 height, int bitDepth);
// The JPEG with the size its frame header claims changed to width x height.
std::string JpegClaimingSize(const std::string& jpeg, uint16 width, uint16 height);

// Encodes bitmap with the roster into type; the encoded bytes land in out.
status_t EncodeBitmap(
	BTranslatorRoster* roster, const BBitmap& bitmap, uint32 type, BMallocIO* out);
// Decodes bytes with the roster into a bitmap; null with *status set on failure.
std::unique_ptr<BBitmap> DecodeBytes(BTranslatorRoster* roster, const void* bytes, size_t size,
	status_t* status, const char* hintMIME = nullptr);

// Pixel (x, y) of a B_RGB32 or B_RGBA32 bitmap as B, G, R, A bytes.
const uint8* PixelAt(const BBitmap& bitmap, int32 x, int32 y);
