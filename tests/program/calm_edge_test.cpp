// --band auto: the band goes to the calmer edge of each picture as it arrives.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "CanvasProbe.h"
#include "ProgramHarness.h"
#include "calendar_attributes.h"
#include "calendar_options.h"
#include "calendar_settings.h"
#include "calm_edge.h"

namespace {

// A smooth sky over the rows [0, height) and grain of the given strength elsewhere, or the
// other way round.
BBitmap* sky_and_grain(int width, int height, bool skyAtTop, int grain)
{
	BBitmap* picture = make_picture(width, height, 0, 0, 0);
	std::mt19937 random(7);
	auto* bits = static_cast<uint8*>(picture->Bits());
	for (int y = 0; y < height; y++) {
		const bool sky = skyAtTop == (y < height / 2);
		for (int x = 0; x < width; x++) {
			uint8* pixel = bits + size_t(y) * picture->BytesPerRow() + size_t(x) * 4;
			int value = sky ? 120 + y * 60 / height : 128 + int(random() % (2 * grain + 1)) - grain;
			pixel[0] = pixel[1] = pixel[2] = uint8(value);
		}
	}
	return picture;
}

TEST(CalmEdge, TheBandGoesWhereThePictureIsCalmer)
{
	for (int width : {400, 1201, 3000}) {
		std::unique_ptr<BBitmap> skyAbove(sky_and_grain(width, width, true, 60));
		std::unique_ptr<BBitmap> skyBelow(sky_and_grain(width, width, false, 60));
		EXPECT_EQ(calmer_edge(skyAbove.get()), BAND_AT_TOP) << width;
		EXPECT_EQ(calmer_edge(skyBelow.get()), BAND_AT_BOTTOM) << width;
	}
	// A faint grain below a smooth sky: still told apart.
	std::unique_ptr<BBitmap> flat(make_picture(600, 600, 0, 0, 0));
	std::unique_ptr<BBitmap> above(sky_and_grain(600, 600, true, 3));
	EXPECT_GT(gradient_energy(above.get(), 400, 599), gradient_energy(above.get(), 0, 199));
	EXPECT_EQ(calmer_edge(above.get()), BAND_AT_TOP);
	// Nothing to choose between: the bottom, as without the option; and no picture at all.
	EXPECT_EQ(calmer_edge(flat.get()), BAND_AT_BOTTOM);
	EXPECT_EQ(calmer_edge(nullptr), BAND_AT_BOTTOM);
	// A picture lower than the band: both strips are the whole picture.
	std::unique_ptr<BBitmap> low(sky_and_grain(900, 200, true, 60));
	EXPECT_EQ(calmer_edge(low.get()), BAND_AT_BOTTOM);
}

TEST(CalmEdge, ABandThatFollowsThePictureIsPlacedAnewForEachOne)
{
	calendar_options options;
	std::string error;
	ASSERT_TRUE(read_calendar_option(OPTION_BAND, "auto", &options, &error));
	ProgramHarness program;
	std::vector<std::string> errors;
	ASSERT_TRUE(apply_calendar_options(options, &cal, &errors));
	apply_band_option(options, &atr);
	dorvaview* canvas = program.Canvas();

	show_picture(canvas, sky_and_grain(601, 401, true, 60));
	EXPECT_EQ(atr.band_pos, BAND_AT_TOP);
	show_picture(canvas, sky_and_grain(601, 401, false, 60));
	EXPECT_EQ(atr.band_pos, BAND_AT_BOTTOM);
	// Drawing again (the configuration window's "set") does not move it.
	atr.band_pos = BAND_AT_TOP;
	canvas->Draw(canvas->Bounds());
	EXPECT_EQ(atr.band_pos, BAND_AT_TOP);

	// Without auto, a new picture leaves the band where it is.
	ASSERT_TRUE(read_calendar_option(OPTION_BAND, "top", &options, &error));
	ASSERT_TRUE(apply_calendar_options(options, &cal, &errors));
	show_picture(canvas, sky_and_grain(601, 401, false, 60));
	EXPECT_EQ(atr.band_pos, BAND_AT_TOP);
}

TEST(CalmEdge, StyleAndBandOptionsAreReadAndRefused)
{
	calendar_options options;
	std::string error;
	EXPECT_EQ(options.style, STYLE_PLAIN);
	EXPECT_TRUE(read_calendar_option(OPTION_STYLE, "readable", &options, &error));
	EXPECT_EQ(options.style, STYLE_READABLE);
	EXPECT_TRUE(read_calendar_option(OPTION_STYLE, "plain", &options, &error));
	EXPECT_EQ(options.style, STYLE_PLAIN);
	EXPECT_FALSE(read_calendar_option(OPTION_STYLE, "Readable", &options, &error));
	EXPECT_NE(error.find("--style"), std::string::npos);
	EXPECT_FALSE(read_calendar_option(OPTION_BAND, "automatic", &options, &error));

	options.style = STYLE_READABLE;
	std::vector<std::string> errors;
	EXPECT_TRUE(apply_calendar_options(options, &cal, &errors));
	EXPECT_EQ(cal.style(), STYLE_READABLE);
	cal.reset();
	EXPECT_EQ(cal.style(), STYLE_PLAIN);
	EXPECT_FALSE(cal.band_follows_picture());
}

} // namespace
