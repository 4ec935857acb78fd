// The translator for the bitmap stream format itself: it checks such data and hands it on
// as a B_RGB32 bitmap stream, whatever colour space the rows were in.
#pragma once

#include "Translator.h"

namespace kit {

class BitsTranslator : public BTranslator {
public:
	BitsTranslator();

	const char* TranslatorName() const override;
	const char* TranslatorInfo() const override;
	const translation_format* InputFormats(int32* count) const override;
	const translation_format* OutputFormats(int32* count) const override;
	status_t Identify(BPositionIO* source, const translation_format* format, BMessage* ioExtension,
		translator_info* outInfo, uint32 outType) override;
	status_t Translate(BPositionIO* source, const translator_info* info, BMessage* ioExtension,
		uint32 outType, BPositionIO* destination) override;

private:
	translation_format fFormat;
};

// Describes the bitmap stream format; quality and capability say how well a translator
// that reads or writes it does so.
translation_format BitmapStreamFormat(float quality, float capability);

} // namespace kit
