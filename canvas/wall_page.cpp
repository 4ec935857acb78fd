#include "wall_page.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "civil_date.h"
#include "readable_style.h"
#include "utf8_cut.h"

namespace {

// Paper: the ground every text of a month page stands on.
const double kPaperLuminance = 1.0;
// Crop marks: hairlines in the slug, starting this far outside the bleed.
const float kMarkGap = 2;
const float kMarkWidth = 0.3f;

rgb_color color_of(uint32 rgb)
{
	return {uint8(rgb >> 16), uint8(rgb >> 8), uint8(rgb), 255};
}

// A colour as dark as it must be to read on paper.
uint32 on_paper(uint32 color)
{
	return readable_colors(color, kPaperLuminance).fill;
}

// A colour mixed with paper white: share 0 is white, 1 the colour.
uint32 tint(uint32 color, float share)
{
	auto mix = [share](uint32 channel) {
		return uint32(std::lround(255 - (255 - float(channel & 0xff)) * share));
	};
	return mix(color >> 16) << 16 | mix(color >> 8) << 8 | mix(color);
}

// Draws in points on a view whose unit is a point times the scale.
class page_pen {
public:
	page_pen(BView* view, float scale) : fView(view), fScale(scale)
	{
		fView->SetDrawingMode(B_OP_ALPHA);
		fView->SetLowColor(255, 255, 255, 255);
	}

	BView* view() const { return fView; }
	float scale() const { return fScale; }

	// The area between the rectangle's edges (the view counts a rectangle's right and
	// bottom edges in).
	BRect area(BRect exact) const
	{
		return BRect(exact.left * fScale, exact.top * fScale, exact.right * fScale - 1,
			exact.bottom * fScale - 1);
	}

	void fill(BRect exact, uint32 color)
	{
		fView->SetHighColor(color_of(color));
		fView->FillRect(area(exact));
	}

	void line(BPoint from, BPoint to, float width, uint32 color)
	{
		fView->SetHighColor(color_of(color));
		fView->SetPenSize(width * fScale);
		// StrokeLine draws through the centres of the pixels it is given.
		fView->StrokeLine(BPoint(from.x * fScale - 0.5f, from.y * fScale - 0.5f),
			BPoint(to.x * fScale - 0.5f, to.y * fScale - 0.5f));
		fView->SetPenSize(1);
	}

	void set_font(const font_family& family, const font_style& style, float size)
	{
		BFont font;
		if (font.SetFamilyAndStyle(family, style[0] != '\0' ? style : nullptr) != B_OK)
			font = BFont();
		font.SetSize(size * fScale);
		fView->SetFont(&font);
	}

	// Widths and boxes in points, of the current font.
	float width(const std::string& text) const { return fView->StringWidth(text.c_str()) / fScale; }

	BRect ink(const std::string& text) const
	{
		BFont font;
		fView->GetFont(&font);
		BRect box = font.StringBounds(text.c_str());
		return BRect(box.left / fScale, box.top / fScale, box.right / fScale, box.bottom / fScale);
	}

	void text(const std::string& text, BPoint baseline, uint32 color)
	{
		fView->SetHighColor(color_of(color));
		fView->DrawString(text.c_str(), BPoint(baseline.x * fScale, baseline.y * fScale));
	}

	// The text cut, at a character's end, to fit the width, with an ellipsis when cut.
	std::string fitted(const std::string& text, float width) const
	{
		if (this->width(text) <= width)
			return text;
		static const std::string kEllipsis = "\u2026";
		size_t length = text.size();
		while (length > 0) {
			length = utf8_cut(text, length - 1);
			std::string cut = text.substr(0, length) + kEllipsis;
			if (this->width(cut) <= width)
				return cut;
		}
		return std::string();
	}

	void photo(const wall_photo& photo)
	{
		if (photo.bitmap == nullptr || !photo.place.IsValid())
			return;
		fView->SetDrawingMode(B_OP_COPY);
		fView->DrawBitmap(photo.bitmap, photo.bitmap->Bounds(), area(photo.place));
		fView->SetDrawingMode(B_OP_ALPHA);
	}

private:
	BView* fView;
	float fScale;
};

// The trim's corners marked in the slug: two hairlines at each, on the lines of the trim's
// edges, from just outside the bleed to the sheet's edge.
void draw_crop_marks(page_pen& pen, const wall_frame& frame)
{
	const BRect& trim = frame.trim;
	const BRect& bleed = frame.bleed_area;
	const BRect& sheet = frame.sheet;
	if (bleed.left - kMarkGap <= sheet.left)
		return;
	const uint32 black = 0x000000;
	for (float y : {trim.top, trim.bottom}) {
		pen.line(BPoint(sheet.left, y), BPoint(bleed.left - kMarkGap, y), kMarkWidth, black);
		pen.line(BPoint(bleed.right + kMarkGap, y), BPoint(sheet.right, y), kMarkWidth, black);
	}
	for (float x : {trim.left, trim.right}) {
		pen.line(BPoint(x, sheet.top), BPoint(x, bleed.top - kMarkGap), kMarkWidth, black);
		pen.line(BPoint(x, bleed.bottom + kMarkGap), BPoint(x, sheet.bottom), kMarkWidth, black);
	}
}

// The page starts as paper, with the photo and, where asked, the crop marks.
void draw_ground(
	page_pen& pen, const wall_frame& frame, const wall_style& style, const wall_photo& photo)
{
	pen.fill(frame.sheet, 0xffffff);
	pen.photo(photo);
	if (style.crop_marks)
		draw_crop_marks(pen, frame);
}

// The date of a cell, which may lie in the month before or after.
void date_of_cell(const wall_month& month, int row, int column, int* year, int* monthOut, int* day)
{
	const int offset = row * 7 + column - first_column(month.year, month.month, month.start);
	date_of_day_number(day_number(month.year, month.month, 1) + offset, year, monthOut, day);
}

uint32 day_color(const wall_month& month, int day, const wall_style& style)
{
	if (month.holidays.test(day))
		return style.holiday;
	switch (weekday_of(month.year, month.month, day)) {
		case 0:
			return style.sunday;
		case 6:
			return style.saturday;
		default:
			return style.text;
	}
}

void draw_title(page_pen& pen, const wall_month_layout& layout, const wall_month& month,
	const wall_style& style)
{
	pen.set_font(style.title_family, style.title_style, layout.title_size);
	const float baseline = layout.title.bottom - layout.title_size * 0.3f;
	const std::string year = std::to_string(month.year);
	const float yearWidth = pen.width(year);
	pen.text(year, BPoint(layout.title.right - yearWidth, baseline), on_paper(style.quiet));
	const std::string name =
		pen.fitted(month.name, layout.title.Width() - yearWidth - layout.title_size * 0.5f);
	pen.text(name, BPoint(layout.title.left, baseline), on_paper(style.title));
}

void draw_weekday_names(page_pen& pen, const wall_month_layout& layout, const wall_month& month,
	const wall_style& style)
{
	pen.set_font(style.day_family, style.day_style, layout.weekday_size);
	const float padding = layout.column_width * 0.08f;
	const float baseline = layout.weekdays.bottom - layout.weekday_size * 0.6f;
	for (int column = 0; column < 7; column++) {
		const int weekday = (int(month.start) + column) % 7;
		const uint32 color = weekday == 0 ? style.sunday
			: weekday == 6                ? style.saturday
										  : style.text;
		const std::string name =
			pen.fitted(month.weekday_names[weekday], layout.column_width - 2 * padding);
		pen.text(name, BPoint(layout.grid.left + column * layout.column_width + padding, baseline),
			on_paper(color));
	}
}

void draw_grid(page_pen& pen, const wall_month_layout& layout, const wall_month& month,
	const wall_style& style)
{
	const float padding = layout.column_width * 0.08f;
	const uint32 rule = style.rule;
	for (int row = 0; row <= layout.rows; row++) {
		const float y = layout.grid.top + row * layout.row_height;
		pen.line(BPoint(layout.week_numbers.IsValid() && layout.week_numbers.Width() > 0
						 ? layout.week_numbers.left
						 : layout.grid.left,
					 y),
			BPoint(layout.grid.right, y), 0.5f, rule);
	}

	pen.set_font(style.day_family, style.day_style, layout.day_size);
	font_height height;
	pen.view()->GetFontHeight(&height);
	const float ascent = height.ascent / pen.scale();
	for (int row = 0; row < layout.rows; row++) {
		for (int column = 0; column < 7; column++) {
			int year, monthOfCell, day;
			date_of_cell(month, row, column, &year, &monthOfCell, &day);
			if (monthOfCell != month.month || year != month.year)
				continue;
			const BRect cell = layout.cell(row, column);
			if (month.events.test(day)) {
				// An event's day: the cell tinted, a bar of the event's colour on top.
				pen.fill(BRect(cell.left + 0.5f, cell.top + 0.5f, cell.right - 0.5f, cell.bottom),
					tint(style.event, 0.12f));
				pen.fill(BRect(cell.left + 0.5f, cell.top + 0.5f, cell.right - 0.5f,
							 cell.top + std::max(1.5f, layout.row_height * 0.05f)),
					on_paper(style.event));
			}
			const std::string number = std::to_string(day);
			const BPoint baseline(cell.left + padding, cell.top + padding + ascent);
			pen.text(number, baseline, on_paper(day_color(month, day, style)));
			if (day == month.circled_day) {
				BRect ink = pen.ink(number);
				const float cx = baseline.x + (ink.left + ink.right) / 2;
				const float cy = baseline.y + (ink.top + ink.bottom) / 2;
				// Round the number's ink with a little air, inside the cell.
				const float radius =
					std::min(std::hypot(ink.Width() / 2, ink.Height() / 2) + layout.day_size * 0.2f,
						std::min(cx - cell.left, cy - cell.top) - 0.5f);
				pen.view()->SetHighColor(color_of(on_paper(style.event)));
				pen.view()->SetPenSize(std::max(0.8f, layout.day_size * 0.07f) * pen.scale());
				pen.view()->StrokeEllipse(
					BRect((cx - radius) * pen.scale(), (cy - radius) * pen.scale(),
						(cx + radius) * pen.scale(), (cy + radius) * pen.scale()));
				pen.view()->SetPenSize(1);
			}
		}
	}
}

// ISO 8601 week numbers: a row's week is that of its Monday, the day every week start
// shares with the ISO week the row mostly covers.
void draw_week_numbers(page_pen& pen, const wall_month_layout& layout, const wall_month& month,
	const wall_style& style)
{
	if (layout.week_numbers.Width() <= 0)
		return;
	// On the baseline of the row's dates, smaller and quieter.
	pen.set_font(style.day_family, style.day_style, layout.day_size);
	font_height height;
	pen.view()->GetFontHeight(&height);
	const float ascent = height.ascent / pen.scale();
	pen.set_font(style.day_family, style.day_style, layout.day_size * 0.55f);
	const float padding = layout.column_width * 0.08f;
	const int mondayColumn = (1 - int(month.start) + 7) % 7;
	for (int row = 0; row < layout.rows; row++) {
		int year, monthOfCell, day;
		date_of_cell(month, row, mondayColumn, &year, &monthOfCell, &day);
		const std::string week = std::to_string(iso_week(year, monthOfCell, day));
		const float top = layout.grid.top + row * layout.row_height;
		pen.text(week,
			BPoint(layout.week_numbers.right - padding - pen.width(week), top + padding + ascent),
			on_paper(style.quiet));
	}
}

void draw_notes(page_pen& pen, const wall_month_layout& layout, const wall_month& month,
	const wall_style& style)
{
	if (month.notes.empty())
		return;
	const int lines = layout.note_lines;
	const int count = int(month.notes.size());
	const int columns = std::clamp((count + lines - 1) / lines, 2, 3);
	const int room = lines * columns;
	const float columnWidth = layout.notes.Width() / columns;
	const float lineHeight = layout.notes.Height() / lines;
	pen.set_font(style.day_family, style.day_style, layout.note_size);
	const float numberWidth = pen.width("00") + layout.note_size * 0.6f;
	for (int i = 0; i < std::min(count, room); i++) {
		const float left = layout.notes.left + (i / lines) * columnWidth;
		const float baseline = layout.notes.top + (i % lines) * lineHeight + layout.note_size;
		const wall_note& note = month.notes[i];
		// The last line that has room says how many more there are.
		if (i == room - 1 && count > room) {
			pen.text("+" + std::to_string(count - room + 1), BPoint(left, baseline),
				on_paper(style.quiet));
			break;
		}
		const uint32 color = note.event ? style.event : style.holiday;
		const std::string number = std::to_string(note.day);
		pen.text(
			number, BPoint(left + pen.width("00") - pen.width(number), baseline), on_paper(color));
		pen.text(pen.fitted(note.text, columnWidth - numberWidth - layout.note_size),
			BPoint(left + numberWidth, baseline), on_paper(style.text));
	}
}

} // namespace

void draw_wall_cover(BView* view, float scale, const wall_cover_layout& layout,
	const std::string& yearText, const wall_style& style, const wall_photo& photo)
{
	page_pen pen(view, scale);
	draw_ground(pen, layout.frame, style, photo);

	// The year in the readable style: a fill light or dark by the photo under it, in a halo
	// that stands out from the fill.
	// As large as the layout says, or as fits across the safe area ("2026–2027").
	float size = layout.year_size;
	pen.set_font(style.title_family, style.title_style, size);
	const float room = layout.frame.safe.Width() * 0.9f;
	if (pen.width(yearText) > room) {
		size *= room / pen.width(yearText);
		pen.set_font(style.title_family, style.title_style, size);
	}
	const BPoint baseline(layout.year_origin.x - pen.width(yearText), layout.year_origin.y);
	const BRect ink = pen.ink(yearText).OffsetByCopy(baseline.x, baseline.y);
	// The ground under the year: the photo where it lies under most of it, else paper.
	double ground = kPaperLuminance;
	const BRect overPhoto = ink & photo.place;
	if (photo.bitmap != nullptr && overPhoto.IsValid()
		&& overPhoto.Width() * overPhoto.Height() > ink.Width() * ink.Height() / 2) {
		const float toPixelsX = (photo.bitmap->Bounds().Width() + 1) / photo.place.Width();
		const float toPixelsY = (photo.bitmap->Bounds().Height() + 1) / photo.place.Height();
		BRect under((overPhoto.left - photo.place.left) * toPixelsX,
			(overPhoto.top - photo.place.top) * toPixelsY,
			(overPhoto.right - photo.place.left) * toPixelsX,
			(overPhoto.bottom - photo.place.top) * toPixelsY);
		ground = ground_luminance(photo.bitmap, under, 0);
	}
	const number_colors colors = readable_colors(0xffffff, ground);
	view->SetHighColor(color_of(colors.fill));
	view->SetLowColor(color_of(colors.halo));
	view->DrawStringInOutline(
		yearText.c_str(), BPoint(baseline.x * scale, baseline.y * scale), halo_width(size * scale));
}

void draw_wall_month(BView* view, float scale, const wall_month_layout& layout,
	const wall_month& month, const wall_style& style, const wall_photo& photo)
{
	page_pen pen(view, scale);
	draw_ground(pen, layout.frame, style, photo);
	draw_title(pen, layout, month, style);
	draw_weekday_names(pen, layout, month, style);
	draw_week_numbers(pen, layout, month, style);
	draw_grid(pen, layout, month, style);
	draw_notes(pen, layout, month, style);
}
