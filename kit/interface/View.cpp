#include "View.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "Bitmap.h"
#include "DrawingTarget.h"
#include "DropDelivery.h"
#include "Message.h"
#include "ScrollBar.h"
#include "ViewAccess.h"
#include "ViewBridge.h"
#include "Window.h"
#include "WindowBridge.h"

namespace kit {

namespace {

// Screen-side widget of a drawing view: forwards painting and resizing to its bridge.
class DrawingWidget : public QWidget {
public:
	DrawingWidget(DrawingBridge* bridge, QWidget* parent) : QWidget(parent), fBridge(bridge)
	{
		setAttribute(Qt::WA_OpaquePaintEvent);
		setAttribute(Qt::WA_NoSystemBackground);
		setAcceptDrops(true);
	}

protected:
	void dragEnterEvent(QDragEnterEvent* event) override
	{
		if (CanAcceptDrop(event->mimeData()))
			event->acceptProposedAction();
	}
	void dragMoveEvent(QDragMoveEvent* event) override
	{
		if (CanAcceptDrop(event->mimeData()))
			event->acceptProposedAction();
	}
	void dropEvent(QDropEvent* event) override
	{
		DeliverDrop(fBridge->View(), event->mimeData(),
			mapToGlobal(event->position()));
		event->acceptProposedAction();
	}

	void paintEvent(QPaintEvent* event) override { fBridge->Paint(this, event->rect()); }
	void resizeEvent(QResizeEvent* event) override { fBridge->Resized(event->size()); }

private:
	DrawingBridge* fBridge;
};

QColor to_qcolor(rgb_color color, bool withAlpha)
{
	return QColor(color.red, color.green, color.blue, withAlpha ? color.alpha : 255);
}

} // namespace

ViewBridge::~ViewBridge()
{
	delete fWidget.data();
}

QImage MakeDrawingImage(int width, int height, QImage::Format format)
{
	QImage image(std::max(width, 1), std::max(height, 1), format);
	// 72 dots per inch: 72 / 0.0254 dots per metre.
	image.setDotsPerMeterX(2835);
	image.setDotsPerMeterY(2835);
	return image;
}

QWidget* DrawingBridge::CreateWidget(QWidget* parent)
{
	auto* widget = new DrawingWidget(this, parent);
	return widget;
}

void DrawingBridge::Resized(const QSize& size)
{
	if (fBuffer.size() == size)
		return;
	QImage resized = MakeDrawingImage(size.width(), size.height(), QImage::Format_RGB32);
	resized.fill(Qt::black);
	fBuffer = resized;
	fInvalid = QRegion(fBuffer.rect());
}

void DrawingBridge::Invalidate(const QRect& bufferRect)
{
	fInvalid += bufferRect.intersected(fBuffer.rect());
	if (fWidget)
		fWidget->update(bufferRect);
}

void DrawingBridge::BufferChanged()
{
	if (fWidget)
		fWidget->update();
}

void DrawingBridge::Update()
{
	if (fUpdating || fInvalid.isEmpty() || fBuffer.isNull())
		return;
	fUpdating = true;
	QRect area = fInvalid.boundingRect();
	fInvalid = QRegion();
	rgb_color viewColor = fView->ViewColor();
	if (viewColor != B_TRANSPARENT_32_BIT) {
		QPainter painter(&fBuffer);
		painter.fillRect(area, to_qcolor(viewColor, false));
	}
	BPoint offset = ScrollOffset(fView);
	BRect update(area.left() + offset.x, area.top() + offset.y, area.right() + offset.x,
		area.bottom() + offset.y);
	if (fView->Flags() & B_WILL_DRAW)
		fView->Draw(update);
	fUpdating = false;
}

void DrawingBridge::Paint(QWidget* widget, const QRect& rect)
{
	if (fBuffer.size() != widget->size())
		Resized(widget->size());
	Update();
	QPainter painter(widget);
	painter.drawImage(rect, fBuffer, rect);
}

} // namespace kit

// Runs fn with the view's current drawing target; does nothing for a view that has no
// place to draw (not attached, or a control).
template <typename Function>
static void with_target(BView* view, kit::DrawingTarget* printTarget,
	kit::ViewBridge* bridge, Function fn)
{
	if (printTarget != nullptr) {
		fn(*printTarget);
		return;
	}
	if (bridge == nullptr || bridge->Buffer() == nullptr || bridge->Buffer()->isNull())
		return;
	QImage* buffer = bridge->Buffer();
	QPainter painter(buffer);
	BPoint offset = kit::ViewBridge::ScrollOffset(view);
	painter.translate(-offset.x, -offset.y);
	kit::DrawingTarget target(&painter, buffer, QPointF(-offset.x, -offset.y), false);
	fn(target);
	painter.end();
	bridge->BufferChanged();
}

BView::BView(BRect frame, const char* name, uint32 resizingMode, uint32 flags)
	: BHandler(name), fFrame(frame), fResizingMode(resizingMode), fFlags(flags),
	  fParent(nullptr), fWindow(nullptr), fHidden(false), fHighColor{0, 0, 0, 255},
	  fLowColor{255, 255, 255, 255}, fViewColor{255, 255, 255, 255}, fDrawingMode(B_OP_COPY),
	  fBridge(nullptr), fPrintTarget(nullptr)
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
	BHandler::MessageReceived(message);
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
		? fParent->fBridge->Widget() : kit::WindowContentWidget(window);
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
	if (fResizingMode & 0x1)
		frame.left += dx;
	if (fResizingMode & 0x2)
		frame.right += dx;
	if (fResizingMode & 0x4)
		frame.top += dy;
	if (fResizingMode & 0x8)
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
	fScrollBars.erase(std::remove(fScrollBars.begin(), fScrollBars.end(), bar),
		fScrollBars.end());
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
	QPointF local = fBridge->Widget()->mapFromGlobal(QPointF(point.x, point.y));
	return BPoint(float(local.x()) + fScrollOffset.x, float(local.y()) + fScrollOffset.y);
}

BPoint BView::ConvertToScreen(BPoint point) const
{
	if (fBridge == nullptr || fBridge->Widget() == nullptr)
		return point;
	QPointF global = fBridge->Widget()->mapToGlobal(
		QPointF(point.x - fScrollOffset.x, point.y - fScrollOffset.y));
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

// The coverage of a text's glyphs, rendered once and kept: the calendar draws the same few
// numbers hundreds of times, and large glyphs are costly to rasterize.
struct GlyphMask {
	QImage coverage; // alpha = coverage
	QPoint origin;   // the mask's top-left, relative to the whole-pixel baseline point
};

// Positions are kept to an eighth of a pixel: closer than the eye can tell.
static const int kSubpixelSteps = 8;
static const size_t kMaskCacheLimit = 1024;

static const GlyphMask& glyph_mask(const QFont& font, const QString& text, int stepX,
	int stepY)
{
	static std::unordered_map<QString, GlyphMask> cache;
	QString key = font.key() + QChar(0x1f) + text + QChar(0x1f) + QString::number(stepX)
		+ QChar(0x1f) + QString::number(stepY);
	auto found = cache.find(key);
	if (found != cache.end())
		return found->second;
	if (cache.size() >= kMaskCacheLimit)
		cache.clear();

	QImage reference = kit::MakeDrawingImage(1, 1, QImage::Format_ARGB32_Premultiplied);
	QFontMetricsF metrics(font, &reference);
	QRectF box = metrics.boundingRect(text);
	QPointF fraction(double(stepX) / kSubpixelSteps, double(stepY) / kSubpixelSteps);
	QPoint origin(int(std::floor(box.left())) - 2, int(std::floor(box.top())) - 2);
	int width = int(std::ceil(box.right())) - origin.x() + 4;
	int height = int(std::ceil(box.bottom())) - origin.y() + 4;

	GlyphMask mask;
	mask.origin = origin;
	mask.coverage = kit::MakeDrawingImage(width, height, QImage::Format_ARGB32_Premultiplied);
	mask.coverage.fill(Qt::transparent);
	QPainter painter(&mask.coverage);
	painter.setFont(font);
	painter.setPen(Qt::white);
	painter.drawText(fraction - QPointF(origin), text);
	painter.end();
	return cache.emplace(key, std::move(mask)).first->second;
}

// Text in B_OP_COPY: the glyphs' coverage blends the high colour over the low colour,
// and pixels the glyphs do not touch keep what they had.
static void draw_copy_text(kit::DrawingTarget& target, const QFont& font, const QString& text,
	QPointF baseline, rgb_color high, rgb_color low)
{
	QImage* image = target.RasterImage();
	QPointF device = baseline + target.RasterOffset();
	double wholeX = std::floor(device.x());
	double wholeY = std::floor(device.y());
	int stepX = int(std::lround((device.x() - wholeX) * kSubpixelSteps));
	int stepY = int(std::lround((device.y() - wholeY) * kSubpixelSteps));
	const GlyphMask& mask = glyph_mask(font, text, stepX, stepY);

	QRect area(QPoint(int(wholeX) + mask.origin.x(), int(wholeY) + mask.origin.y()),
		mask.coverage.size());
	QRect visible = area.intersected(image->rect());
	for (int y = visible.top(); y <= visible.bottom(); y++) {
		const QRgb* coverage = reinterpret_cast<const QRgb*>(
			mask.coverage.constScanLine(y - area.top())) - area.left();
		QRgb* out = reinterpret_cast<QRgb*>(image->scanLine(y));
		for (int x = visible.left(); x <= visible.right(); x++) {
			int a = qAlpha(coverage[x]);
			if (a == 0)
				continue;
			auto mix = [a](int from, int to) { return from + ((to - from) * a + 127) / 255; };
			out[x] = qRgb(mix(low.red, high.red), mix(low.green, high.green),
				mix(low.blue, high.blue));
		}
	}
}

void BView::DrawString(const char* text, BPoint baseline)
{
	if (text == nullptr)
		return;
	QString string = QString::fromUtf8(text);
	with_target(this, fPrintTarget, fBridge, [&](kit::DrawingTarget& target) {
		QPainter* painter = target.Painter();
		QFont font = kit::ToQFont(fFont, painter->device());
		if (fDrawingMode == B_OP_COPY && target.RasterImage() != nullptr) {
			draw_copy_text(target, font, string, QPointF(baseline.x, baseline.y), fHighColor,
				fLowColor);
		} else {
			painter->setFont(font);
			painter->setPen(kit::to_qcolor(fHighColor, fDrawingMode == B_OP_ALPHA));
			painter->drawText(QPointF(baseline.x, baseline.y), string);
		}
	});
	fPenLocation = BPoint(baseline.x + StringWidth(text), baseline.y);
}

void BView::DrawString(const char* text)
{
	DrawString(text, fPenLocation);
}

static QRectF inclusive_rect(BRect rect)
{
	return QRectF(rect.left, rect.top, rect.Width() + 1, rect.Height() + 1);
}

static rgb_color pattern_color(const pattern& fill, rgb_color high, rgb_color low)
{
	// Only the two solid patterns are used; anything else counts as the high colour.
	return fill.data[0] == 0 && fill.data[7] == 0 ? low : high;
}

void BView::FillRect(BRect rect, const pattern& fill)
{
	if (!rect.IsValid())
		return;
	rgb_color color = pattern_color(fill, fHighColor, fLowColor);
	with_target(this, fPrintTarget, fBridge, [&](kit::DrawingTarget& target) {
		QPainter* painter = target.Painter();
		if (fDrawingMode == B_OP_ALPHA) {
			painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
			painter->fillRect(inclusive_rect(rect), kit::to_qcolor(color, true));
		} else {
			painter->setCompositionMode(QPainter::CompositionMode_Source);
			painter->fillRect(inclusive_rect(rect), kit::to_qcolor(color, false));
		}
	});
}

void BView::StrokeRect(BRect rect, const pattern& fill)
{
	StrokeLine(rect.LeftTop(), BPoint(rect.right, rect.top), fill);
	StrokeLine(BPoint(rect.right, rect.top), rect.RightBottom(), fill);
	StrokeLine(rect.RightBottom(), BPoint(rect.left, rect.bottom), fill);
	StrokeLine(BPoint(rect.left, rect.bottom), rect.LeftTop(), fill);
}

void BView::StrokeLine(BPoint start, BPoint end, const pattern& fill)
{
	rgb_color color = pattern_color(fill, fHighColor, fLowColor);
	with_target(this, fPrintTarget, fBridge, [&](kit::DrawingTarget& target) {
		QPainter* painter = target.Painter();
		painter->setPen(QPen(kit::to_qcolor(color, fDrawingMode == B_OP_ALPHA), 1));
		painter->drawLine(QPointF(start.x + 0.5, start.y + 0.5),
			QPointF(end.x + 0.5, end.y + 0.5));
	});
	fPenLocation = end;
}

void BView::DrawBitmap(const BBitmap* bitmap, BRect source, BRect destination)
{
	if (bitmap == nullptr || bitmap->Bits() == nullptr || !source.IsValid()
		|| !destination.IsValid())
		return;
	QImage::Format format;
	switch (bitmap->ColorSpace()) {
		case B_RGB32:
			format = QImage::Format_RGB32;
			break;
		case B_RGBA32:
			format = QImage::Format_ARGB32;
			break;
		default:
			return;
	}
	BRect bounds = bitmap->Bounds();
	QImage image(static_cast<const uchar*>(bitmap->Bits()), bitmap->PixelWidth(),
		bitmap->PixelHeight(), bitmap->BytesPerRow(), format);

	// Clip the source to the bitmap, moving the destination with it in proportion.
	BRect clipped = source & bounds;
	if (!clipped.IsValid())
		return;
	float scaleX = (destination.Width() + 1) / (source.Width() + 1);
	float scaleY = (destination.Height() + 1) / (source.Height() + 1);
	QRectF target(destination.left + (clipped.left - source.left) * scaleX,
		destination.top + (clipped.top - source.top) * scaleY, (clipped.Width() + 1) * scaleX,
		(clipped.Height() + 1) * scaleY);
	QRectF from(clipped.left - bounds.left, clipped.top - bounds.top, clipped.Width() + 1,
		clipped.Height() + 1);

	with_target(this, fPrintTarget, fBridge, [&](kit::DrawingTarget& drawing) {
		QPainter* painter = drawing.Painter();
		painter->setCompositionMode(fDrawingMode == B_OP_COPY && format == QImage::Format_RGB32
			? QPainter::CompositionMode_Source : QPainter::CompositionMode_SourceOver);
		painter->drawImage(target, image, from);
	});
}

void BView::DrawBitmap(const BBitmap* bitmap, BPoint where)
{
	if (bitmap == nullptr)
		return;
	BRect bounds = bitmap->Bounds();
	DrawBitmap(bitmap, bounds, bounds.OffsetToCopy(where.x, where.y));
}

void BView::DrawBitmap(const BBitmap* bitmap)
{
	DrawBitmap(bitmap, fPenLocation);
}
