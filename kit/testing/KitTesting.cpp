#include "KitTesting.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QWheelEvent>
#include <QWidget>

#include <cmath>
#include <cstring>
#include <optional>

#include "BackgroundTask.h"
#include "Bitmap.h"
#include "DrawingBridge.h"
#include "DrawingTarget.h"
#include "Looper.h"
#include "LooperRegistry.h"
#include "ModalDialogs.h"
#include "ReplyEndpoint.h"
#include "TestingHooks.h"
#include "ViewAccess.h"
#include "ViewBridge.h"
#include "Window.h"
#include "WindowBridge.h"

namespace kit::testing {

void SetDispatchObserver(DispatchObserver observer)
{
	hooks::DispatchObserver() = std::move(observer);
}

void SetAlertResponder(AlertResponder responder)
{
	hooks::AlertResponder() = std::move(responder);
}

// Whether a looper has a message waiting that it can dispatch now: one inside a handler of
// its own holds its queue until the handler returns.
static bool any_looper_pending()
{
	for (BLooper* looper : Loopers()) {
		if (looper->CountQueuedMessages() > 0 && !looper->IsDispatching())
			return true;
	}
	return false;
}

void RunLoopersUntilIdle()
{
	// Quiet means: two rounds in a row in which no looper had a message waiting. A bound
	// keeps a test that keeps itself busy from hanging.
	const int kQuietRoundsWanted = 2;
	const int kMaxRounds = 10000;
	int quietRounds = 0;
	for (int round = 0; round < kMaxRounds && quietRounds < kQuietRoundsWanted; round++) {
		QCoreApplication::sendPostedEvents();
		QCoreApplication::processEvents(QEventLoop::AllEvents);
		quietRounds = any_looper_pending() ? 0 : quietRounds + 1;
	}
}

void RunUntilIdle()
{
	RunLoopersUntilIdle();
	// Background work ends by waking the loop, which then sends what the work reports.
	while (BBackgroundTask::CountRunning() > 0) {
		QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
		RunLoopersUntilIdle();
	}
}

void RecordReplies(BMessage& message, ReplyRecorder recorder)
{
	ReplyEndpoint::Attach(message,
		std::make_shared<FunctionEndpoint>([recorder](const BMessage& reply, BHandler* replyTo) {
			recorder(reply, replyTo);
			return status_t(B_OK);
		}));
}

void UpdateView(BView* view)
{
	if (ViewBridge* bridge = ViewAccess::Bridge(view))
		bridge->Update();
}

void TurnWheel(BView* view, float notchesX, float notchesY, bool shift)
{
	ViewBridge* bridge = ViewAccess::Bridge(view);
	if (bridge == nullptr || bridge->Widget() == nullptr)
		return;
	QWidget* widget = bridge->Widget();
	const QPointF middle(widget->width() / 2.0, widget->height() / 2.0);
	// Qt's angles are eighths of a degree, 120 a notch, positive away from the user and to
	// the left.
	const QPoint angle(qRound(-notchesX * 120), qRound(-notchesY * 120));
	QWheelEvent event(middle, widget->mapToGlobal(middle), QPoint(), angle, Qt::NoButton,
		shift ? Qt::ShiftModifier : Qt::NoModifier, Qt::NoScrollPhase, false);
	QCoreApplication::sendEvent(widget, &event);
}

// The view's drawing bridge with its pending updates run, or null for a view without one.
static DrawingBridge* updated_drawing(BView* view)
{
	ViewBridge* bridge = ViewAccess::Bridge(view);
	DrawingBridge* drawing = bridge != nullptr ? bridge->AsDrawing() : nullptr;
	if (drawing != nullptr)
		drawing->Update();
	return drawing;
}

static BBitmap* bitmap_of(const QImage& image, const QRect& place)
{
	QImage rgb = image.convertToFormat(QImage::Format_RGB32);
	auto* bitmap = new BBitmap(BRect(place.left(), place.top(), place.left() + rgb.width() - 1,
								   place.top() + rgb.height() - 1),
		B_RGB32);
	for (int y = 0; y < rgb.height(); y++) {
		std::memcpy(static_cast<uint8*>(bitmap->Bits()) + y * bitmap->BytesPerRow(),
			rgb.constScanLine(y), size_t(rgb.width()) * sizeof(QRgb));
	}
	return bitmap;
}

BRect KeptArea(BView* view)
{
	DrawingBridge* drawing = updated_drawing(view);
	QRect kept = drawing != nullptr ? drawing->BufferRect() : QRect();
	if (kept.isEmpty())
		return BRect();
	return BRect(kept.left(), kept.top(), kept.right(), kept.bottom());
}

rgb_color ViewPixel(BView* view, int32 x, int32 y)
{
	DrawingBridge* drawing = updated_drawing(view);
	if (drawing == nullptr || drawing->Buffer()->isNull() || !drawing->BufferRect().contains(x, y))
		return rgb_color{0, 0, 0, 0};
	QPoint origin = drawing->BufferRect().topLeft();
	QRgb pixel = drawing->Buffer()->pixel(x - origin.x(), y - origin.y());
	return rgb_color{uint8(qRed(pixel)), uint8(qGreen(pixel)), uint8(qBlue(pixel)), 255};
}

BBitmap* SnapshotView(BView* view)
{
	DrawingBridge* drawing = updated_drawing(view);
	if (drawing == nullptr || drawing->Buffer()->isNull())
		return nullptr;
	return bitmap_of(*drawing->Buffer(), drawing->BufferRect());
}

BBitmap* RenderView(BView* view, BRect area)
{
	if (view == nullptr || !area.IsValid())
		return nullptr;
	const int left = int(std::floor(area.left)), top = int(std::floor(area.top));
	const int width = int(std::floor(area.right)) - left + 1;
	const int height = int(std::floor(area.bottom)) - top + 1;
	QImage scratch = MakeDrawingImage(width, height, QImage::Format_RGB32);
	if (scratch.isNull())
		return nullptr;
	rgb_color viewColor = view->ViewColor();
	scratch.fill(
		viewColor == B_TRANSPARENT_32_BIT ? QColor(Qt::black) : ToQColor(viewColor, false));
	DrawingTarget target(&scratch, QPointF(-left, -top), std::nullopt);
	ViewAccess::SetPrintTarget(view, &target);
	if (view->Flags() & B_WILL_DRAW)
		view->Draw(BRect(left, top, left + width - 1, top + height - 1));
	ViewAccess::SetPrintTarget(view, nullptr);
	return bitmap_of(scratch, QRect(left, top, width, height));
}

bool SaveViewImage(BView* view, const std::string& path)
{
	DrawingBridge* drawing = updated_drawing(view);
	return drawing != nullptr && drawing->Buffer()->save(QString::fromStdString(path), "PNG");
}

void CloseWindow(BWindow* window)
{
	if (QWidget* widget = WindowContentWidget(window))
		widget->close();
}

int CountModalDialogs()
{
	return kit::CountModalDialogs();
}

void PlatformWindowSize(BWindow* window, int32* width, int32* height)
{
	QWidget* widget = WindowContentWidget(window);
	if (width)
		*width = widget ? widget->width() : 0;
	if (height)
		*height = widget ? widget->height() : 0;
}

void PlatformApplicationNames(std::string* name, std::string* desktopFileName)
{
	if (name)
		*name = QCoreApplication::applicationName().toStdString();
	if (desktopFileName)
		*desktopFileName = QGuiApplication::desktopFileName().toStdString();
}

} // namespace kit::testing
