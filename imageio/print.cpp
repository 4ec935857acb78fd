#include "PrintJob.h"
#include "dorvaview.h"

// One page: the part of the canvas under the printable rectangle, drawn at the page's
// origin, picture and calendar alike. A setup the user cancels leaves the job with nothing
// to print; the steps after it then do nothing.
void dorvaview::_print()
{
	BPrintJob job("dorva");
	job.ConfigPage();
	job.ConfigJob();
	BRect printable = job.PrintableRect();
	job.BeginJob();
	job.DrawView(this, printable, BPoint(0, 0));
	job.SpoolPage();
	job.CommitJob();
}
