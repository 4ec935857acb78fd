// Views that draw into a bitmap's memory instead of a window (BBitmap::AddChild). Each such
// view gets a BitmapBridge, whose drawing buffer is an image laid over the bitmap's own
// pixels under the view's frame: the view's drawing calls then take the very path they take
// in a window (ViewDrawing.cpp), one fresh painter per call on a 72-dpi raster image, so a
// view draws the same pixels into a bitmap as into its window's buffer.
#pragma once

#include <vector>

#include "Bitmap.h"
#include "ViewBridge.h"

namespace kit {

// The views of one bitmap and its lock count.
class BitmapViews {
public:
	explicit BitmapViews(BBitmap* bitmap) : fBitmap(bitmap) {}

	BBitmap* Bitmap() const { return fBitmap; }
	std::vector<BView*>& Views() { return fViews; }
	int32 lockCount = 0;

	// A view of the bitmap is being deleted, or taken out: the list lets it go.
	void Forget(BView* view);

private:
	BBitmap* fBitmap;
	std::vector<BView*> fViews;
};

class BitmapBridge : public ViewBridge {
public:
	BitmapBridge(BView* view, BitmapViews* owner) : ViewBridge(view), fOwner(owner) {}
	~BitmapBridge() override;

	// A view in a bitmap has no widget.
	QWidget* CreateWidget(QWidget* parent) override { return nullptr; }
	// The bitmap's pixels from the view's top-left corner to the bitmap's right and bottom
	// edges, clipped to the view's frame; a null image where the view cannot draw.
	QImage* Buffer() override;

private:
	BitmapViews* fOwner;
	QImage fImage;
};

} // namespace kit
