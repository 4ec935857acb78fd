#include "WindowBridge.h"

#include <QCloseEvent>

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
	if (fApplyingGeometry)
		return;
	QPoint position = geometry().topLeft();
	fWindow->fFrame.OffsetTo(position.x(), position.y());
}

void WindowBridge::changeEvent(QEvent* event)
{
	QWidget::changeEvent(event);
}

} // namespace kit
