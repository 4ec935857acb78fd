// The roster's bookkeeping with translators of the test's own making, and the hook that
// replaces the system's roster.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "TranslationTesting.h"
#include "TranslatorRoster.h"

namespace {

translation_format Format(uint32 type, const char* mime, float quality = 0.5f)
{
	translation_format format = {};
	format.type = type;
	format.group = B_TRANSLATOR_BITMAP;
	format.quality = quality;
	format.capability = 0.5f;
	std::strcpy(format.MIME, mime);
	std::strcpy(format.name, mime);
	return format;
}

// Reads data that starts with its marker byte and writes a fixed reply in its outputs.
// Identify deliberately reads more than the marker, to show that the roster rewinds.
class FakeTranslator : public BTranslator {
public:
	FakeTranslator(std::string name, char marker, std::vector<translation_format> inputs,
		std::vector<translation_format> outputs)
		: fName(std::move(name)), fMarker(marker), fInputs(std::move(inputs)),
		  fOutputs(std::move(outputs))
	{
	}

	const char* TranslatorName() const override { return fName.c_str(); }
	const char* TranslatorInfo() const override { return "fake"; }
	int32 TranslatorVersion() const override { return 7; }
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
		char head[4] = {};
		if (source->Read(head, sizeof(head)) < 1 || head[0] != fMarker)
			return B_NO_TRANSLATOR;
		const translation_format& in = fInputs.front();
		info->type = in.type;
		info->group = in.group;
		info->quality = in.quality;
		info->capability = in.capability;
		std::strcpy(info->MIME, in.MIME);
		std::strcpy(info->name, in.name);
		return B_OK;
	}
	status_t Translate(BPositionIO* source, const translator_info*, BMessage*, uint32 outType,
		BPositionIO* destination) override
	{
		char first = 0;
		if (source->Read(&first, 1) != 1 || first != fMarker)
			return B_ILLEGAL_DATA; // the roster must hand the source over from its start
		std::string reply = fName + ":" + std::to_string(outType);
		destination->Write(reply.data(), reply.size());
		return B_OK;
	}

private:
	std::string fName;
	char fMarker;
	std::vector<translation_format> fInputs;
	std::vector<translation_format> fOutputs;
};

const uint32 kTGA = kit_code("TGA ");
const uint32 kPNG = kit_code("PNG ");
const uint32 kJPEG = kit_code("JPEG");

// Three translators that all read data starting with 'x', one that reads 'y'.
std::unique_ptr<BTranslatorRoster> MakeRoster()
{
	auto roster = std::make_unique<BTranslatorRoster>();
	roster->AddTranslator(new FakeTranslator("first", 'x', {Format(kTGA, "image/x-tga")},
		{Format(B_TRANSLATOR_BITMAP, "image/x-be-bitmap"), Format(kTGA, "image/x-tga")}));
	roster->AddTranslator(
		new FakeTranslator("other", 'y', {Format(kPNG, "image/png")}, {Format(kPNG, "image/png")}));
	roster->AddTranslator(new FakeTranslator("second", 'x', {Format(kPNG, "image/png", 0.9f)},
		{Format(kPNG, "image/png"), Format(kJPEG, "image/jpeg")}));
	roster->AddTranslator(new FakeTranslator("third", 'x', {Format(kJPEG, "image/jpeg")},
		{Format(B_TRANSLATOR_BITMAP, "image/x-be-bitmap")}));
	return roster;
}

std::vector<std::string> NamesOf(
	BTranslatorRoster& roster, const translator_info* info, int32 count)
{
	std::vector<std::string> names;
	for (int32 i = 0; i < count; i++) {
		const char* name = nullptr;
		roster.GetTranslatorInfo(info[i].translator, &name, nullptr, nullptr);
		names.push_back(name);
	}
	return names;
}

std::vector<std::string> Candidates(BTranslatorRoster& roster, const char* data,
	uint32 hintType = 0, const char* hintMIME = nullptr, uint32 wanted = 0)
{
	BMemoryIO source(data, std::strlen(data));
	translator_info* info = nullptr;
	int32 count = -1;
	status_t status =
		roster.GetTranslators(&source, nullptr, &info, &count, hintType, hintMIME, wanted);
	EXPECT_EQ(source.Position(), 0); // rewound after every look
	std::vector<std::string> names = NamesOf(roster, info, count);
	EXPECT_EQ(status == B_OK, count > 0);
	EXPECT_EQ(info == nullptr, count == 0);
	delete[] info;
	return names;
}

} // namespace

TEST(TranslatorRoster, GetTranslatorsKeepsRosterOrder)
{
	auto roster = MakeRoster();
	using Names = std::vector<std::string>;
	EXPECT_EQ(Candidates(*roster, "xdata"), (Names{"first", "second", "third"}));
	EXPECT_EQ(Candidates(*roster, "ydata"), (Names{"other"}));
	EXPECT_EQ(Candidates(*roster, "zdata"), Names{});
	EXPECT_EQ(Candidates(*roster, ""), Names{});
}

TEST(TranslatorRoster, HintsComeFirstAndWantedTypeFilters)
{
	auto roster = MakeRoster();
	using Names = std::vector<std::string>;
	EXPECT_EQ(Candidates(*roster, "xdata", kJPEG), (Names{"third", "first", "second"}));
	EXPECT_EQ(Candidates(*roster, "xdata", 0, "IMAGE/PNG"), (Names{"second", "first", "third"}));
	EXPECT_EQ(
		Candidates(*roster, "xdata", 0, nullptr, B_TRANSLATOR_BITMAP), (Names{"first", "third"}));
	EXPECT_EQ(Candidates(*roster, "xdata", 0, nullptr, kJPEG), (Names{"second"}));
	EXPECT_EQ(Candidates(*roster, "xdata", 0, nullptr, kit_code("GIF ")), Names{});
}

TEST(TranslatorRoster, FormatsAndInformationById)
{
	auto roster = MakeRoster();
	translator_id* ids = nullptr;
	int32 count = 0;
	ASSERT_EQ(roster->GetAllTranslators(&ids, &count), B_OK);
	ASSERT_EQ(count, 4);
	EXPECT_EQ(ids[0], 1u);
	EXPECT_EQ(ids[3], 4u);
	delete[] ids;

	const translation_format* formats = nullptr;
	int32 formatCount = 0;
	ASSERT_EQ(roster->GetOutputFormats(1, &formats, &formatCount), B_OK);
	ASSERT_EQ(formatCount, 2);
	EXPECT_EQ(formats[0].type, B_TRANSLATOR_BITMAP);
	EXPECT_EQ(formats[1].type, kTGA);
	ASSERT_EQ(roster->GetInputFormats(3, &formats, &formatCount), B_OK);
	EXPECT_EQ(formatCount, 1);
	EXPECT_STREQ(formats[0].MIME, "image/png");

	const char* name = nullptr;
	const char* info = nullptr;
	int32 version = 0;
	ASSERT_EQ(roster->GetTranslatorInfo(2, &name, &info, &version), B_OK);
	EXPECT_STREQ(name, "other");
	EXPECT_EQ(version, 7);
	for (translator_id bad : {0u, 5u, 0xffffffffu}) {
		EXPECT_EQ(roster->GetOutputFormats(bad, &formats, &formatCount), B_NO_TRANSLATOR);
		EXPECT_EQ(roster->GetTranslatorInfo(bad, &name, &info, &version), B_NO_TRANSLATOR);
	}
	EXPECT_EQ(roster->AddTranslator(nullptr), B_BAD_VALUE);

	BTranslatorRoster empty;
	ASSERT_EQ(empty.GetAllTranslators(&ids, &count), B_OK);
	EXPECT_EQ(count, 0);
	EXPECT_EQ(ids, nullptr);
}

TEST(TranslatorRoster, TranslatePicksTheBestReaderOfTheWantedType)
{
	auto roster = MakeRoster();
	auto translate = [&](const char* data, uint32 wanted, const translator_info* info,
						 status_t* status) {
		BMemoryIO source(data, std::strlen(data));
		BMallocIO destination;
		*status = roster->Translate(&source, info, nullptr, &destination, wanted);
		return std::string(
			static_cast<const char*>(destination.Buffer()), destination.BufferLength());
	};
	status_t status;
	// "second" has the higher quality; among equals the earlier one wins.
	EXPECT_EQ(translate("xdata", 0, nullptr, &status), "second:0");
	EXPECT_EQ(translate("xdata", B_TRANSLATOR_BITMAP, nullptr, &status),
		"first:" + std::to_string(B_TRANSLATOR_BITMAP));
	EXPECT_EQ(status, B_OK);
	EXPECT_EQ(translate("ydata", kJPEG, nullptr, &status), "");
	EXPECT_EQ(status, B_NO_TRANSLATOR);

	translator_info chosen = {};
	chosen.translator = 4;
	EXPECT_EQ(translate("xdata", kJPEG, &chosen, &status), "third:" + std::to_string(kJPEG));
	chosen.translator = 9;
	translate("xdata", kJPEG, &chosen, &status);
	EXPECT_EQ(status, B_NO_TRANSLATOR);
	EXPECT_EQ(roster->Translate(nullptr, nullptr, nullptr, nullptr, 0), B_BAD_VALUE);
}

TEST(TranslatorRoster, DefaultCanBeReplacedForTests)
{
	BTranslatorRoster mine;
	kit::testing::SetDefaultRosterOverride(&mine, true);
	EXPECT_EQ(BTranslatorRoster::Default(), &mine);
	// A system without any image format has no roster at all.
	kit::testing::SetDefaultRosterOverride(nullptr, true);
	EXPECT_EQ(BTranslatorRoster::Default(), nullptr);
	kit::testing::SetDefaultRosterOverride(nullptr, false);
	BTranslatorRoster* system = BTranslatorRoster::Default();
	ASSERT_NE(system, nullptr);
	EXPECT_NE(system, &mine);
	EXPECT_EQ(BTranslatorRoster::Default(), system); // built once
}
