// The print-shop boxes of a PDF's pages: where the sheet is cut (TrimBox) and how far its
// pictures run past the cut (BleedBox). Qt's PDF writer has no way to write them, so they are
// added to the document it wrote, which is rewritten once, stream data copied as it is.
#pragma once

#include "DataIO.h"

namespace kit {

// A rectangle as PDF has it: points, the origin at the page's bottom left, y up.
struct PdfBox {
	double left;
	double bottom;
	double right;
	double top;
};

// Reads the PDF in the file source (from its start; the descriptor stays open), gives every
// page the two boxes and writes the document to destination. B_OK; the destination's own
// status when a write into it failed (a full disk says so); B_ERROR for a document that
// could not be read.
status_t WritePageBoxes(int source, BDataIO* destination, const PdfBox& trim, const PdfBox& bleed);

} // namespace kit
