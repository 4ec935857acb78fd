#include "Directory.h"
#include "FilePanel.h"
#include "dorvaview.h"
#include "output_catalogue.h"
#include "picture_files.h"

static s_xlt* catalogue_entry(int32 index)
{
	if (index < 0 || index >= trc)
		return nullptr;
	return static_cast<s_xlt*>(xlt.ItemAt(index));
}

void dorvaview::_show_export_panel(BMessage* message)
{
	if (image == nullptr || panel != nullptr)
		return;
	// The format comes from the message; without the field, the one chosen last stays. A
	// format the catalogue does not hold would leave nothing to write with.
	int16 requested;
	if (message->FindInt16("format_no", &requested) == B_OK) {
		if (catalogue_entry(requested) == nullptr)
			return;
		format_no = requested;
	}
	if (catalogue_entry(format_no) == nullptr)
		return;
	panel = new BFilePanel(
		B_SAVE_PANEL, nullptr, nullptr, B_FILE_NODE, false, nullptr, nullptr, false, true);
	panel->Window()->SetTitle(catalogue_entry(format_no)->name);
	panel->Show();
}

void dorvaview::_save_requested(BMessage* message)
{
	entry_ref directory;
	const char* name = nullptr;
	// An answer without a place to write, or with no format to write in, changes nothing.
	if (message->FindRef("directory", &directory) != B_OK
		|| message->FindString("name", &name) != B_OK || catalogue_entry(format_no) == nullptr)
		return;
	status_t status = save(directory, name);
	// A sender that waits for the answer learns whether the file was written; nobody else
	// is sent anything.
	if (message->IsSourceWaiting()) {
		BMessage reply(B_REPLY);
		reply.AddInt32("error", status);
		message->SendReply(&reply);
	}
	_forget_panel();
}

// Writes the picture, without the calendar, in the chosen format, here in the window's
// thread: when this returns, the file is written, stamped with the format's type and
// closed. The picture is lent to the stream and taken back, never copied. The file is
// written beside its final name and put in place only once the translation has succeeded,
// so a failed export leaves an existing file as it was.
status_t dorvaview::save(entry_ref& directory, const char* name)
{
	s_xlt* format = catalogue_entry(format_no);
	if (image == nullptr || format == nullptr || tr == nullptr || name == nullptr)
		return B_BAD_VALUE;

	BDirectory folder(&directory);
	return write_picture(image, &folder, name, format->type, format->mime);
}
