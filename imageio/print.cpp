#include "PrintJob.h"
#include "dorvaview.h"
#include "pic.h"
#include "program_name.h"

// One page: the part of the canvas under the printable rectangle, drawn at the page's
// origin, picture and calendar alike. Fitted to the page, the page holds the whole picture
// with its band instead, as dorva-render prints it, whatever the window shows. An empty
// canvas is not printed. A setup the user cancels leaves the job with nothing to print;
// the steps after it then do nothing.
void dorvaview::_print()
{
	if (image == nullptr)
		return;
	BPrintJob job(kProgramName);
	job.ConfigPage();
	job.ConfigJob();
	BRect printable = job.PrintableRect();
	job.BeginJob();
	fPrintingWhole = job.Scale() == B_PRINT_SCALE_FIT_TO_PAGE;
	job.DrawView(this, fPrintingWhole ? pic : printable, BPoint(0, 0));
	fPrintingWhole = false;
	job.SpoolPage();
	job.CommitJob();
}
