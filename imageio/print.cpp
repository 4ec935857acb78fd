#include "PrintJob.h"
#include "dorvaview.h"
#include "program_name.h"

// One page: the part of the canvas under the printable rectangle, drawn at the page's
// origin, picture and calendar alike. An empty canvas is not printed. A setup the user
// cancels leaves the job with nothing to print; the steps after it then do nothing.
void dorvaview::_print()
{
	if (image == nullptr)
		return;
	BPrintJob job(kProgramName);
	job.ConfigPage();
	job.ConfigJob();
	BRect printable = job.PrintableRect();
	job.BeginJob();
	job.DrawView(this, printable, BPoint(0, 0));
	job.SpoolPage();
	job.CommitJob();
}
