// A translator reads some formats and writes some formats. The roster keeps translators in
// the order they were added and asks them in that order.
//
// Contract for implementers:
// - InputFormats() and OutputFormats() describe the formats; the arrays stay valid and
//   unchanged for the translator's lifetime.
// - Identify() looks at the source (positioned at its start) without consuming more than
//   it needs; it returns B_OK and fills outInfo when it can read the data, and
//   B_NO_TRANSLATOR otherwise. The roster rewinds the source after every Identify().
// - Translate() writes the source into destination in outType. For outType
//   B_TRANSLATOR_BITMAP it writes the bitmap stream format; every bitmap it produces is
//   B_RGB32. It returns B_OK, B_NO_TRANSLATOR when it cannot produce outType from this
//   source, or B_ILLEGAL_DATA / B_NO_MEMORY / B_IO_ERROR on bad or oversized input, and
//   never throws.
#pragma once

#include "DataIO.h"
#include "TranslationDefs.h"

class BMessage;

class BTranslator {
public:
	virtual ~BTranslator();

	virtual const char* TranslatorName() const = 0;
	virtual const char* TranslatorInfo() const = 0;
	virtual int32 TranslatorVersion() const { return 100; }

	virtual const translation_format* InputFormats(int32* count) const = 0;
	virtual const translation_format* OutputFormats(int32* count) const = 0;

	virtual status_t Identify(BPositionIO* source, const translation_format* format,
		BMessage* ioExtension, translator_info* outInfo, uint32 outType) = 0;
	virtual status_t Translate(BPositionIO* source, const translator_info* info,
		BMessage* ioExtension, uint32 outType, BPositionIO* destination) = 0;
};
