// The Qt side of a window: a top-level widget whose content area is the window's frame.
#pragma once

#include <QSizeGrip>
#include <QTimer>
#include <QWidget>

#include "Window.h"

namespace kit {

class WindowBridge : public QWidget {
public:
	explicit WindowBridge(BWindow* window);

	BWindow* Window() const { return fWindow; }
	void PlaceGrip();
	QTimer& PulseTimer() { return fPulse; }

	// Set while the kit itself moves or resizes the widget, so that the events this causes
	// are not taken for the user's doing.
	bool fApplyingGeometry = false;

protected:
	void closeEvent(QCloseEvent* event) override;
	void resizeEvent(QResizeEvent* event) override;
	void moveEvent(QMoveEvent* event) override;
	void changeEvent(QEvent* event) override;

private:
	BWindow* fWindow;
	QSizeGrip* fGrip;
	QTimer fPulse;
};

class WindowAccess {
public:
	static WindowBridge* Bridge(const BWindow* window) { return window->fBridge; }
};

inline QWidget* WindowContentWidget(BWindow* window)
{
	return WindowAccess::Bridge(window);
}

// Whether the platform tells where windows are on the screen. Wayland does not: there the
// compositor places windows, and Qt reports every window at (0, 0), whatever was asked.
bool PlatformKnowsWindowPositions();

// Screen coordinates of a point of a widget, and back. Where the platform knows where windows
// are, these are its own. Where it does not, the content of a kit window begins at the left
// top of the frame the program gave it, so that screen points, frames and views agree.
QPointF MapToScreen(const QWidget* widget, const QPointF& local);
QPointF MapFromScreen(const QWidget* widget, const QPointF& screen);

} // namespace kit
