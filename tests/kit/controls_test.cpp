// Text controls, buttons and menu fields: placement, commits and clicks as a user makes
// them, the fields of their invocations, and the installed-font list that font menus read.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Button.h"
#include "ControlTesting.h"
#include "Font.h"
#include "KitTesting.h"
#include "MenuField.h"
#include "MenuItem.h"
#include "TextControl.h"
#include "Window.h"

namespace {

const uint32 kCommit = kit_code("Cmit");
const uint32 kPick = kit_code("Pick");

class Recorder : public BHandler {
public:
	Recorder() : BHandler("recorder") {}
	void MessageReceived(BMessage* message) override { messages.push_back(*message); }
	std::vector<BMessage> messages;
};

// A shown window with a recording handler; the window goes when the test ends.
class ControlsTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		window = new BWindow(
			BRect(50, 50, 349, 249), "controls", B_TITLED_WINDOW, B_NOT_RESIZABLE | B_NOT_ZOOMABLE);
		root = new BView(window->Bounds(), "root", B_FOLLOW_ALL_SIDES, B_WILL_DRAW);
		window->AddChild(root);
		window->AddHandler(&recorder);
		window->Show();
	}

	void TearDown() override
	{
		window->Quit();
		kit::testing::RunUntilIdle();
	}

	BTextControl* AddTextControl(const char* label, const char* text)
	{
		auto* control = new BTextControl(BRect(20, 25, 180, 45), "field", label, text,
			new BMessage(kCommit), B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW | B_NAVIGABLE);
		control->SetTarget(&recorder);
		root->AddChild(control);
		return control;
	}

	size_t Received()
	{
		kit::testing::RunUntilIdle();
		return recorder.messages.size();
	}

	BWindow* window = nullptr;
	BView* root = nullptr;
	Recorder recorder;
};

void expect_inside(BRect part, BRect bounds)
{
	EXPECT_TRUE(part.IsValid());
	EXPECT_GE(part.left, bounds.left);
	EXPECT_GE(part.top, bounds.top);
	EXPECT_LE(part.right, bounds.right);
	EXPECT_LE(part.bottom, bounds.bottom);
}

TEST_F(ControlsTest, TextControlSitsAtItsFrameWithTheLabelLeftOfTheEntry)
{
	BTextControl* control = AddTextControl("background_color", "80000000");
	EXPECT_EQ(control->Frame(), BRect(20, 25, 180, 45));
	EXPECT_STREQ(control->Label(), "background_color");
	EXPECT_STREQ(control->Text(), "80000000");

	BRect bounds(0, 0, 160, 20);
	BRect label = kit::testing::ControlLabelFrame(control);
	BRect entry = kit::testing::ControlEntryFrame(control);
	expect_inside(label, bounds);
	expect_inside(entry, bounds);
	EXPECT_EQ(label.left, 0);
	EXPECT_LT(label.right, entry.left);
	EXPECT_EQ(entry.right, bounds.right);
	EXPECT_EQ(entry.Height(), bounds.Height());

	// Without a label the entry takes the whole frame.
	control->SetLabel("");
	EXPECT_FALSE(kit::testing::ControlLabelFrame(control).IsValid());
	EXPECT_EQ(kit::testing::ControlEntryFrame(control), bounds);
}

// The entry takes the room its text needs from the label, as far as the frame allows; the
// frame stays as given.
TEST_F(ControlsTest, TextControlEntryTakesRoomForItsTextFromTheLabel)
{
	BTextControl* control = AddTextControl("background_color", "80000000");
	EXPECT_EQ(
		kit::testing::TextFieldShownWidth(control), kit::testing::TextFieldTextWidth(control));
	const float labelWidth = kit::testing::ControlLabelFrame(control).Width();

	// A text longer than the frame can hold: the label shrinks to its ellipsis, the entry
	// shows what it can.
	control->SetText("0123456789abcdef0123456789abcdef");
	kit::testing::RunUntilIdle();
	BRect label = kit::testing::ControlLabelFrame(control);
	EXPECT_LT(label.Width(), labelWidth);
	EXPECT_GT(label.Width(), 0);
	EXPECT_LT(label.right, kit::testing::ControlEntryFrame(control).left);
	EXPECT_LT(
		kit::testing::TextFieldShownWidth(control), kit::testing::TextFieldTextWidth(control));
	EXPECT_EQ(control->Frame(), BRect(20, 25, 180, 45));

	// Typing a short text gives the label its room back.
	kit::testing::TypeText(control, "1");
	kit::testing::RunUntilIdle();
	EXPECT_GE(kit::testing::ControlLabelFrame(control).Width(), labelWidth);
	EXPECT_EQ(
		kit::testing::TextFieldShownWidth(control), kit::testing::TextFieldTextWidth(control));
}

TEST_F(ControlsTest, TextControlIsInvokedOnlyWhenTheUserCommitsItsText)
{
	BTextControl* control = AddTextControl("color", "00ff00");

	// The program's own SetText and the user's typing commit nothing.
	control->SetText("123456");
	EXPECT_STREQ(control->Text(), "123456");
	kit::testing::TypeText(control, "abc");
	EXPECT_STREQ(control->Text(), "abc");
	EXPECT_EQ(Received(), 0u);

	// Enter commits, once.
	kit::testing::CommitText(control, "0x00ff00");
	ASSERT_EQ(Received(), 1u);
	const BMessage& commit = recorder.messages[0];
	EXPECT_EQ(commit.what, kCommit);
	EXPECT_STREQ(control->Text(), "0x00ff00");
	int64 when;
	EXPECT_EQ(commit.FindInt64("when", &when), B_OK);
	void* source = nullptr;
	ASSERT_EQ(commit.FindPointer("source", &source), B_OK);
	EXPECT_EQ(static_cast<BTextControl*>(source), control);
	EXPECT_EQ(static_cast<BView*>(source), static_cast<BView*>(control));

	// Leaving the field commits a change, and only a change.
	kit::testing::LeaveTextField(control);
	EXPECT_EQ(Received(), 1u);
	kit::testing::TypeText(control, "ff");
	kit::testing::LeaveTextField(control);
	EXPECT_EQ(Received(), 2u);
	kit::testing::LeaveTextField(control);
	EXPECT_EQ(Received(), 2u);

	// Enter commits even an unchanged text, as the user asked for it.
	kit::testing::CommitText(control, "ff");
	EXPECT_EQ(Received(), 3u);
	// A program's SetText after a commit leaves nothing pending for the next leave.
	control->SetText("000000");
	kit::testing::LeaveTextField(control);
	EXPECT_EQ(Received(), 3u);
}

TEST_F(ControlsTest, ControlWithoutTargetReportsToItsWindow)
{
	class Window : public BWindow {
	public:
		Window() : BWindow(BRect(0, 0, 99, 99), "w", B_TITLED_WINDOW, 0) {}
		void MessageReceived(BMessage* message) override
		{
			if (message->what == kCommit)
				commits++;
			else
				BWindow::MessageReceived(message);
		}
		int commits = 0;
	};
	auto* own = new Window;
	auto* button = new BButton(BRect(10, 10, 60, 30), "b", "go", new BMessage(kCommit));
	own->AddChild(button);
	own->Show();
	kit::testing::ClickButton(button);
	kit::testing::RunUntilIdle();
	EXPECT_EQ(own->commits, 1);
	own->Quit();
}

TEST_F(ControlsTest, ButtonIsInvokedByAClick)
{
	auto* button = new BButton(BRect(200, 225, 240, 245), "set", "set", new BMessage(kCommit),
		B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW | B_NAVIGABLE);
	button->SetTarget(&recorder);
	root->AddChild(button);
	EXPECT_EQ(button->Frame(), BRect(200, 225, 240, 245));
	EXPECT_STREQ(button->Label(), "set");
	EXPECT_EQ(Received(), 0u);

	kit::testing::ClickButton(button);
	ASSERT_EQ(Received(), 1u);
	EXPECT_EQ(recorder.messages[0].what, kCommit);
	void* source = nullptr;
	ASSERT_EQ(recorder.messages[0].FindPointer("source", &source), B_OK);
	EXPECT_EQ(static_cast<BButton*>(source), button);
}

TEST_F(ControlsTest, MenuFieldShowsTheMarkedItemAndSendsTheChosenItem)
{
	auto* menu = new BPopUpMenu("", true, true, B_ITEMS_IN_COLUMN);
	const char* labels[] = {"Serif(Bold)", "Serif(Book)", "Sans(Book)"};
	for (const char* label : labels) {
		auto* message = new BMessage(kPick);
		message->AddInt8("font_menu", 2);
		auto* item = new BMenuItem(label, message);
		item->SetTarget(&recorder);
		menu->AddItem(item);
	}
	auto* field = new BMenuField(BRect(20, 75, 180, 95), "month_font", "month_font", menu,
		B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW | B_NAVIGABLE);
	root->AddChild(field);
	EXPECT_EQ(field->Frame(), BRect(20, 75, 180, 95));
	EXPECT_EQ(field->Menu(), menu);
	EXPECT_STREQ(field->Label(), "month_font");
	EXPECT_LT(
		kit::testing::ControlLabelFrame(field).right, kit::testing::ControlEntryFrame(field).left);

	// Nothing is marked: the button shows nothing.
	EXPECT_EQ(kit::testing::MenuFieldShownLabel(field), "");

	kit::testing::ChooseMenuItem(menu->ItemAt(1));
	ASSERT_EQ(Received(), 1u);
	EXPECT_EQ(kit::testing::MenuFieldShownLabel(field), "Serif(Book)");
	EXPECT_TRUE(menu->ItemAt(1)->IsMarked());
	const BMessage& pick = recorder.messages[0];
	EXPECT_EQ(pick.what, kPick);
	int8 which = 0;
	EXPECT_EQ(pick.FindInt8("font_menu", &which), B_OK);
	EXPECT_EQ(which, 2);
	void* source = nullptr;
	ASSERT_EQ(pick.FindPointer("source", &source), B_OK);
	EXPECT_EQ(static_cast<BMenuItem*>(source), menu->ItemAt(1));
	EXPECT_STREQ(static_cast<BMenuItem*>(source)->Label(), "Serif(Book)");

	// Radio mode: the next choice takes the mark over.
	kit::testing::ChooseMenuItem(menu->ItemAt(2));
	EXPECT_EQ(Received(), 2u);
	EXPECT_EQ(kit::testing::MenuFieldShownLabel(field), "Sans(Book)");
	EXPECT_FALSE(menu->ItemAt(1)->IsMarked());
	EXPECT_EQ(menu->FindMarked(), menu->ItemAt(2));
}

TEST_F(ControlsTest, MenuFieldOwnsItsMenu)
{
	static int destroyed = 0;
	class CountedItem : public BMenuItem {
	public:
		using BMenuItem::BMenuItem;
		~CountedItem() override { destroyed++; }
	};
	auto* menu = new BPopUpMenu("");
	menu->AddItem(new CountedItem("a(b)", new BMessage(kPick)));
	menu->AddItem(new CountedItem("c(d)", new BMessage(kPick)));
	auto* field = new BMenuField(BRect(0, 0, 100, 20), "f", "f", menu);
	root->AddChild(field);
	menu->ItemAt(0)->SetMarked(true);
	EXPECT_EQ(kit::testing::MenuFieldShownLabel(field), "a(b)");
	destroyed = 0;
	root->RemoveChild(field);
	delete field;
	EXPECT_EQ(destroyed, 2);
}

TEST(FontList, ListsEveryInstalledFamilyWithStylesThatFontsAccept)
{
	int32 families = count_font_families();
	ASSERT_GT(families, 0) << "no font is installed";
	std::vector<std::string> names;
	for (int32 i = 0; i < families; i++) {
		font_family family;
		uint32 flags = 1;
		ASSERT_EQ(get_font_family(i, &family, &flags), B_OK);
		EXPECT_EQ(flags, 0u);
		EXPECT_GT(std::strlen(family), 0u);
		EXPECT_LE(std::strlen(family), size_t(B_FONT_FAMILY_LENGTH));
		names.push_back(family);
		int32 styles = count_font_styles(family);
		EXPECT_GT(styles, 0) << family;
		for (int32 j = 0; j < styles; j++) {
			font_style style;
			ASSERT_EQ(get_font_style(family, j, &style), B_OK);
			BFont font;
			EXPECT_EQ(font.SetFamilyAndStyle(family, style), B_OK) << family << "(" << style << ")";
		}
		font_style beyond;
		EXPECT_EQ(get_font_style(family, styles, &beyond), B_BAD_VALUE);
	}
	font_family beyond;
	EXPECT_EQ(get_font_family(families, &beyond), B_BAD_VALUE);
	EXPECT_EQ(get_font_family(-1, &beyond), B_BAD_VALUE);

	// Asking about the families in another order gives the same names.
	for (int32 i = families - 1; i >= 0; i--) {
		font_family family;
		ASSERT_EQ(get_font_family(i, &family), B_OK);
		EXPECT_EQ(names[size_t(i)], family);
	}
}

TEST(FontList, StylesAnswerForTheFamilyAskedAboutEvenWhenQuestionsInterleave)
{
	int32 families = count_font_families();
	if (families < 2)
		GTEST_SKIP() << "needs two font families";
	font_family first, second;
	ASSERT_EQ(get_font_family(0, &first), B_OK);
	ASSERT_EQ(get_font_family(1, &second), B_OK);
	int32 firstCount = count_font_styles(first);
	int32 secondCount = count_font_styles(second);
	std::vector<std::string> firstStyles, secondStyles;
	for (int32 j = 0; j < firstCount; j++) {
		font_style style;
		get_font_style(first, j, &style);
		firstStyles.push_back(style);
	}
	for (int32 j = 0; j < secondCount; j++) {
		font_style style;
		get_font_style(second, j, &style);
		secondStyles.push_back(style);
	}
	// Alternate between the two families without counting again.
	for (int32 j = 0; j < std::max(firstCount, secondCount); j++) {
		font_style style;
		if (j < firstCount) {
			ASSERT_EQ(get_font_style(first, j, &style), B_OK);
			EXPECT_EQ(firstStyles[size_t(j)], style);
		}
		if (j < secondCount) {
			ASSERT_EQ(get_font_style(second, j, &style), B_OK);
			EXPECT_EQ(secondStyles[size_t(j)], style);
		}
	}
	font_style none;
	EXPECT_EQ(get_font_style("No Such Family Anywhere", 0, &none), B_BAD_VALUE);
	EXPECT_EQ(count_font_styles("No Such Family Anywhere"), 0);
}

} // namespace
