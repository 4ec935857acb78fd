#include "FilePanel.h"
#include "Message.h"
#include "command_codes.h"
#include "configwindow.h"
#include "dorvaview.h"
#include "drop_position.h"
#include "output_catalogue.h"

BPoint drop_pos;

void update_drop_position(BView* canvas, const BMessage* message)
{
	BPoint point;
	BPoint offset;
	if (message->FindPoint("_drop_point_", &point) != B_OK
		|| message->FindPoint("_drop_offset_", &offset) != B_OK)
		return;
	point = canvas->ConvertFromScreen(point);
	float scale;
	if (message->FindFloat("scale", &scale) == B_OK) {
		offset.x /= scale;
		offset.y /= scale;
	}
	drop_pos = point - offset;
}

// The panel has closed: the canvas lets it go and may show another.
static void forget_panel(BFilePanel*& panel)
{
	delete panel;
	panel = nullptr;
}

void dorvaview::MessageReceived(BMessage* message)
{
	update_drop_position(this, message);

	switch (message->what) {
		case B_SIMPLE_DATA: {
			type_code type;
			int32 count = 0;
			if (message->GetInfo("refs", &type, &count) == B_OK) {
				for (int32 i = 0; i < count; i++) {
					entry_ref ref;
					message->FindRef("refs", i, &ref);
					load(ref);
					if (image != nullptr)
						break;
				}
			} else if (message->HasField("be:clip_name", B_STRING_TYPE)) {
				_negotiate_drop(message);
			} else {
				_paste_dropped(message);
			}
			break;
		}
		case B_MIME_DATA:
			_paste_dropped(message);
			break;
		case B_COPY_TARGET:
			// The canvas never starts a drag, so it has nothing to deliver.
			break;
		case B_CANCEL:
			forget_panel(panel);
			break;
		case B_SAVE_REQUESTED:
			save_requested(message);
			break;
		case CMD_FILE_WRITE:
			show_export_panel(message);
			break;
		case CMD_LIST_FORMATS:
			list_output_formats(message);
			break;
		case CMD_FILE_OPEN: {
			if (panel != nullptr)
				break;
			panel = new BFilePanel(B_OPEN_PANEL, nullptr, nullptr, B_FILE_NODE, false,
				nullptr, nullptr, false, true);
			panel->Show();
			break;
		}
		case CMD_FILE_CLOSE:
			if (image == nullptr)
				break;
			delete image;
			image = nullptr;
			redraw(true);
			break;
		case CMD_FILE_PRINT:
			if (image != nullptr)
				_print();
			break;
		case CMD_CONFIG:
			// One configuration window at a time; it clears cwin when it closes.
			if (cwin)
				break;
			cwin = true;
			new configwindow();
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
