// The configuration window: its controls, the colour texts and font menus that write atr,
// the "set" button that redraws the canvas, and the one-window-at-a-time rule.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Button.h"
#include "CanvasProbe.h"
#include "ControlTesting.h"
#include "MenuBar.h"
#include "MenuField.h"
#include "MenuItem.h"
#include "ProgramHarness.h"
#include "TextControl.h"
#include "calendar_attributes.h"
#include "canvas_codes.h"
#include "configview.h"
#include "configwindow.h"
#include "dorvaview.h"
#include "font_label.h"

namespace {

class ConfigWindow : public ::testing::Test {
protected:
	// Sends "conf" to the canvas, as the Config menu does, and returns the window it opened.
	configwindow* Open()
	{
		BMessenger(program.Canvas()).SendMessage(CMD_CONFIG);
		program.Idle();
		return Find();
	}

	configwindow* Find() const
	{
		configwindow* found = nullptr;
		for (int32 i = 0; i < be_app->CountWindows(); i++) {
			if (auto* window = dynamic_cast<configwindow*>(be_app->WindowAt(i)))
				found = window;
		}
		return found;
	}

	int CountOpen() const
	{
		int count = 0;
		for (int32 i = 0; i < be_app->CountWindows(); i++)
			count += dynamic_cast<configwindow*>(be_app->WindowAt(i)) != nullptr;
		return count;
	}

	void Close(configwindow* window)
	{
		kit::testing::CloseWindow(window);
		program.Idle();
	}

	void Commit(configview* view, int index, const char* text)
	{
		kit::testing::CommitText(view->color_text[index], text);
		program.Idle();
	}

	ProgramHarness program;
};

std::vector<std::string> texts_of(configview* view)
{
	std::vector<std::string> texts;
	for (BTextControl* control : view->color_text)
		texts.push_back(control->Text());
	return texts;
}

// The number of family and style pairs installed.
int32 count_font_pairs()
{
	int32 pairs = 0;
	for (int32 i = 0; i < count_font_families(); i++) {
		font_family family;
		get_font_family(i, &family);
		pairs += count_font_styles(family);
	}
	return pairs;
}

TEST_F(ConfigWindow, OpensWithItsNineControlsInOrderShowingAtr)
{
	EXPECT_FALSE(cwin);
	configwindow* window = Open();
	ASSERT_NE(window, nullptr);
	EXPECT_TRUE(cwin);
	EXPECT_EQ(window->Frame(), BRect(150, 150, 400, 400));
	EXPECT_STREQ(window->Title(), "config");
	EXPECT_EQ(window->Type(), B_TITLED_WINDOW);
	EXPECT_EQ(window->Flags(), 0x42u);
	EXPECT_FALSE(window->IsHidden());

	configview* view = window->view;
	ASSERT_NE(view, nullptr);
	ASSERT_EQ(window->CountChildren(), 1);
	EXPECT_EQ(window->ChildAt(0), view);
	EXPECT_STREQ(view->Name(), "configview");
	EXPECT_EQ(view->Frame(), BRect(0, 0, 250, 250));
	EXPECT_EQ(view->ResizingMode(), uint32(B_FOLLOW_ALL_SIDES));
	EXPECT_EQ(view->Flags(), uint32(B_WILL_DRAW));
	EXPECT_EQ(view->ViewColor(), (rgb_color{200, 255, 255, 255}));
	EXPECT_EQ(view->HighColor(), (rgb_color{0, 0, 0, 255}));
	EXPECT_EQ(view->LowColor(), (rgb_color{100, 100, 100, 255}));

	struct Expected {
		const char* name;
		const char* label;
		BRect frame;
	};
	const Expected expected[9] = {
		{"bg_col", "background_color", BRect(20, 25, 180, 45)},
		{"month_col", "month_color", BRect(20, 50, 180, 70)},
		{"month_font", "month_font", BRect(20, 75, 180, 95)},
		{"week_col", "weekday_color", BRect(20, 100, 180, 120)},
		{"sun_col", "sunday_color", BRect(20, 125, 180, 145)},
		{"sat_col", "saturday_color", BRect(20, 150, 180, 170)},
		{"holy_col", "holyday_color", BRect(20, 175, 180, 195)},
		{"day_font", "day_font", BRect(20, 200, 180, 220)},
		{"set", "set", BRect(200, 225, 240, 245)},
	};
	ASSERT_EQ(view->CountChildren(), 9);
	int text = 0;
	for (int i = 0; i < 9; i++) {
		SCOPED_TRACE(expected[i].name);
		BView* child = view->ChildAt(i);
		EXPECT_STREQ(child->Name(), expected[i].name);
		EXPECT_EQ(child->Frame(), expected[i].frame);
		EXPECT_EQ(child->ResizingMode(), uint32(B_FOLLOW_LEFT | B_FOLLOW_TOP));
		EXPECT_EQ(child->Flags(), uint32(B_WILL_DRAW | B_NAVIGABLE));
		if (auto* field = dynamic_cast<BMenuField*>(child)) {
			EXPECT_STREQ(field->Label(), expected[i].label);
		} else if (auto* button = dynamic_cast<BButton*>(child)) {
			EXPECT_STREQ(button->Label(), expected[i].label);
			EXPECT_EQ(button, view->set_button);
		} else {
			auto* control = dynamic_cast<BTextControl*>(child);
			ASSERT_NE(control, nullptr);
			EXPECT_STREQ(control->Label(), expected[i].label);
			EXPECT_EQ(control, view->color_text[text++]);
			// Label on the left, entry on the right, inside the frame.
			EXPECT_LT(kit::testing::ControlLabelFrame(control).right,
				kit::testing::ControlEntryFrame(control).left);
		}
	}
	EXPECT_EQ(view->month_font_field, view->ChildAt(2));
	EXPECT_EQ(view->day_font_field, view->ChildAt(7));

	// The defaults of atr, top to bottom.
	EXPECT_EQ(texts_of(view),
		(std::vector<std::string>{"80000000", "00ff00", "000000", "ff0000", "0000ff", "ff0000"}));

	// The view has the focus, no text control has the keyboard.
	EXPECT_EQ(window->CurrentFocus(), view);
	for (BTextControl* control : view->color_text)
		EXPECT_FALSE(kit::testing::HasKeyboardFocus(control)) << control->Name();
}

// Each colour field shows its whole text, the band's eight digits included, in the frames
// the window gives; a longer text typed in gets room too.
TEST_F(ConfigWindow, EveryColourFieldShowsItsWholeText)
{
	configview* view = Open()->view;
	for (BTextControl* control : view->color_text) {
		SCOPED_TRACE(control->Name());
		EXPECT_GT(kit::testing::TextFieldTextWidth(control), 0);
		EXPECT_EQ(
			kit::testing::TextFieldShownWidth(control), kit::testing::TextFieldTextWidth(control));
	}
	EXPECT_EQ(view->color_text[0]->Frame(), BRect(20, 25, 180, 45));

	Commit(view, 1, "ff00ff00");
	EXPECT_EQ(kit::testing::TextFieldShownWidth(view->color_text[1]),
		kit::testing::TextFieldTextWidth(view->color_text[1]));
	EXPECT_EQ(view->color_text[1]->Frame(), BRect(20, 50, 180, 70));
}

TEST_F(ConfigWindow, ControlsTargetTheViewAndTheButtonTheCanvas)
{
	configview* view = Open()->view;
	for (BTextControl* control : view->color_text) {
		EXPECT_EQ(control->Target(), view) << control->Name();
		EXPECT_EQ(control->Command(), uint32(CMD_VALUE_CHANGED));
		EXPECT_TRUE(control->Message()->IsEmpty());
	}
	EXPECT_EQ(view->set_button->Target(), program.Canvas());
	EXPECT_EQ(view->set_button->Command(), uint32(CMD_SET_PRESSED));
	EXPECT_TRUE(view->set_button->Message()->IsEmpty());

	const int32 pairs = count_font_pairs();
	BMenuField* fields[2] = {view->month_font_field, view->day_font_field};
	for (int which = 1; which <= 2; which++) {
		BMenu* menu = fields[which - 1]->Menu();
		ASSERT_NE(menu, nullptr);
		EXPECT_STREQ(menu->Name(), "");
		EXPECT_TRUE(menu->IsRadioMode());
		EXPECT_TRUE(menu->IsLabelFromMarked());
		EXPECT_EQ(menu->CountItems(), pairs);
		EXPECT_EQ(menu->FindMarked(), nullptr);
		EXPECT_EQ(kit::testing::MenuFieldShownLabel(fields[which - 1]), "");
		for (int32 i = 0; i < menu->CountItems(); i++) {
			BMenuItem* item = menu->ItemAt(i);
			EXPECT_EQ(item->Target(), view);
			EXPECT_EQ(item->Command(), uint32(CMD_FONT_CHANGED));
			int8 field = 0;
			EXPECT_EQ(item->Message()->FindInt8("font_menu", &field), B_OK);
			EXPECT_EQ(field, which);
			std::string label = item->Label();
			ASSERT_GE(label.size(), 3u);
			EXPECT_EQ(label.back(), ')');
		}
	}
	// The first item names the platform's first family with its first style.
	font_family family;
	font_style style;
	get_font_family(0, &family);
	get_font_style(family, 0, &style);
	EXPECT_EQ(std::string(view->month_font_field->Menu()->ItemAt(0)->Label()),
		std::string(family) + "(" + style + ")");
}

TEST_F(ConfigWindow, ColourTextsAreReadAsHexadecimal)
{
	configview* view = Open()->view;
	struct Case {
		const char* text;
		bool changes;
		uint32 value;
	};
	const Case cases[] = {
		{"0x00ff00", true, 0x00ff00},
		{"  00ff00", true, 0x00ff00},
		{"00ff00", true, 0x00ff00},
		{"zz", false, 0},
		{"12zz", true, 0x12},
		{"", false, 0},
		{"ffffffff", true, 0xffffffff},
		// More than eight digits do not fit: the colour stays.
		{"123456789", false, 0},
		{"fffffffff0", false, 0},
		// Leading zeros are no part of the value.
		{"00000000ff", true, 0xff},
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(std::string("text \"") + c.text + "\"");
		atr.month_col = 0xabcdef;
		Commit(view, 1, c.text);
		EXPECT_EQ(atr.month_col, c.changes ? c.value : 0xabcdefu);
		// The text stays as typed.
		EXPECT_STREQ(view->color_text[1]->Text(), c.text);
	}
	// The others were re-read from their own unchanged texts.
	EXPECT_EQ(atr.bg_col, 0x80000000u);
	EXPECT_EQ(atr.holy_col, 0xff0000u);
}

TEST_F(ConfigWindow, ACommitRereadsAllSixTextsEachIntoItsOwnColour)
{
	configview* view = Open()->view;
	// Typed but not committed: nothing changes.
	const char* typed[6] = {"ff0000ff", "111111", "222222", "333333", "444444", "555555"};
	for (int i = 0; i < 6; i++)
		kit::testing::TypeText(view->color_text[i], typed[i]);
	program.Idle();
	EXPECT_EQ(atr.bg_col, 0x80000000u);
	EXPECT_EQ(atr.sun_col, 0xff0000u);

	// Committing one (leaving the field after typing, here) reads all six.
	kit::testing::LeaveTextField(view->color_text[3]);
	program.Idle();
	EXPECT_EQ(atr.bg_col, 0xff0000ffu);
	EXPECT_EQ(atr.month_col, 0x111111u);
	EXPECT_EQ(atr.week_col, 0x222222u);
	EXPECT_EQ(atr.sun_col, 0x333333u);
	EXPECT_EQ(atr.sat_col, 0x444444u);
	EXPECT_EQ(atr.holy_col, 0x555555u);
	// The fonts are none of a colour commit's business.
	EXPECT_STREQ(atr.month_family, "");
	EXPECT_EQ(atr.band_pos, BAND_AT_BOTTOM);
}

TEST_F(ConfigWindow, EachMenuWritesOnlyItsOwnFont)
{
	configview* view = Open()->view;
	BMenu* month = view->month_font_field->Menu();
	BMenu* day = view->day_font_field->Menu();
	ASSERT_GT(month->CountItems(), 0);
	BMenuItem* monthItem = month->ItemAt(month->CountItems() - 1);
	BMenuItem* dayItem = day->ItemAt(0);

	kit::testing::ChooseMenuItem(monthItem);
	program.Idle();
	font_family family;
	font_style style;
	get_font_family(0, &family);
	get_font_style(family, 0, &style);
	std::string monthLabel = monthItem->Label();
	EXPECT_EQ(std::string(atr.month_family) + "(" + atr.month_style + ")", monthLabel);
	EXPECT_STREQ(atr.day_family, "");
	EXPECT_STREQ(atr.day_style, "");
	EXPECT_EQ(kit::testing::MenuFieldShownLabel(view->month_font_field), monthLabel);
	EXPECT_EQ(kit::testing::MenuFieldShownLabel(view->day_font_field), "");

	kit::testing::ChooseMenuItem(dayItem);
	program.Idle();
	EXPECT_STREQ(atr.day_family, family);
	EXPECT_STREQ(atr.day_style, style);
	EXPECT_EQ(std::string(atr.month_family) + "(" + atr.month_style + ")", monthLabel);
	// Colours are untouched by font choices.
	EXPECT_EQ(atr.month_col, 0x00ff00u);
}

TEST_F(ConfigWindow, AnItemWithAnEmptyStyleStoresTheFamilyAndAnEmptyStyle)
{
	configview* view = Open()->view;
	std::strcpy(atr.month_style, "Bold");
	// An item as setupfontmenu makes them, for a family whose style has no name.
	auto* message = new BMessage(CMD_FONT_CHANGED);
	message->AddInt8("font_menu", 1);
	auto* item = new BMenuItem("Family()", message);
	item->SetTarget(view);
	view->month_font_field->Menu()->AddItem(item);

	kit::testing::ChooseMenuItem(item);
	program.Idle();
	EXPECT_STREQ(atr.month_family, "Family");
	EXPECT_STREQ(atr.month_style, "");
}

TEST_F(ConfigWindow, OnlyOneWindowAtATimeAndReopeningShowsTheEdits)
{
	configwindow* window = Open();
	ASSERT_NE(window, nullptr);
	// A second "conf" while it is open does nothing.
	EXPECT_EQ(Open(), window);
	EXPECT_EQ(CountOpen(), 1);

	Commit(window->view, 2, "12345678");
	Commit(window->view, 5, "0xabc");
	kit::testing::ChooseMenuItem(window->view->day_font_field->Menu()->ItemAt(0));
	program.Idle();
	ASSERT_NE(window->view->day_font_field->Menu()->FindMarked(), nullptr);

	Close(window);
	EXPECT_FALSE(cwin);
	EXPECT_EQ(CountOpen(), 0);

	configwindow* again = Open();
	ASSERT_NE(again, nullptr);
	EXPECT_TRUE(cwin);
	EXPECT_EQ(CountOpen(), 1);
	// Eight digits of a plain colour show again as eight; the others are padded to six.
	EXPECT_EQ(texts_of(again->view),
		(std::vector<std::string>{"80000000", "00ff00", "12345678", "ff0000", "0000ff", "000abc"}));
	EXPECT_EQ(again->view->month_font_field->Menu()->FindMarked(), nullptr);
	EXPECT_EQ(again->view->day_font_field->Menu()->FindMarked(), nullptr);
	EXPECT_EQ(kit::testing::MenuFieldShownLabel(again->view->day_font_field), "");
}

TEST_F(ConfigWindow, QuittingTheProgramClosesItAndClearsCwin)
{
	ASSERT_NE(Open(), nullptr);
	BMenuItem* quit = program.Window()->KeyMenuBar()->SubmenuAt(0)->FindItem("Quit");
	ASSERT_NE(quit, nullptr);
	quit->Invoke();
	program.App()->Run();
	EXPECT_FALSE(cwin);
	EXPECT_EQ(program.App()->CountWindows(), 0);
}

// The picture is plain grey; the band covers its lower part.
class ConfigAndCanvas : public ConfigWindow {
protected:
	void SetUp() override
	{
		canvas = program.Canvas();
		show_picture(canvas, make_picture(600, 400, 200, 200, 200));
		view = Open()->view;
	}

	void PressSet()
	{
		program.ClearCanvasMessages();
		kit::testing::ClickButton(view->set_button);
		program.Idle();
	}

	// The band's pixels, row by row.
	std::vector<rgb_color> Band()
	{
		std::vector<rgb_color> pixels;
		for (int y = 210; y < 400; y++) {
			for (int x = 0; x < 600; x++)
				pixels.push_back(kit::testing::ViewPixel(canvas, x, y));
		}
		return pixels;
	}

	dorvaview* canvas = nullptr;
	configview* view = nullptr;
};

int count_differences(const std::vector<rgb_color>& a, const std::vector<rgb_color>& b)
{
	int differences = 0;
	for (size_t i = 0; i < a.size() && i < b.size(); i++)
		differences += a[i] != b[i];
	return differences;
}

TEST_F(ConfigAndCanvas, EditsShowOnlyWhenSetIsPressed)
{
	// A pixel of the band away from any date, and one of the picture above it.
	const int bandX = 2, bandY = 397;
	rgb_color before = kit::testing::ViewPixel(canvas, bandX, bandY);
	EXPECT_EQ(before, (rgb_color{100, 100, 100, 255}));
	EXPECT_EQ(kit::testing::ViewPixel(canvas, 2, 100), (rgb_color{200, 200, 200, 255}));

	Commit(view, 0, "ff0000ff"); // an opaque blue band
	EXPECT_EQ(atr.bg_col, 0xff0000ffu);
	EXPECT_EQ(kit::testing::ViewPixel(canvas, bandX, bandY), before);

	PressSet();
	ASSERT_EQ(program.CanvasMessages().size(), 1u);
	EXPECT_EQ(program.CanvasMessages()[0].what, uint32(CMD_SET_PRESSED));
	EXPECT_EQ(kit::testing::ViewPixel(canvas, bandX, bandY), (rgb_color{0, 0, 255, 255}));
	EXPECT_EQ(kit::testing::ViewPixel(canvas, 2, 100), (rgb_color{200, 200, 200, 255}));
}

TEST_F(ConfigAndCanvas, ADifferentFontFamilyChangesTheDrawnDates)
{
	// Two items of the day menu whose families differ, the DejaVu pair when it is there.
	BMenu* day = view->day_font_field->Menu();
	BMenuItem* first = nullptr;
	BMenuItem* second = nullptr;
	for (int32 i = 0; i < day->CountItems(); i++) {
		std::string label = day->ItemAt(i)->Label();
		if (label.rfind("DejaVu Sans(", 0) == 0 && first == nullptr)
			first = day->ItemAt(i);
		if (label.rfind("DejaVu Serif(", 0) == 0 && second == nullptr)
			second = day->ItemAt(i);
	}
	if (first == nullptr || second == nullptr) {
		first = day->ItemAt(0);
		second = nullptr;
		font_family firstFamily, other;
		font_style style;
		split_font_label(first->Label(), &firstFamily, &style);
		for (int32 i = 1; i < day->CountItems() && second == nullptr; i++) {
			split_font_label(day->ItemAt(i)->Label(), &other, &style);
			if (std::strcmp(other, firstFamily) != 0)
				second = day->ItemAt(i);
		}
	}
	ASSERT_NE(second, nullptr) << "needs two installed font families (fonts-dejavu-core)";

	kit::testing::ChooseMenuItem(first);
	PressSet();
	std::vector<rgb_color> withFirst = Band();
	// Choosing alone redraws nothing.
	kit::testing::ChooseMenuItem(second);
	program.Idle();
	EXPECT_EQ(count_differences(Band(), withFirst), 0);

	PressSet();
	std::vector<rgb_color> withSecond = Band();
	EXPECT_GT(count_differences(withFirst, withSecond), 100)
		<< first->Label() << " and " << second->Label();
	// Back to the first family gives the first drawing again.
	kit::testing::ChooseMenuItem(first);
	PressSet();
	EXPECT_EQ(count_differences(Band(), withFirst), 0);
}

} // namespace
