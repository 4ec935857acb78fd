// A translator for one image file format, decoding and encoding through the image plug-ins.
// It reads its format into B_RGB32 bitmap streams and, when the plug-in can write the
// format, writes bitmap streams into it.
#pragma once

#include <string>

#include <QByteArray>

#include "Translator.h"

namespace kit {

struct ImageFormatDescription {
	QByteArray format; // the plug-in's name for it, e.g. "png"
	uint32 type;       // its type code, e.g. 'PNG '
	std::string mime;  // e.g. "image/png"
	std::string name;  // human readable, e.g. "PNG image"
	bool writable;
};

class QtImageTranslator : public BTranslator {
public:
	explicit QtImageTranslator(const ImageFormatDescription& description);

	const char* TranslatorName() const override;
	const char* TranslatorInfo() const override;
	const translation_format* InputFormats(int32* count) const override;
	const translation_format* OutputFormats(int32* count) const override;
	status_t Identify(BPositionIO* source, const translation_format* format, BMessage* ioExtension,
		translator_info* outInfo, uint32 outType) override;
	status_t Translate(BPositionIO* source, const translator_info* info, BMessage* ioExtension,
		uint32 outType, BPositionIO* destination) override;

private:
	status_t _Decode(BPositionIO* source, BPositionIO* destination, BMessage* ioExtension);
	status_t _Encode(BPositionIO* source, BPositionIO* destination);
	static void _FillInfo(const translation_format& format, translator_info* info);

	QByteArray fFormat;
	uint32 fType;
	bool fWritable;
	std::string fName;
	std::string fInfo;
	translation_format fInputs[2];
	int32 fInputCount;
	translation_format fOutputs[2];
	int32 fOutputCount;
};

} // namespace kit
