// BBitmap's views: what lets a view draw into a bitmap (BitmapDrawing.h).
#include "BitmapDrawing.h"

#include <algorithm>
#include <cmath>

#include "DrawingTarget.h"
#include "View.h"
#include "ViewAccess.h"

namespace kit {

namespace {

// Pixels drawn by the kit are 72 to the inch, as in a window's buffer (DrawingTarget.h).
const double kMetresPerInch = 0.0254;

bool can_take_views(const BBitmap* bitmap)
{
	return bitmap->IsValid() && (bitmap->Flags() & B_BITMAP_ACCEPTS_VIEWS)
		&& (bitmap->ColorSpace() == B_RGB32 || bitmap->ColorSpace() == B_RGBA32);
}

} // namespace

void BitmapViews::Forget(BView* view)
{
	fViews.erase(std::remove(fViews.begin(), fViews.end(), view), fViews.end());
}

BitmapBridge::~BitmapBridge()
{
	fOwner->Forget(fView);
}

QImage* BitmapBridge::Buffer()
{
	BBitmap* bitmap = fOwner->Bitmap();
	BRect bounds = bitmap->Bounds();
	BRect frame = fView->Frame();
	// The view's pixel columns and rows in the bitmap, counted from its first pixel.
	const int left = int(std::floor(frame.left - bounds.left));
	const int top = int(std::floor(frame.top - bounds.top));
	const int width = std::min(int(std::floor(frame.right)) - int(std::floor(frame.left)) + 1,
		int(bitmap->PixelWidth()) - left);
	const int height = std::min(int(std::floor(frame.bottom)) - int(std::floor(frame.top)) + 1,
		int(bitmap->PixelHeight()) - top);
	if (left < 0 || top < 0 || width <= 0 || height <= 0) {
		fImage = QImage();
		return &fImage;
	}

	uchar* first = static_cast<uchar*>(bitmap->Bits()) + size_t(top) * bitmap->BytesPerRow()
		+ size_t(left) * 4;
	if (fImage.isNull() || fImage.constBits() != first || fImage.width() != width
		|| fImage.height() != height) {
		// Be's B_RGBA32 carries an alpha that is not premultiplied, as Qt's ARGB32 does.
		const QImage::Format format =
			bitmap->ColorSpace() == B_RGB32 ? QImage::Format_RGB32 : QImage::Format_ARGB32;
		fImage = QImage(first, width, height, bitmap->BytesPerRow(), format);
		const int dotsPerMetre = qRound(kDotsPerInch / kMetresPerInch);
		fImage.setDotsPerMeterX(dotsPerMetre);
		fImage.setDotsPerMeterY(dotsPerMetre);
	}
	return &fImage;
}

} // namespace kit

void BBitmap::AddChild(BView* view)
{
	if (view == nullptr || !kit::can_take_views(this) || view->Window() != nullptr
		|| view->Parent() != nullptr || kit::ViewAccess::Bridge(view) != nullptr)
		return;
	if (fViews == nullptr)
		fViews = new kit::BitmapViews(this);
	fViews->Views().push_back(view);
	kit::ViewAccess::SetBridge(view, new kit::BitmapBridge(view, fViews));
	view->AttachedToWindow();
	view->AllAttached();
}

bool BBitmap::RemoveChild(BView* view)
{
	if (fViews == nullptr || view == nullptr)
		return false;
	auto& views = fViews->Views();
	if (std::find(views.begin(), views.end(), view) == views.end())
		return false;
	view->DetachedFromWindow();
	// The bridge takes the view off the list as it goes.
	delete kit::ViewAccess::Bridge(view);
	kit::ViewAccess::SetBridge(view, nullptr);
	return true;
}

int32 BBitmap::CountChildren() const
{
	return fViews != nullptr ? int32(fViews->Views().size()) : 0;
}

BView* BBitmap::ChildAt(int32 index) const
{
	return fViews != nullptr ? kit::ViewAt(fViews->Views(), index) : nullptr;
}

BView* BBitmap::FindView(const char* name) const
{
	return fViews != nullptr ? kit::FindViewIn(fViews->Views(), name) : nullptr;
}

bool BBitmap::Lock()
{
	if (!kit::can_take_views(this))
		return false;
	if (fViews == nullptr)
		fViews = new kit::BitmapViews(this);
	fViews->lockCount++;
	return true;
}

void BBitmap::Unlock()
{
	if (fViews != nullptr && fViews->lockCount > 0)
		fViews->lockCount--;
}

bool BBitmap::IsLocked() const
{
	return fViews != nullptr && fViews->lockCount > 0;
}

void BBitmap::_DeleteViews()
{
	if (fViews == nullptr)
		return;
	std::vector<BView*> views;
	views.swap(fViews->Views());
	for (BView* view : views) {
		view->DetachedFromWindow();
		delete view;
	}
	delete fViews;
	fViews = nullptr;
}
