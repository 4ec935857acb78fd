// The sheet of a page printed for a print shop: the trim (the paper, where the printed sheet
// is cut), the bleed around it (what runs off the paper's edge is printed that far past it,
// so that no white shows where the cut strays), and the slug beyond, where crop marks go.
#pragma once

#include <QPageLayout>
#include <QRectF>
#include <QSize>

namespace kit {

struct PrintSheet {
	// The whole page, in whole points as Qt's PDF writer lays pages out.
	QSize page;
	// In points, the page's top-left at (0, 0), y down.
	QRectF trim;
	QRectF bleed;
};

// The sheet for the paper of layout, in its orientation, with bleed and slug (points, at
// least zero) on every side. The trim has the paper's exact size and the bleed the size
// asked for; the page is rounded up to whole points, the trim centred on it, so that the
// slug grows by less than half a point where the paper is not whole points.
PrintSheet LayOutSheet(const QPageLayout& layout, double bleed, double slug);

// The page layout for Qt's PDF writer: the whole page, no margins.
QPageLayout SheetPageLayout(const PrintSheet& sheet);

} // namespace kit
