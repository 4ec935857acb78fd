// The set of translators the program can use. Default() is the system's roster, built on
// first use from the image formats available at run time; tests may build their own roster
// from translators of their own.
#pragma once

#include <memory>
#include <vector>

#include "DataIO.h"
#include "Translator.h"

class BMessage;

class BTranslatorRoster {
public:
	BTranslatorRoster();
	virtual ~BTranslatorRoster();

	// The system's roster, or null when no image format is available at all. The roster
	// belongs to the kit; callers never delete it.
	static BTranslatorRoster* Default();

	// Takes ownership of the translator; its id is its position in the roster plus one.
	status_t AddTranslator(BTranslator* translator);

	// Every translator that can read the source, in roster order. *outInfo is an array
	// allocated with new[] that the caller frees with delete[]; it is null when *outNumInfo
	// is 0. hintType and hintMIME, when given, prefer translators of that format; wantedType
	// 0 accepts any output.
	status_t GetTranslators(BPositionIO* source, BMessage* ioExtension, translator_info** outInfo,
		int32* outNumInfo, uint32 hintType = 0, const char* hintMIME = nullptr,
		uint32 wantedType = 0);
	status_t GetAllTranslators(translator_id** outList, int32* outCount);
	status_t GetTranslatorInfo(
		translator_id id, const char** outName, const char** outInfo, int32* outVersion);

	// The arrays belong to the roster.
	status_t GetInputFormats(
		translator_id id, const translation_format** outFormats, int32* outNumFormats);
	status_t GetOutputFormats(
		translator_id id, const translation_format** outFormats, int32* outNumFormats);

	// Finds a translator (info null: the roster picks the best one that reads the source
	// and writes wantedType) and translates source into destination.
	status_t Translate(BPositionIO* source, const translator_info* info, BMessage* ioExtension,
		BPositionIO* destination, uint32 wantedType, uint32 hintType = 0,
		const char* hintMIME = nullptr);

private:
	using FormatList = const translation_format* (BTranslator::*)(int32*) const;

	BTranslator* _TranslatorFor(translator_id id) const;
	status_t _GetFormats(translator_id id, FormatList list, const translation_format** outFormats,
		int32* outNumFormats);

	std::vector<std::unique_ptr<BTranslator>> fTranslators;
};
