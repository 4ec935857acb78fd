#include <memory>
#include <new>
#include <string>

#include "AppFileInfo.h"
#include "BackgroundTask.h"
#include "BitmapStream.h"
#include "Directory.h"
#include "File.h"
#include "FilePanel.h"
#include "Window.h"
#include "dorvaview.h"
#include "exportwindow.h"
#include "output_catalogue.h"

// An export that takes longer than this shows its progress window, updated this often
// (microseconds).
static const bigtime_t kProgressDelay = 500000;
static const bigtime_t kProgressInterval = 100000;

static s_xlt* catalogue_entry(int32 index)
{
	if (index < 0 || index >= trc)
		return nullptr;
	return static_cast<s_xlt*>(xlt.ItemAt(index));
}

void dorvaview::_show_export_panel(BMessage* message)
{
	int16 requested;
	if (image == nullptr || panel != nullptr)
		return;
	// A format the catalogue does not hold would leave nothing to write with.
	if (message->FindInt16("format_no", &requested) != B_OK
		|| catalogue_entry(requested) == nullptr)
		return;
	format_no = requested;
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
	save(directory, name);
	_forget_panel();
}

namespace {

// The picture's bitmap stream as the translator reads it. Translators read the picture from
// its start to its end as they write, so how far they have read is how far the export has
// come.
class progress_source : public BPositionIO {
public:
	progress_source(BPositionIO* stream, BBackgroundTask* task)
		: stream(stream), task(task), furthest(0), size(0)
	{
		stream->GetSize(&size);
		task->SetProgress(0, size);
	}

	ssize_t ReadAt(off_t position, void* buffer, size_t length) override
	{
		ssize_t count = stream->ReadAt(position, buffer, length);
		if (count > 0 && position + count > furthest) {
			furthest = position + count;
			task->SetProgress(furthest, size);
		}
		return count;
	}
	ssize_t WriteAt(off_t position, const void* buffer, size_t length) override
	{
		return stream->WriteAt(position, buffer, length);
	}
	off_t Seek(off_t position, uint32 mode) override { return stream->Seek(position, mode); }
	off_t Position() const override { return stream->Position(); }
	status_t SetSize(off_t length) override { return stream->SetSize(length); }
	status_t GetSize(off_t* length) const override { return stream->GetSize(length); }

private:
	BPositionIO* stream;
	BBackgroundTask* task;
	off_t furthest;
	off_t size;
};

// Everything one export needs, taken from the canvas when it starts, so that the canvas
// may change its picture, and the catalogue may be freed, while the file is written.
struct export_job {
	BBitmap* picture; // a copy, owned
	entry_ref directory;
	std::string name;
	uint32 type;
	std::string mime;
	BTranslatorRoster* roster;

	~export_job() { delete picture; }

	// Runs on the export's own thread. The file is written beside its final name and put
	// in place only once the translation has succeeded, so a failed export leaves an
	// existing file as it was.
	status_t write(BBackgroundTask* task)
	{
		BFile file;
		BDirectory folder(&directory);
		status_t status = folder.CreateFile(name.c_str(), &file, false);
		if (status != B_OK)
			return status;

		BBitmapStream stream(picture);
		picture = nullptr;
		progress_source source(&stream, task);
		status = roster->Translate(&source, nullptr, nullptr, &file, type, 0, nullptr);
		stream.DetachBitmap(&picture);
		if (status != B_OK)
			return status;

		BAppFileInfo info(&file);
		info.SetType(mime.c_str());
		return file.Commit();
	}
};

} // namespace

// Writes the picture, without the calendar, in the chosen format. The writing runs in the
// background on a copy of the picture, so the window goes on drawing and answering
// meanwhile; a small window shows its progress when it takes long. B_OK once the export
// has started; its end is reported to the "SAVE" being handled, if its sender waits for a
// reply.
status_t dorvaview::save(entry_ref& directory, const char* name)
{
	s_xlt* format = catalogue_entry(format_no);
	if (image == nullptr || format == nullptr || tr == nullptr || name == nullptr)
		return B_BAD_VALUE;

	auto job = std::make_shared<export_job>();
	job->picture = new (std::nothrow) BBitmap(*image);
	if (job->picture == nullptr || job->picture->InitCheck() != B_OK)
		return B_NO_MEMORY;
	job->directory = directory;
	job->name = name;
	job->type = format->type;
	job->mime = format->mime;
	job->roster = tr;

	BMessage* current = Window() != nullptr ? Window()->CurrentMessage() : nullptr;
	const BMessage* request =
		current != nullptr && current->what == B_SAVE_REQUESTED ? current : nullptr;
	// Over the main window's top left corner; like every new window, hidden until it shows
	// itself.
	BPoint where = Window() != nullptr ? Window()->Frame().LeftTop() : BPoint(100, 100);
	auto* progress = new exportwindow(BPoint(where.x + 40, where.y + 40), name, request);

	BMessage report(MSG_EXPORT_PROGRESS);
	status_t status = BBackgroundTask::Start(
		[job](BBackgroundTask* task) { return job->write(task); }, BMessenger(nullptr, progress),
		BMessage(MSG_EXPORT_DONE), &report, kProgressDelay, kProgressInterval);
	if (status != B_OK)
		progress->Quit();
	return status;
}
