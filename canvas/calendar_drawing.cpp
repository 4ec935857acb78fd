#include <cmath>
#include <cstdio>

#include "calendar_attributes.h"
#include "dorvaview.h"

// Text colours for a colour of the attributes: the colour itself, and a low colour halfway
// to grey that the glyphs' edges blend into.
static void set_text_colors(BView* view, uint32 color)
{
	uint8 red = (color >> 16) & 0xff;
	uint8 green = (color >> 8) & 0xff;
	uint8 blue = color & 0xff;
	view->SetHighColor(red, green, blue, 255);
	view->SetLowColor(red / 2 + 64, green / 2 + 64, blue / 2 + 64, 255);
}

// The font named by family and style at a size; the plain font where they are unknown.
static BFont calendar_font(const char* family, const char* style, float size)
{
	BFont font;
	font.SetFamilyAndStyle(family, style);
	font.SetSize(size);
	return font;
}

static int font_line_height(const BFont& font)
{
	font_height height;
	font.GetHeight(&height);
	return int(height.ascent + height.descent);
}

void dorvaview::Draw(BRect updateRect)
{
	if (image != nullptr) {
		DrawBitmap(image, updateRect, updateRect);
		draw_cal();
		return;
	}
	// The empty canvas: only the sizes are set, so the texts take whatever colour and font
	// the view holds (white bold at first, what the last calendar drawing left later on).
	SetFontSize(30);
	DrawString("dorva", BPoint(45, 50));
	SetFontSize(20);
	DrawString("ver.0.00", BPoint(75, 80));
}

void dorvaview::draw_cal()
{
	SetViewColor(0, 0, 0, 255);

	BRect area = IsPrinting() ? Bounds() : pic;
	const float left = area.left;
	const float top = area.top;
	const float right = area.right;
	const float bottom = area.bottom;

	const float c = (right - left) / 6;
	const bool visible = atr.band_pos == BAND_AT_TOP || atr.band_pos == BAND_AT_BOTTOM;

	SetDrawingMode(B_OP_ALPHA);
	SetHighColor((atr.bg_col >> 16) & 0xff, (atr.bg_col >> 8) & 0xff, atr.bg_col & 0xff,
		(atr.bg_col >> 24) & 0xff);
	if (atr.band_pos == BAND_AT_TOP)
		FillRect(BRect(left, top, right, top + 2 * c), B_SOLID_HIGH);
	else if (atr.band_pos == BAND_AT_BOTTOM)
		FillRect(BRect(left, bottom - 2 * c, right, bottom), B_SOLID_HIGH);
	SetDrawingMode(B_OP_COPY);
	const float bandTop = atr.band_pos == BAND_AT_TOP ? top : bottom - 2 * c;

	BFont monthFont = calendar_font(atr.month_family, atr.month_style, c / 7);
	SetFont(&monthFont, B_FONT_ALL);
	const int monthHeight = font_line_height(monthFont);

	set_text_colors(this, atr.month_col);
	char text[16];
	for (int i = 0; i < 12; i++) {
		std::snprintf(text, sizeof(text), "%d", i + 1);
		int width = int(StringWidth(text));
		int x0 = int(c * (i % 6));
		int y0 = int(c * (i / 6));
		if (visible)
			DrawString(text, BPoint(left + x0 + c / 2 - width / 2, bandTop + y0 + monthHeight));
	}

	BFont dayFont = calendar_font(atr.day_family, atr.day_style, c / 10);
	SetFont(&dayFont, B_FONT_ALL);
	const int dayHeight = font_line_height(dayFont);

	for (int month = 1; month <= 12; month++) {
		int x0 = int(c * ((month - 1) % 6));
		int y0 = int(c * ((month - 1) / 6));
		for (int day = 1; day <= 31; day++) {
			int row, weekday, holiday;
			if (what_day(2007, month, day, &row, &weekday, &holiday) != 0)
				break;
			uint32 color = atr.week_col;
			if (holiday != 0)
				color = atr.holy_col;
			else if (weekday == 0)
				color = atr.sun_col;
			else if (weekday == 6)
				color = atr.sat_col;
			set_text_colors(this, color);

			std::snprintf(text, sizeof(text), "%d", day);
			int width = int(StringWidth(text));
			if (visible) {
				DrawString(text, BPoint(left + x0 + c * (weekday + 1) / 8 - width / 2,
					bandTop + y0 + monthHeight + dayHeight * (row + 1)));
			}
		}
	}
}
