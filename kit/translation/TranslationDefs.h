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
