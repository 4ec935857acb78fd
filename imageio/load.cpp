#include "BitmapStream.h"
#include "File.h"
#include "dorvaview.h"
#include "tr.h"

void dorvaview::load(entry_ref& ref)
{
	BFile file(&ref, B_READ_ONLY);
	// The name shows in the window even when the file cannot be read; an empty ref (a
	// command-line name that is no entry) has none and is simply a file that cannot be read.
	set_title(title, ref.name.c_str());

	// The old picture goes whether or not the new one decodes.
	delete image;
	image = nullptr;

	if (file.InitCheck() == B_OK && tr != nullptr) {
		BBitmapStream stream;
		if (tr->Translate(&file, nullptr, nullptr, &stream, B_TRANSLATOR_BITMAP, 0, nullptr)
			== B_OK) {
			BBitmap* decoded = nullptr;
			if (stream.DetachBitmap(&decoded) == B_OK)
				image = decoded;
		}
	}
	file.Unset();
	redraw(true);
}
