// Descriptions of translators and of the formats they read and write.
#pragma once

#include "SupportDefs.h"

typedef uint32 translator_id;

enum {
	B_MIME_STRING_LENGTH = 251,
};

// The platform's own bitmap stream format: a 32-byte big-endian header followed by rows.
enum : uint32 {
	B_TRANSLATOR_BITMAP = kit_code("bits"),
	B_TRANSLATOR_ANY_TYPE = 0,
};

// MIME type under which the bitmap stream format travels in messages and on the clipboard.
#define B_BITMAP_MIME_TYPE "image/x-be-bitmap"

struct translation_format {
	uint32 type;                     // type code of the format
	uint32 group;                    // B_TRANSLATOR_BITMAP for image formats
	float quality;                   // how well the translator handles it, 0 to 1
	float capability;                // how much of the format it supports, 0 to 1
	char MIME[B_MIME_STRING_LENGTH]; // NUL-terminated
	char name[B_MIME_STRING_LENGTH]; // NUL-terminated, human readable
};

struct translator_info {
	uint32 type; // the format this translator would read
	translator_id translator;
	uint32 group;
	float quality;
	float capability;
	char name[B_MIME_STRING_LENGTH];
	char MIME[B_MIME_STRING_LENGTH];
};

// Header of the bitmap stream format, as the fields stand after decoding (host order).
struct TranslatorBitmap {
	uint32 magic; // B_TRANSLATOR_BITMAP
	float left, top, right, bottom;
	uint32 rowBytes;
	uint32 colors; // a color_space
	uint32 dataSize;
};

const size_t B_TRANSLATOR_BITMAP_HEADER_SIZE = 32;

// Fields of the ioExtension message that the image translators read when they decode into
// B_TRANSLATOR_BITMAP, and those they add to it.
//
// Read:
// B_TRANSLATOR_EXT_HEADER_ONLY (bool): only the picture's size and facts are wanted; the
//   destination gets the bitmap stream header alone, and no pixel is decoded (a format
//   whose plug-in cannot tell its size beforehand is decoded to find it, then dropped).
// B_TRANSLATOR_EXT_BITMAP_LEAST_WIDTH, B_TRANSLATOR_EXT_BITMAP_LEAST_HEIGHT (int32): the
//   picture may be decoded smaller, where the format does it cheaply (JPEG: by M/8, M from
//   1 to 8), as long as the bitmap is at least this wide and this tall as it is shown
//   (upright); never larger than the picture. Either may be given alone; 0 bounds nothing.
//
// Added, replacing any earlier value, when the translation succeeds:
// B_TRANSLATOR_EXT_BITMAP_RECT (BRect): the bounds of the bitmap, (0, 0) at its top left.
// B_TRANSLATOR_EXT_DATE_TAKEN (int32): the day the picture was taken, as the file's EXIF
//   names it, written as the number YYYYMMDD (20070315); absent when it names none.
#define B_TRANSLATOR_EXT_HEADER_ONLY "/headerOnly"
#define B_TRANSLATOR_EXT_BITMAP_LEAST_WIDTH "bits/leastWidth"
#define B_TRANSLATOR_EXT_BITMAP_LEAST_HEIGHT "bits/leastHeight"
#define B_TRANSLATOR_EXT_BITMAP_RECT "bits/Rect"
#define B_TRANSLATOR_EXT_DATE_TAKEN "/dateTaken"
