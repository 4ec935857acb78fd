// A print job: page setup, job setup (the print dialog, which picks a printer or a PDF
// file), then one or more pages drawn by views, then the commit that sends them out.
// Page coordinates are points (1/72 inch). A step whose setup was cancelled, or that comes
// out of order, does nothing and says so.
//
// Pages: what DrawView draws goes on the open page, the first one from BeginJob() on;
// SpoolPage() ends it, and the next DrawView() begins another. CommitJob() sends the pages
// that hold drawing, the last one whether spooled or not.
//
// The page setup carries a scale. At B_PRINT_SCALE_ACTUAL_SIZE (the default) a view's pixel
// is one point on paper. At B_PRINT_SCALE_FIT_TO_PAGE, DrawView draws the rectangle it is
// given scaled to the largest size that fits the printable rectangle, keeping its
// proportions, centred on it. The scale chosen in a page setup holds for every
// later job of the run, until another page setup changes it.
#pragma once

#include <memory>
#include <string>

#include "Rect.h"
#include "SupportDefs.h"

class BMessage;
class BView;

enum print_scale : int32 {
	B_PRINT_SCALE_ACTUAL_SIZE = 0,
	B_PRINT_SCALE_FIT_TO_PAGE = 1,
};

enum print_orientation : int32 {
	B_PRINT_PORTRAIT = 0,
	B_PRINT_LANDSCAPE = 1,
};

class BPrintJob {
public:
	explicit BPrintJob(const char* name);
	virtual ~BPrintJob();

	status_t ConfigPage();
	status_t ConfigJob();

	// Sets the job up without its dialogs (the message is the job's from then on, and is
	// deleted with it). Fields, each optional:
	//   "paper"        string: "a3", "a4", "a5", "letter", "legal" or "tabloid" (11 x 17 in);
	//   "orientation"  int32: B_PRINT_PORTRAIT or B_PRINT_LANDSCAPE;
	//   "scale"        int32: a print_scale, for this job only;
	//   "file"         string: the path of a PDF file that the job prints into; the job is
	//                  then ready for BeginJob() with no ConfigJob(), and without "paper"
	//                  its paper is that of the user's locale (LC_PAPER). The file is
	//                  written as BFile's safe writes are (File.h): it replaces the old one
	//                  only at CommitJob(), once all of it is on the disk, and Status()
	//                  tells why it was not.
	//   "bleed"        float: for a print shop, points (0 to 100 mm) by which what runs off
	//                  the paper's edge is printed past it;
	//   "slug"         float: points (0 to 100 mm) of room around the bleed, for crop marks.
	//                  With either of these two, for a job with a "file" only, the page is
	//                  the paper (the trim) grown by the bleed and then the slug on every
	//                  side, with no margins; its size is rounded up to whole points, the
	//                  trim centred. Each page of the PDF names its TrimBox and BleedBox.
	// B_BAD_VALUE, and nothing set, for a field of another type or an unknown value, and
	// for a bleed or slug that is negative, not a number, larger than 100 mm or without a
	// file.
	//
	// Settings add to those given before: a field that a message leaves out keeps its value.
	status_t SetSettings(BMessage* settings);

	// The printable area of the page, its top-left at (0, 0); for a job with bleed or slug,
	// the whole page, as PaperRect().
	BRect PrintableRect();
	BRect PaperRect();
	// Where the printed sheet is cut, and how far past that what runs off the edge goes, in
	// the page's coordinates (points, (0, 0) its top-left, y down). Like every rectangle of
	// the kit, right and bottom are inclusive: a box covers Width() + 1 by Height() + 1
	// points. Without bleed and slug, both are PaperRect().
	BRect TrimRect();
	BRect BleedRect();

	void BeginJob();
	// Draws the rect part of the view (in the view's coordinates) with its top-left at
	// where on the page (from the printable area's top-left; the page's own with bleed or
	// slug); rect fitted to the printable area instead at B_PRINT_SCALE_FIT_TO_PAGE.
	void DrawView(BView* view, BRect rect, BPoint where);
	// Ends the page, if anything was drawn on it: a job holds no blank page.
	void SpoolPage();
	void CommitJob();
	void CancelJob();
	// Whether the job can go on; after CommitJob(), whether its pages went out.
	bool CanContinue() const;
	// B_OK while the job can go on, and after a CommitJob() whose pages went out; else why
	// not: B_CANCELED for a cancelled setup, the file's own status for a PDF file that
	// could not be written ("No space left on device", see status_text).
	status_t Status() const;
	// The scale that DrawView applies.
	print_scale Scale() const;

	const char* Name() const { return fName.c_str(); }

private:
	void _Fail(status_t status);

	struct Private;
	std::string fName;
	std::unique_ptr<Private> fPrivate;
};
