#include "File.h"
#include "dorvaview.h"
#include "picture_files.h"

void dorvaview::load(entry_ref& ref)
{
	BFile file(&ref, B_READ_ONLY);
	// The name shows in the window even when the file cannot be read; an empty ref (a
	// command-line name that is no entry) has none and is simply a file that cannot be read.
	set_title(title, ref.name.c_str());

	// The old picture goes whether or not the new one decodes.
	delete image;
	image = nullptr;

	BBitmap* decoded = nullptr;
	if (read_picture(&file, &decoded) == B_OK)
		image = decoded;
	file.Unset();
	redraw(true);
}
