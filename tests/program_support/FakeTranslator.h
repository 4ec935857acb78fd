// A translator that reads bitmaps and claims the output formats it is given, for testing
// what the program makes of a roster's answers.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "Translator.h"

struct FakeFormat {
	uint32 type;
	std::string name;
	std::string mime;
};

class FakeTranslator : public BTranslator {
public:
	FakeTranslator(std::string name, const std::vector<FakeFormat>& outputs)
		: fName(std::move(name))
	{
		fInputs.push_back(make(B_TRANSLATOR_BITMAP, "Bitmap", "image/x-be-bitmap"));
		for (const FakeFormat& format : outputs)
			fOutputs.push_back(make(format.type, format.name, format.mime));
	}

	const char* TranslatorName() const override { return fName.c_str(); }
	const char* TranslatorInfo() const override { return fName.c_str(); }
	const translation_format* InputFormats(int32* count) const override
	{
		*count = int32(fInputs.size());
		return fInputs.data();
	}
	const translation_format* OutputFormats(int32* count) const override
	{
		*count = int32(fOutputs.size());
		return fOutputs.data();
	}
	status_t Identify(BPositionIO* source, const translation_format*, BMessage*,
		translator_info* info, uint32) override
	{
		char magic[4];
		if (source->Read(magic, 4) != 4 || std::memcmp(magic, "bits", 4) != 0)
			return B_NO_TRANSLATOR;
		std::memset(info, 0, sizeof(*info));
		info->type = B_TRANSLATOR_BITMAP;
		info->group = B_TRANSLATOR_BITMAP;
		info->quality = info->capability = 0.5f;
		return B_OK;
	}
	status_t Translate(
		BPositionIO*, const translator_info*, BMessage*, uint32, BPositionIO*) override
	{
		return B_NO_TRANSLATOR;
	}

private:
	static translation_format make(uint32 type, const std::string& name, const std::string& mime)
	{
		translation_format format{};
		format.type = type;
		format.group = B_TRANSLATOR_BITMAP;
		format.quality = format.capability = 0.5f;
		std::strncpy(format.name, name.c_str(), sizeof(format.name) - 1);
		std::strncpy(format.MIME, mime.c_str(), sizeof(format.MIME) - 1);
		return format;
	}

	std::string fName;
	std::vector<translation_format> fInputs;
	std::vector<translation_format> fOutputs;
};
