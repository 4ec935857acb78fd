#include "WindowBridge.h"

#include <QCloseEvent>
#include <QGuiApplication>

#include "ScrollBar.h"

namespace kit {

namespace {

// The resize grip's side, in pixels: it fills the square that a document window's scroll
// bars leave uncovered at its bottom right.
const int kGripSize = int(B_V_SCROLL_BAR_WIDTH) + 1;

} // namespace

WindowBridge::WindowBridge(BWindow* window) : QWidget(nullptr), fWindow(window), fGrip(nullptr)
{
	setAttribute(Qt::WA_DeleteOnClose, false);
	if (window->Type() == B_DOCUMENT_WINDOW && !(window->Flags() & B_NOT_RESIZABLE)) {
		fGrip = new QSizeGrip(this);
		fGrip->resize(kGripSize, kGripSize);
	}
	QObject::connect(&fPulse, &QTimer::timeout, this, [this] { fWindow->_PulseViews(nullptr); });
}

void WindowBridge::PlaceGrip()
{
	if (fGrip == nullptr)
		return;
	fGrip->move(width() - fGrip->width(), height() - fGrip->height());
	fGrip->raise();
}

void WindowBridge::closeEvent(QCloseEvent* event)
{
	// Closing a window is a request: the window's QuitRequested() decides, in its own turn.
	event->ignore();
	fWindow->PostMessage(B_QUIT_REQUESTED);
}

void WindowBridge::resizeEvent(QResizeEvent*)
{
	PlaceGrip();
	if (!fApplyingGeometry)
		fWindow->_ContentResized(width() - 1, height() - 1, true);
}

void WindowBridge::moveEvent(QMoveEvent*)
{
	// Without global positions, the place Qt reports is not the window's: the frame stays
	// as the program set it.
	if (fApplyingGeometry || !PlatformKnowsWindowPositions())
		return;
	QPoint position = geometry().topLeft();
	fWindow->fFrame.OffsetTo(position.x(), position.y());
}

void WindowBridge::changeEvent(QEvent* event)
{
	QWidget::changeEvent(event);
}

bool PlatformKnowsWindowPositions()
{
	return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// The kit window that shows the widget, and the widget's point in the window's content.
static const WindowBridge* window_of(const QWidget* widget, QPointF* point)
{
	auto* bridge = dynamic_cast<const WindowBridge*>(widget->window());
	if (bridge != nullptr && bridge != widget)
		*point = widget->mapTo(bridge, *point);
	return bridge;
}

QPointF MapToScreen(const QWidget* widget, const QPointF& local)
{
	QPointF point = local;
	const WindowBridge* bridge;
	if (PlatformKnowsWindowPositions() || (bridge = window_of(widget, &point)) == nullptr)
		return widget->mapToGlobal(local);
	const BRect frame = bridge->Window()->Frame();
	return point + QPointF(frame.left, frame.top);
}

QPointF MapFromScreen(const QWidget* widget, const QPointF& screen)
{
	QPointF origin;
	const WindowBridge* bridge;
	if (PlatformKnowsWindowPositions() || (bridge = window_of(widget, &origin)) == nullptr)
		return widget->mapFromGlobal(screen);
	const BRect frame = bridge->Window()->Frame();
	return screen - QPointF(frame.left, frame.top) - origin;
}

} // namespace kit
