// Drives the kit's controls as a user would, through their real widgets, and reads what
// those widgets show. For tests only; the program never uses it.
#pragma once

#include <string>

#include "Rect.h"
#include "SupportDefs.h"

class BButton;
class BMenuField;
class BMenuItem;
class BTextControl;
class BView;

namespace kit::testing {

// Selects the field's text and types text over it. Typing commits nothing.
void TypeText(BTextControl* control, const char* text);
// Types text over the field's text, then presses Enter, which commits it.
void CommitText(BTextControl* control, const char* text);
// Moves the keyboard focus out of the field, as Tab or a click elsewhere does.
void LeaveTextField(BTextControl* control);
// Clicks the button with the mouse.
void ClickButton(BButton* button);
// Chooses the item in its menu, as a click on it in the open menu does.
void ChooseMenuItem(BMenuItem* item);

// The text that the menu field's pop-up button shows.
std::string MenuFieldShownLabel(BMenuField* field);
// The parts of a control (text control, button, menu field), in the control's own
// coordinates: the entry (text field, button, pop-up button) and the label shown beside it;
// an invalid rectangle for a part the control does not show.
BRect ControlEntryFrame(BView* control);
BRect ControlLabelFrame(BView* control);
// How much of the text field's text it shows: the distance the cursor moves on screen from
// the text's start to its end, the field scrolling as it does to keep the cursor in sight.
// It is the text's width when the whole text fits, less when the field cuts it.
int32 TextFieldShownWidth(BTextControl* control);
// The width of the field's text in the field's font.
int32 TextFieldTextWidth(BTextControl* control);
// Whether the keyboard focus of the view's window is in the view (or its entry).
bool HasKeyboardFocus(BView* view);

} // namespace kit::testing
