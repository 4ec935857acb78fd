#include "View.h"

#include <algorithm>
#include <cmath>

#include "AppDefs.h"
#include "DrawingBridge.h"
#include "Message.h"
#include "ScrollBar.h"
#include "ViewAccess.h"
#include "Window.h"
#include "WindowBridge.h"

namespace {

// The edges of a view that move with its parent's right side or bottom, one bit each: the
// resizing modes of InterfaceDefs.h are made of them.
const uint32 kRightEdgeFollows = B_FOLLOW_LEFT_RIGHT;
const uint32 kLeftEdgeFollows = B_FOLLOW_RIGHT & ~B_FOLLOW_LEFT_RIGHT;
const uint32 kBottomEdgeFollows = B_FOLLOW_TOP_BOTTOM;
const uint32 kTopEdgeFollows = B_FOLLOW_BOTTOM & ~B_FOLLOW_TOP_BOTTOM;

// A new view draws black on white.
const rgb_color kDefaultHighColor = {0, 0, 0, 255};
const rgb_color kDefaultLowColor = {255, 255, 255, 255};
const rgb_color kDefaultViewColor = kDefaultLowColor;

} // namespace

BView::BView(BRect frame, const char* name, uint32 resizingMode, uint32 flags)
	: BHandler(name), fFrame(frame), fResizingMode(resizingMode), fFlags(flags), fParent(nullptr),
	  fWindow(nullptr), fHidden(false), fHighColor(kDefaultHighColor), fLowColor(kDefaultLowColor),
	  fViewColor(kDefaultViewColor), fDrawingMode(B_OP_COPY), fBridge(nullptr),
	  fPrintTarget(nullptr)
{
}

BView::~BView()
{
	for (BScrollBar* bar : fScrollBars)
		bar->fTarget = nullptr;
	if (fParent != nullptr)
		fParent->RemoveChild(this);
	else if (fWindow != nullptr)
		fWindow->RemoveChild(this);
	std::vector<BView*> children = fChildren;
	for (BView* child : children)
		delete child;
	delete fBridge;
}

void BView::AttachedToWindow()
{
}

void BView::AllAttached()
{
}

void BView::DetachedFromWindow()
{
}

void BView::Draw(BRect)
{
}

void BView::FrameResized(float, float)
{
}

void BView::Pulse()
{
}

void BView::MakeFocus(bool focused)
{
	if (fWindow == nullptr)
		return;
	if (focused) {
		fWindow->fFocus = this;
		if (fBridge && fBridge->Widget())
			fBridge->Widget()->setFocus(Qt::OtherFocusReason);
	} else if (fWindow->fFocus == this) {
		fWindow->fFocus = nullptr;
	}
}

bool BView::IsFocus() const
{
	return fWindow != nullptr && fWindow->fFocus == this;
}

void BView::MessageReceived(BMessage* message)
{
	switch (message->what) {
		case B_MOUSE_WHEEL_CHANGED:
			_MouseWheelChanged(message);
			break;
		default:
			BHandler::MessageReceived(message);
			break;
	}
}

// A wheel turned over the view scrolls it through its bars, as the bars' own wheel does: the
// vertical wheel moves the vertical bar, the horizontal wheel (or the vertical one with
// Shift held) the horizontal bar. A view without bars ignores the wheel.
void BView::_MouseWheelChanged(BMessage* message)
{
	float dx = 0;
	float dy = 0;
	int32 modifiers = 0;
	message->FindFloat("be:wheel_delta_x", &dx);
	message->FindFloat("be:wheel_delta_y", &dy);
	message->FindInt32("modifiers", &modifiers);
	if (modifiers & B_SHIFT_KEY) {
		dx += dy;
		dy = 0;
	}
	if (BScrollBar* bar = ScrollBar(B_HORIZONTAL); bar != nullptr && dx != 0)
		bar->_ScrollByWheel(dx);
	if (BScrollBar* bar = ScrollBar(B_VERTICAL); bar != nullptr && dy != 0)
		bar->_ScrollByWheel(dy);
}

kit::ViewBridge* BView::_CreateBridge()
{
	return new kit::DrawingBridge(this);
}

void BView::AddChild(BView* child, BView* before)
{
	if (child == nullptr || child->fParent != nullptr || child->fWindow != nullptr)
		return;
	auto position = std::find(fChildren.begin(), fChildren.end(), before);
	fChildren.insert(position, child);
	child->fParent = this;
	if (fWindow != nullptr)
		child->_Attach(fWindow);
}

bool BView::RemoveChild(BView* child)
{
	auto found = std::find(fChildren.begin(), fChildren.end(), child);
	if (found == fChildren.end())
		return false;
	fChildren.erase(found);
	child->_Detach();
	child->fParent = nullptr;
	return true;
}

BView* kit::ViewAt(const std::vector<BView*>& views, int32 index)
{
	if (index < 0 || size_t(index) >= views.size())
		return nullptr;
	return views[index];
}

BView* kit::FindViewIn(const std::vector<BView*>& views, const char* name)
{
	if (name == nullptr)
		return nullptr;
	for (BView* view : views) {
		if (std::string(view->Name()) == name)
			return view;
		if (BView* found = view->FindView(name))
			return found;
	}
	return nullptr;
}

BView* BView::ChildAt(int32 index) const
{
	return kit::ViewAt(fChildren, index);
}

BView* BView::FindView(const char* name) const
{
	return kit::FindViewIn(fChildren, name);
}

void BView::_Attach(BWindow* window)
{
	fWindow = window;
	window->AddHandler(this);
	if (fBridge == nullptr)
		fBridge = _CreateBridge();
	QWidget* parentWidget = fParent != nullptr && fParent->fBridge != nullptr
		? fParent->fBridge->Widget()
		: kit::WindowContentWidget(window);
	QWidget* widget = fBridge->CreateWidget(parentWidget);
	fBridge->SetWidget(widget);
	_SetFrame(fFrame);
	fBridge->Attached();
	if (!fHidden)
		widget->show();
	AttachedToWindow();
	for (BView* child : std::vector<BView*>(fChildren))
		child->_Attach(window);
	AllAttached();
}

void BView::_Detach()
{
	if (fWindow == nullptr)
		return;
	DetachedFromWindow();
	for (BView* child : fChildren)
		child->_Detach();
	if (fWindow->fFocus == this)
		fWindow->fFocus = nullptr;
	fWindow->RemoveHandler(this);
	fWindow = nullptr;
	delete fBridge;
	fBridge = nullptr;
}

BRect BView::Bounds() const
{
	return BRect(fScrollOffset.x, fScrollOffset.y, fScrollOffset.x + fFrame.Width(),
		fScrollOffset.y + fFrame.Height());
}

void BView::_SetFrame(BRect frame)
{
	fFrame = frame;
	if (fBridge == nullptr || fBridge->Widget() == nullptr)
		return;
	BPoint parentOffset = fParent != nullptr ? fParent->fScrollOffset : BPoint();
	int left = int(std::floor(frame.left - parentOffset.x));
	int top = int(std::floor(frame.top - parentOffset.y));
	int width = std::max(0, int(std::floor(frame.right)) - int(std::floor(frame.left)) + 1);
	int height = std::max(0, int(std::floor(frame.bottom)) - int(std::floor(frame.top)) + 1);
	fBridge->Widget()->setGeometry(left, top, width, height);
}

void BView::MoveTo(float x, float y)
{
	_SetFrame(fFrame.OffsetToCopy(x, y));
}

void BView::ResizeTo(float width, float height)
{
	float dx = width - fFrame.Width();
	float dy = height - fFrame.Height();
	if (dx == 0 && dy == 0)
		return;
	BRect frame = fFrame;
	frame.right = frame.left + width;
	frame.bottom = frame.top + height;
	_SetFrame(frame);
	for (BView* child : fChildren)
		child->_ParentResized(dx, dy);
	if (fFlags & B_FRAME_EVENTS)
		FrameResized(width, height);
}

void BView::_ParentResized(float dx, float dy)
{
	BRect frame = fFrame;
	if (fResizingMode & kLeftEdgeFollows)
		frame.left += dx;
	if (fResizingMode & kRightEdgeFollows)
		frame.right += dx;
	if (fResizingMode & kTopEdgeFollows)
		frame.top += dy;
	if (fResizingMode & kBottomEdgeFollows)
		frame.bottom += dy;
	if (frame == fFrame)
		return;
	float childDx = frame.Width() - fFrame.Width();
	float childDy = frame.Height() - fFrame.Height();
	_SetFrame(frame);
	if (childDx != 0 || childDy != 0) {
		for (BView* child : fChildren)
			child->_ParentResized(childDx, childDy);
		if (fFlags & B_FRAME_EVENTS)
			FrameResized(frame.Width(), frame.Height());
	}
}

void BView::ScrollTo(BPoint where)
{
	if (where == fScrollOffset)
		return;
	fScrollOffset = where;
	for (BScrollBar* bar : fScrollBars)
		bar->_TargetScrolled(bar->Orientation() == B_HORIZONTAL ? where.x : where.y);
	for (BView* child : fChildren)
		child->_SetFrame(child->fFrame);
	Invalidate();
}

void BView::ScrollBy(float dx, float dy)
{
	ScrollTo(BPoint(fScrollOffset.x + dx, fScrollOffset.y + dy));
}

BScrollBar* BView::ScrollBar(orientation direction) const
{
	for (BScrollBar* bar : fScrollBars) {
		if (bar->Orientation() == direction)
			return bar;
	}
	return nullptr;
}

void BView::_AddScrollBar(BScrollBar* bar)
{
	fScrollBars.push_back(bar);
}

void BView::_RemoveScrollBar(BScrollBar* bar)
{
	fScrollBars.erase(std::remove(fScrollBars.begin(), fScrollBars.end(), bar), fScrollBars.end());
}

void BView::Hide()
{
	fHidden = true;
	if (fBridge && fBridge->Widget())
		fBridge->Widget()->hide();
}

void BView::Show()
{
	bool wasHidden = fHidden;
	fHidden = false;
	if (fBridge && fBridge->Widget()) {
		fBridge->Widget()->show();
		// The platform redraws a view that comes back into sight.
		if (wasHidden)
			Invalidate();
	}
}

bool BView::IsHidden() const
{
	return fHidden || (fParent != nullptr && fParent->IsHidden());
}

BPoint BView::ConvertFromScreen(BPoint point) const
{
	if (fBridge == nullptr || fBridge->Widget() == nullptr)
		return point;
	QPointF local = kit::MapFromScreen(fBridge->Widget(), QPointF(point.x, point.y));
	return BPoint(float(local.x()) + fScrollOffset.x, float(local.y()) + fScrollOffset.y);
}

BPoint BView::ConvertToScreen(BPoint point) const
{
	if (fBridge == nullptr || fBridge->Widget() == nullptr)
		return point;
	QPointF global = kit::MapToScreen(
		fBridge->Widget(), QPointF(point.x - fScrollOffset.x, point.y - fScrollOffset.y));
	return BPoint(float(global.x()), float(global.y()));
}

BRect BView::ConvertFromScreen(BRect rect) const
{
	return BRect(ConvertFromScreen(rect.LeftTop()), ConvertFromScreen(rect.RightBottom()));
}

BRect BView::ConvertToScreen(BRect rect) const
{
	return BRect(ConvertToScreen(rect.LeftTop()), ConvertToScreen(rect.RightBottom()));
}

void BView::SetViewColor(rgb_color color)
{
	fViewColor = color;
	if (fBridge)
		fBridge->ViewColorChanged();
}

void BView::SetFont(const BFont* font, uint32 mask)
{
	if (font == nullptr)
		return;
	BFont updated = fFont;
	if (mask & B_FONT_FAMILY_AND_STYLE) {
		// The names are copied as they stand: a font's names were checked when they were set.
		updated = *font;
		updated.SetSize(fFont.Size());
		updated.SetFace(fFont.Face());
	}
	if (mask & B_FONT_SIZE)
		updated.SetSize(font->Size());
	if (mask & B_FONT_FACE)
		updated.SetFace(font->Face());
	fFont = updated;
}

bool BView::IsPrinting() const
{
	return fPrintTarget != nullptr;
}

void BView::Invalidate()
{
	Invalidate(Bounds());
}

void BView::Invalidate(BRect rect)
{
	if (fBridge == nullptr || fBridge->Buffer() == nullptr)
		return;
	QRect area(int(std::floor(rect.left - fScrollOffset.x)),
		int(std::floor(rect.top - fScrollOffset.y)),
		int(std::floor(rect.right)) - int(std::floor(rect.left)) + 1,
		int(std::floor(rect.bottom)) - int(std::floor(rect.top)) + 1);
	fBridge->Invalidate(area);
}
