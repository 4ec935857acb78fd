#include "FilePanel.h"
#include "Message.h"
#include "canvas_codes.h"
#include "configwindow.h"
#include "cwin.h"
#include "dorvaview.h"
#include "drop_pos.h"

void dorvaview::MessageReceived(BMessage* message)
{
	update_drop_position(this, message);

	switch (message->what) {
		case B_SIMPLE_DATA:
			_data_received(message);
			break;
		case B_MIME_DATA:
			_paste_dropped(message);
			break;
		case B_COPY_TARGET:
			// The canvas never starts a drag, so it has nothing to deliver.
			break;
		case B_CANCEL:
			_forget_panel();
			break;
		case B_SAVE_REQUESTED:
			_save_requested(message);
			break;
		case CMD_FILE_WRITE:
			_show_export_panel(message);
			break;
		case CMD_FILE_OPEN:
			_show_open_panel();
			break;
		case CMD_FILE_CLOSE:
			_close_picture();
			break;
		case CMD_FILE_PRINT:
			_print();
			break;
		case CMD_CONFIG:
			_open_config_window();
			break;
		case CMD_SET_PRESSED:
			// The configuration window's "set": draw everything now with the new attributes.
			Draw(Bounds());
			break;
		default:
			BView::MessageReceived(message);
			break;
	}
}

// Files (from a drop, the command line or the open panel): the first that opens is shown.
// Without files, a clipping dragged from another program is negotiated; anything else is
// data to paste.
void dorvaview::_data_received(BMessage* message)
{
	type_code type;
	int32 count = 0;
	if (message->GetInfo("refs", &type, &count) == B_OK) {
		// "refs" of another type names no file: such a message changes nothing.
		if (type != B_REF_TYPE)
			return;
		for (int32 i = 0; i < count; i++) {
			// A value that is no readable file reference is passed over.
			entry_ref ref;
			if (message->FindRef("refs", i, &ref) != B_OK)
				continue;
			load(ref);
			if (image != nullptr)
				break;
		}
	} else if (message->HasField("be:clip_name", B_STRING_TYPE)) {
		_negotiate_drop(message);
	} else {
		_paste_dropped(message);
	}
}

// One panel at a time: while an open or a save panel is shown, "Open" does nothing.
void dorvaview::_show_open_panel()
{
	if (panel != nullptr)
		return;
	panel = new BFilePanel(
		B_OPEN_PANEL, nullptr, nullptr, B_FILE_NODE, false, nullptr, nullptr, false, true);
	panel->Show();
}

// The panel has closed: the canvas lets it go and may show another.
void dorvaview::_forget_panel()
{
	delete panel;
	panel = nullptr;
}

void dorvaview::_close_picture()
{
	if (image == nullptr)
		return;
	delete image;
	image = nullptr;
	redraw(true);
}

// One configuration window at a time; it clears cwin when it closes.
void dorvaview::_open_config_window()
{
	if (cwin)
		return;
	cwin = true;
	new configwindow();
}
