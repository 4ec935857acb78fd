// A print job: page setup, job setup (the print dialog, which picks a printer or a PDF
// file), then one or more pages drawn by views, then the commit that sends them out.
// Page coordinates are points (1/72 inch); a view's pixel is one point on paper. A step
// whose setup was cancelled, or that comes out of order, does nothing and says so.
#pragma once

#include <memory>
#include <string>

#include "Rect.h"
#include "SupportDefs.h"

class BView;

class BPrintJob {
public:
	explicit BPrintJob(const char* name);
	virtual ~BPrintJob();

	status_t ConfigPage();
	status_t ConfigJob();
	// The printable area of the page, its top-left at (0, 0).
	BRect PrintableRect();
	BRect PaperRect();

	void BeginJob();
	// Draws the rect part of the view (in the view's coordinates) with its top-left at
	// where on the page.
	void DrawView(BView* view, BRect rect, BPoint where);
	void SpoolPage();
	void CommitJob();
	void CancelJob();
	bool CanContinue() const;

	const char* Name() const { return fName.c_str(); }

private:
	struct Private;
	std::string fName;
	std::unique_ptr<Private> fPrivate;
};
