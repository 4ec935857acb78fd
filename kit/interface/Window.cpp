#include "Window.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "MenuBar.h"
#include "Message.h"
#include "View.h"
#include "ViewAccess.h"
#include "WindowBridge.h"
#include "WindowRegistry.h"

namespace kit {

namespace {

// The platform's size and zoom limits for a new window: larger than any screen.
const float kUnlimitedSize = 32768;
// The largest window side the kit asks of Qt, in pixels: the largest that a signed 16-bit
// window coordinate holds, which every windowing system takes.
const int kLargestWindowPixels = INT16_MAX;
// Pulse() every half second (the rate is in microseconds), until the program sets a rate.
const bigtime_t kDefaultPulseRate = 500000;

int milliseconds(bigtime_t microseconds)
{
	return int(microseconds / 1000);
}

} // namespace

std::vector<BWindow*>& Windows()
{
	static std::vector<BWindow*> windows;
	return windows;
}

// Width and height in Qt's pixel counts for an inclusive BRect size.
static int pixels(float size)
{
	return std::max(0, int(std::lround(size))) + 1;
}

} // namespace kit

BWindow::BWindow(BRect frame, const char* title, window_type type, uint32 flags, uint32)
	: BLooper(title), fFrame(frame), fTitle(title ? title : ""), fType(type), fFlags(flags),
	  fMinWidth(0), fMaxWidth(kit::kUnlimitedSize), fMinHeight(0), fMaxHeight(kit::kUnlimitedSize),
	  fZoomWidth(kit::kUnlimitedSize), fZoomHeight(kit::kUnlimitedSize),
	  fPulseRate(kit::kDefaultPulseRate), fBridge(nullptr), fFocus(nullptr)
{
	fBridge = new kit::WindowBridge(this);
	Qt::WindowFlags windowFlags = Qt::Window;
	if (flags & B_NOT_ZOOMABLE)
		windowFlags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
			| Qt::WindowMinimizeButtonHint;
	fBridge->setWindowFlags(windowFlags);
	fBridge->setWindowTitle(QString::fromUtf8(fTitle.c_str()));
	fBridge->fApplyingGeometry = true;
	fBridge->setGeometry(
		int(frame.left), int(frame.top), kit::pixels(frame.Width()), kit::pixels(frame.Height()));
	if (flags & B_NOT_RESIZABLE)
		fBridge->setFixedSize(kit::pixels(frame.Width()), kit::pixels(frame.Height()));
	fBridge->fApplyingGeometry = false;
	kit::Windows().push_back(this);
}

BWindow::~BWindow()
{
	auto& windows = kit::Windows();
	windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
	std::vector<BView*> children = fChildren;
	for (BView* child : children)
		delete child;
	delete fBridge;
}

void BWindow::DispatchMessage(BMessage* message, BHandler* handler)
{
	if (handler != this) {
		BLooper::DispatchMessage(message, handler);
		return;
	}
	switch (message->what) {
		case B_WINDOW_RESIZED:
			_FrameResized(message);
			break;
		default:
			BLooper::DispatchMessage(message, handler);
			break;
	}
}

void BWindow::_FrameResized(const BMessage* message)
{
	float width, height;
	if (message->FindFloat("width", &width) == B_OK
		&& message->FindFloat("height", &height) == B_OK)
		FrameResized(width, height);
}

void BWindow::MessageReceived(BMessage* message)
{
	BLooper::MessageReceived(message);
}

bool BWindow::QuitRequested()
{
	return true;
}

void BWindow::Quit()
{
	if (fBridge)
		fBridge->hide();
	BLooper::Quit();
}

void BWindow::FrameResized(float, float)
{
}

void BWindow::AddChild(BView* child, BView* before)
{
	if (child == nullptr || child->fParent != nullptr || child->fWindow != nullptr)
		return;
	auto position = std::find(fChildren.begin(), fChildren.end(), before);
	fChildren.insert(position, child);
	child->_Attach(this);
	fBridge->PlaceGrip();
}

bool BWindow::RemoveChild(BView* child)
{
	auto found = std::find(fChildren.begin(), fChildren.end(), child);
	if (found == fChildren.end())
		return false;
	fChildren.erase(found);
	child->_Detach();
	return true;
}

int32 BWindow::CountChildren() const
{
	return int32(fChildren.size());
}

BView* BWindow::ChildAt(int32 index) const
{
	return kit::ViewAt(fChildren, index);
}

BView* BWindow::FindView(const char* name) const
{
	return kit::FindViewIn(fChildren, name);
}

BView* BWindow::CurrentFocus() const
{
	return fFocus;
}

BMenuBar* BWindow::KeyMenuBar() const
{
	for (BView* child : fChildren) {
		if (auto* bar = dynamic_cast<BMenuBar*>(child))
			return bar;
	}
	return nullptr;
}

void BWindow::MoveTo(float x, float y)
{
	fFrame.OffsetTo(x, y);
	// Where the compositor places windows, the frame alone moves.
	if (!kit::PlatformKnowsWindowPositions())
		return;
	fBridge->fApplyingGeometry = true;
	// The frame is the content area: move() would place the decoration's corner there.
	fBridge->setGeometry(int(x), int(y), fBridge->width(), fBridge->height());
	fBridge->fApplyingGeometry = false;
}

void BWindow::ResizeTo(float width, float height)
{
	// As the platform does: the minimum first, then the maximum. The screen's size plays no
	// part: a window larger than the screen is as large as asked, and its views keep pixels
	// only for what the screen can show.
	width = std::round(width);
	height = std::round(height);
	if (width < fMinWidth)
		width = fMinWidth;
	else if (width > fMaxWidth)
		width = fMaxWidth;
	if (height < fMinHeight)
		height = fMinHeight;
	else if (height > fMaxHeight)
		height = fMaxHeight;
	fBridge->fApplyingGeometry = true;
	fBridge->resize(kit::pixels(width), kit::pixels(height));
	fBridge->fApplyingGeometry = false;
	_ContentResized(width, height, false);
}

void BWindow::_ContentResized(float width, float height, bool fromPlatform)
{
	float dx = width - fFrame.Width();
	float dy = height - fFrame.Height();
	if (dx == 0 && dy == 0)
		return;
	fFrame.right = fFrame.left + width;
	fFrame.bottom = fFrame.top + height;
	for (BView* child : fChildren)
		child->_ParentResized(dx, dy);
	fBridge->PlaceGrip();
	// The hook runs in the window's own turn, as every platform notification does.
	BMessage resized(B_WINDOW_RESIZED);
	resized.AddFloat("width", width);
	resized.AddFloat("height", height);
	PostMessage(&resized);
}

void BWindow::SetSizeLimits(float minWidth, float maxWidth, float minHeight, float maxHeight)
{
	fMinWidth = minWidth;
	fMaxWidth = maxWidth;
	fMinHeight = minHeight;
	fMaxHeight = maxHeight;
	_ApplyLimits();
}

void BWindow::GetSizeLimits(
	float* minWidth, float* maxWidth, float* minHeight, float* maxHeight) const
{
	if (minWidth)
		*minWidth = fMinWidth;
	if (maxWidth)
		*maxWidth = fMaxWidth;
	if (minHeight)
		*minHeight = fMinHeight;
	if (maxHeight)
		*maxHeight = fMaxHeight;
}

void BWindow::_ApplyLimits()
{
	if (fFlags & B_NOT_RESIZABLE)
		return;
	// Qt cannot hold a maximum below the minimum; the minimum wins, as it does in ResizeTo.
	int minWidth = kit::pixels(fMinWidth);
	int minHeight = kit::pixels(fMinHeight);
	const float largest = float(kit::kLargestWindowPixels - 1);
	int maxWidth = std::max(minWidth, kit::pixels(std::min(fMaxWidth, largest)));
	int maxHeight = std::max(minHeight, kit::pixels(std::min(fMaxHeight, largest)));
	fBridge->fApplyingGeometry = true;
	fBridge->setMinimumSize(minWidth, minHeight);
	fBridge->setMaximumSize(maxWidth, maxHeight);
	fBridge->fApplyingGeometry = false;
	// Qt may have clamped the widget; keep the frame and the children in step with it.
	_ContentResized(fBridge->width() - 1, fBridge->height() - 1, false);
}

void BWindow::SetZoomLimits(float maxWidth, float maxHeight)
{
	fZoomWidth = maxWidth;
	fZoomHeight = maxHeight;
}

void BWindow::GetZoomLimits(float* maxWidth, float* maxHeight) const
{
	if (maxWidth)
		*maxWidth = fZoomWidth;
	if (maxHeight)
		*maxHeight = fZoomHeight;
}

void BWindow::Zoom()
{
	if (fFlags & B_NOT_ZOOMABLE)
		return;
	ResizeTo(fZoomWidth, fZoomHeight);
}

void BWindow::SetTitle(const char* title)
{
	fTitle = title ? title : "";
	fBridge->setWindowTitle(QString::fromUtf8(fTitle.c_str()));
}

void BWindow::Show()
{
	fBridge->show();
	fBridge->PlaceGrip();
	if (fPulseRate > 0 && !fBridge->PulseTimer().isActive())
		fBridge->PulseTimer().start(kit::milliseconds(fPulseRate));
}

void BWindow::Hide()
{
	fBridge->hide();
}

bool BWindow::IsHidden() const
{
	return fBridge->isHidden();
}

void BWindow::Activate(bool active)
{
	if (active) {
		fBridge->raise();
		fBridge->activateWindow();
	}
}

void BWindow::SetPulseRate(bigtime_t rate)
{
	fPulseRate = rate;
	if (rate <= 0) {
		fBridge->PulseTimer().stop();
		return;
	}
	fBridge->PulseTimer().setInterval(std::max(kit::milliseconds(rate), 1));
	if (fBridge->isVisible())
		fBridge->PulseTimer().start();
}

void BWindow::_PulseViews(BView* view)
{
	const std::vector<BView*>& views = view ? view->fChildren : fChildren;
	for (BView* child : std::vector<BView*>(views)) {
		if (child->Flags() & B_PULSE_NEEDED)
			child->Pulse();
		_PulseViews(child);
	}
}

BPoint BWindow::ConvertFromScreen(BPoint point) const
{
	QPointF local = kit::MapFromScreen(fBridge, QPointF(point.x, point.y));
	return BPoint(float(local.x()), float(local.y()));
}

BPoint BWindow::ConvertToScreen(BPoint point) const
{
	QPointF global = kit::MapToScreen(fBridge, QPointF(point.x, point.y));
	return BPoint(float(global.x()), float(global.y()));
}
