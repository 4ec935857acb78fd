// A window: a looper with a tree of views. Its frame is the content area in screen
// coordinates, without decoration; ResizeTo(w, h) gives a content of (w + 1) x (h + 1)
// pixels, within the size limits, whatever room the screen has (the views keep pixels only
// for what can be shown). Children are placed at the frames they are given, with no layout
// manager.
#pragma once

#include <string>
#include <vector>

#include "InterfaceDefs.h"
#include "Looper.h"

class BMenuBar;
class BView;

namespace kit {
class WindowBridge;
class WindowAccess;
} // namespace kit

class BWindow : public BLooper {
public:
	BWindow(BRect frame, const char* title, window_type type, uint32 flags,
		uint32 workspace = B_CURRENT_WORKSPACE);
	~BWindow() override;

	void DispatchMessage(BMessage* message, BHandler* handler) override;
	void MessageReceived(BMessage* message) override;
	bool QuitRequested() override;
	void Quit() override;
	virtual void FrameResized(float newWidth, float newHeight);

	void AddChild(BView* child, BView* before = nullptr);
	bool RemoveChild(BView* child);
	int32 CountChildren() const;
	BView* ChildAt(int32 index) const;
	BView* FindView(const char* name) const;
	BView* CurrentFocus() const;
	BMenuBar* KeyMenuBar() const;

	BRect Frame() const { return fFrame; }
	BRect Bounds() const { return BRect(0, 0, fFrame.Width(), fFrame.Height()); }
	void MoveTo(float x, float y);
	void ResizeTo(float width, float height);
	void ResizeBy(float dx, float dy) { ResizeTo(fFrame.Width() + dx, fFrame.Height() + dy); }

	void SetSizeLimits(float minWidth, float maxWidth, float minHeight, float maxHeight);
	void GetSizeLimits(float* minWidth, float* maxWidth, float* minHeight, float* maxHeight) const;
	void SetZoomLimits(float maxWidth, float maxHeight);
	void GetZoomLimits(float* maxWidth, float* maxHeight) const;
	// Resizes the window to its zoom limits (within its size limits).
	virtual void Zoom();

	void SetTitle(const char* title);
	const char* Title() const { return fTitle.c_str(); }
	window_type Type() const { return fType; }
	uint32 Flags() const { return fFlags; }

	void Show();
	void Hide();
	bool IsHidden() const;
	void Activate(bool active = true);

	void SetPulseRate(bigtime_t rate);
	bigtime_t PulseRate() const { return fPulseRate; }

	BPoint ConvertFromScreen(BPoint point) const;
	BPoint ConvertToScreen(BPoint point) const;

private:
	friend class kit::WindowBridge;
	friend class kit::WindowAccess;
	friend class BView;

	void _ContentResized(float width, float height, bool fromPlatform);
	// Calls FrameResized() with the size a B_WINDOW_RESIZED message carries.
	void _FrameResized(const BMessage* message);
	void _ApplyLimits();
	void _PulseViews(BView* view);

	BRect fFrame;
	std::string fTitle;
	window_type fType;
	uint32 fFlags;
	float fMinWidth, fMaxWidth, fMinHeight, fMaxHeight;
	float fZoomWidth, fZoomHeight;
	bigtime_t fPulseRate;
	std::vector<BView*> fChildren;
	kit::WindowBridge* fBridge;
	BView* fFocus;
};
