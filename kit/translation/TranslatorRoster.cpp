#include "TranslatorRoster.h"

#include <cstring>
#include <new>
#include <strings.h>

#include "DefaultRoster.h"
#include "TestingHooks.h"

namespace {

bool has_format(const translation_format* formats, int32 count, uint32 type)
{
	for (int32 i = 0; formats != nullptr && i < count; i++) {
		if (formats[i].type == type)
			return true;
	}
	return false;
}

} // namespace

BTranslatorRoster::BTranslatorRoster() = default;

BTranslatorRoster::~BTranslatorRoster() = default;

BTranslatorRoster* BTranslatorRoster::Default()
{
	const kit::hooks::RosterOverride& standIn = kit::hooks::DefaultRosterOverride();
	if (standIn.active)
		return standIn.roster;
	// Built once, on first use. It is never deleted: image plug-ins may be unloaded before
	// static destructors run, and nothing needs the roster gone at exit.
	static BTranslatorRoster* roster = kit::BuildDefaultRoster();
	return roster;
}

status_t BTranslatorRoster::AddTranslator(BTranslator* translator)
{
	if (translator == nullptr)
		return B_BAD_VALUE;
	fTranslators.emplace_back(translator);
	return B_OK;
}

BTranslator* BTranslatorRoster::_TranslatorFor(translator_id id) const
{
	if (id == 0 || id > fTranslators.size())
		return nullptr;
	return fTranslators[id - 1].get();
}

status_t BTranslatorRoster::GetTranslators(BPositionIO* source, BMessage* ioExtension,
	translator_info** outInfo, int32* outNumInfo, uint32 hintType, const char* hintMIME,
	uint32 wantedType)
{
	if (source == nullptr || outInfo == nullptr || outNumInfo == nullptr)
		return B_BAD_VALUE;
	*outInfo = nullptr;
	*outNumInfo = 0;
	off_t start = source->Position();
	if (start < 0)
		return B_IO_ERROR;

	// Translators of the hinted format come first; within each part roster order holds.
	std::vector<translator_info> hinted;
	std::vector<translator_info> others;
	for (size_t i = 0; i < fTranslators.size(); i++) {
		BTranslator* translator = fTranslators[i].get();
		int32 count = 0;
		const translation_format* outputs = translator->OutputFormats(&count);
		if (wantedType != 0 && !has_format(outputs, count, wantedType))
			continue;

		translator_info info = {};
		source->Seek(start, SEEK_SET);
		status_t status = translator->Identify(source, nullptr, ioExtension, &info, wantedType);
		source->Seek(start, SEEK_SET);
		if (status != B_OK)
			continue;
		info.translator = translator_id(i + 1);
		info.name[B_MIME_STRING_LENGTH - 1] = '\0';
		info.MIME[B_MIME_STRING_LENGTH - 1] = '\0';
		bool matchesHint = (hintType != 0 && info.type == hintType)
			|| (hintMIME != nullptr && hintMIME[0] != '\0' && strcasecmp(info.MIME, hintMIME) == 0);
		(matchesHint ? hinted : others).push_back(info);
	}
	hinted.insert(hinted.end(), others.begin(), others.end());
	if (hinted.empty())
		return B_NO_TRANSLATOR;

	translator_info* list = new (std::nothrow) translator_info[hinted.size()];
	if (list == nullptr)
		return B_NO_MEMORY;
	std::memcpy(list, hinted.data(), hinted.size() * sizeof(translator_info));
	*outInfo = list;
	*outNumInfo = int32(hinted.size());
	return B_OK;
}

status_t BTranslatorRoster::GetAllTranslators(translator_id** outList, int32* outCount)
{
	if (outList == nullptr || outCount == nullptr)
		return B_BAD_VALUE;
	*outList = nullptr;
	*outCount = 0;
	if (fTranslators.empty())
		return B_OK;
	translator_id* list = new (std::nothrow) translator_id[fTranslators.size()];
	if (list == nullptr)
		return B_NO_MEMORY;
	for (size_t i = 0; i < fTranslators.size(); i++)
		list[i] = translator_id(i + 1);
	*outList = list;
	*outCount = int32(fTranslators.size());
	return B_OK;
}

status_t BTranslatorRoster::GetTranslatorInfo(
	translator_id id, const char** outName, const char** outInfo, int32* outVersion)
{
	BTranslator* translator = _TranslatorFor(id);
	if (translator == nullptr)
		return B_NO_TRANSLATOR;
	if (outName != nullptr)
		*outName = translator->TranslatorName();
	if (outInfo != nullptr)
		*outInfo = translator->TranslatorInfo();
	if (outVersion != nullptr)
		*outVersion = translator->TranslatorVersion();
	return B_OK;
}

status_t BTranslatorRoster::_GetFormats(
	translator_id id, FormatList list, const translation_format** outFormats, int32* outNumFormats)
{
	if (outFormats == nullptr || outNumFormats == nullptr)
		return B_BAD_VALUE;
	BTranslator* translator = _TranslatorFor(id);
	if (translator == nullptr)
		return B_NO_TRANSLATOR;
	*outNumFormats = 0;
	*outFormats = (translator->*list)(outNumFormats);
	return B_OK;
}

status_t BTranslatorRoster::GetInputFormats(
	translator_id id, const translation_format** outFormats, int32* outNumFormats)
{
	return _GetFormats(id, &BTranslator::InputFormats, outFormats, outNumFormats);
}

status_t BTranslatorRoster::GetOutputFormats(
	translator_id id, const translation_format** outFormats, int32* outNumFormats)
{
	return _GetFormats(id, &BTranslator::OutputFormats, outFormats, outNumFormats);
}

status_t BTranslatorRoster::Translate(BPositionIO* source, const translator_info* info,
	BMessage* ioExtension, BPositionIO* destination, uint32 wantedType, uint32 hintType,
	const char* hintMIME)
{
	if (source == nullptr || destination == nullptr)
		return B_BAD_VALUE;
	off_t start = source->Position();
	if (start < 0)
		return B_IO_ERROR;

	if (info != nullptr) {
		BTranslator* translator = _TranslatorFor(info->translator);
		if (translator == nullptr)
			return B_NO_TRANSLATOR;
		return translator->Translate(source, info, ioExtension, wantedType, destination);
	}

	translator_info* candidates = nullptr;
	int32 count = 0;
	status_t status =
		GetTranslators(source, ioExtension, &candidates, &count, hintType, hintMIME, wantedType);
	if (status != B_OK)
		return status;
	// The best by quality times capability; on a tie the earlier one, so that a hinted
	// format and then roster order decide.
	int32 best = 0;
	for (int32 i = 1; i < count; i++) {
		if (candidates[i].quality * candidates[i].capability
			> candidates[best].quality * candidates[best].capability)
			best = i;
	}
	translator_info chosen = candidates[best];
	delete[] candidates;

	source->Seek(start, SEEK_SET);
	return _TranslatorFor(chosen.translator)
		->Translate(source, &chosen, ioExtension, wantedType, destination);
}
