// A view: a rectangle of a window that draws itself and handles messages. A view keeps
// its drawing state (colours, drawing mode, font, pen) from one call to the next; nothing
// resets it per update. It has a retained pixel buffer for the part of it that can be
// shown (inside its window and on the screen); drawing elsewhere is clipped away, and what
// comes into sight later is drawn then. Updates from the platform fill the update area with
// the view colour (unless it is B_TRANSPARENT_32_BIT) and call Draw(), clipped to that
// area; direct calls of Draw() by the program draw into the same buffer, which is then put
// on screen.
#pragma once

#include <memory>
#include <vector>

#include "Font.h"
#include "Handler.h"
#include "InterfaceDefs.h"

class BBitmap;
class BScrollBar;
class BWindow;

namespace kit {
class ViewBridge;
class DrawingTarget;
class ViewAccess;
} // namespace kit

class BView : public BHandler {
public:
	BView(BRect frame, const char* name, uint32 resizingMode, uint32 flags);
	~BView() override;

	// Hooks.
	virtual void AttachedToWindow();
	virtual void AllAttached();
	virtual void DetachedFromWindow();
	virtual void Draw(BRect updateRect);
	virtual void FrameResized(float newWidth, float newHeight);
	virtual void Pulse();
	virtual void MakeFocus(bool focused = true);
	void MessageReceived(BMessage* message) override;

	// The view tree. A child added to an attached view is attached at once.
	void AddChild(BView* child, BView* before = nullptr);
	bool RemoveChild(BView* child);
	int32 CountChildren() const { return int32(fChildren.size()); }
	BView* ChildAt(int32 index) const;
	BView* FindView(const char* name) const;
	BView* Parent() const { return fParent; }
	BWindow* Window() const { return fWindow; }
	bool IsFocus() const;

	// Geometry: Frame() in the parent's coordinates, Bounds() in the view's own, whose
	// left-top is the scrolling offset.
	BRect Frame() const { return fFrame; }
	BRect Bounds() const;
	void MoveTo(float x, float y);
	void MoveTo(BPoint where) { MoveTo(where.x, where.y); }
	void ResizeTo(float width, float height);
	void ResizeBy(float dx, float dy) { ResizeTo(fFrame.Width() + dx, fFrame.Height() + dy); }
	void ScrollTo(BPoint where);
	void ScrollTo(float x, float y) { ScrollTo(BPoint(x, y)); }
	void ScrollBy(float dx, float dy);
	BScrollBar* ScrollBar(orientation direction) const;

	uint32 ResizingMode() const { return fResizingMode; }
	void SetResizingMode(uint32 mode) { fResizingMode = mode; }
	uint32 Flags() const { return fFlags; }
	void SetFlags(uint32 flags) { fFlags = flags; }

	void Hide();
	void Show();
	bool IsHidden() const;

	BPoint ConvertFromScreen(BPoint point) const;
	BPoint ConvertToScreen(BPoint point) const;
	BRect ConvertFromScreen(BRect rect) const;
	BRect ConvertToScreen(BRect rect) const;

	// Drawing state.
	void SetHighColor(rgb_color color) { fHighColor = color; }
	void SetHighColor(uint8 r, uint8 g, uint8 b, uint8 a = 255) { fHighColor = {r, g, b, a}; }
	rgb_color HighColor() const { return fHighColor; }
	void SetLowColor(rgb_color color) { fLowColor = color; }
	void SetLowColor(uint8 r, uint8 g, uint8 b, uint8 a = 255) { fLowColor = {r, g, b, a}; }
	rgb_color LowColor() const { return fLowColor; }
	virtual void SetViewColor(rgb_color color);
	void SetViewColor(uint8 r, uint8 g, uint8 b, uint8 a = 255)
	{
		SetViewColor(rgb_color{r, g, b, a});
	}
	rgb_color ViewColor() const { return fViewColor; }
	void SetDrawingMode(drawing_mode mode) { fDrawingMode = mode; }
	drawing_mode DrawingMode() const { return fDrawingMode; }
	virtual void SetFont(const BFont* font, uint32 mask = B_FONT_ALL);
	void GetFont(BFont* font) const { *font = fFont; }
	void SetFontSize(float size) { fFont.SetSize(size); }
	void MovePenTo(BPoint point) { fPenLocation = point; }
	// The width of the lines that StrokeLine, StrokeRect and StrokeEllipse draw (1).
	void SetPenSize(float size) { fPenSize = size > 0 ? size : 1; }
	float PenSize() const { return fPenSize; }
	BPoint PenLocation() const { return fPenLocation; }

	float StringWidth(const char* text) const { return fFont.StringWidth(text); }
	void GetFontHeight(font_height* height) const { fFont.GetHeight(height); }

	// Drawing, in the view's coordinates. Text is drawn with its baseline starting at the
	// point; in B_OP_COPY its glyph edges blend between the high and the low colour.
	void DrawString(const char* text, BPoint baseline);
	void DrawString(const char* text);
	// The text as DrawString draws it, in the high colour, inside an outline of its glyphs
	// stroked width pixels wide (half of it outside them) in the low colour: a halo that
	// keeps text legible over any ground. In B_OP_COPY the glyphs' edges blend into it, and
	// the baseline is taken to the nearest whole pixel.
	void DrawStringInOutline(const char* text, BPoint baseline, float width);
	void FillRect(BRect rect, const pattern& fill = B_SOLID_HIGH);
	void StrokeRect(BRect rect, const pattern& fill = B_SOLID_HIGH);
	void StrokeLine(BPoint start, BPoint end, const pattern& fill = B_SOLID_HIGH);
	// The ellipse inscribed in rect, its outline centred on the rectangle's edge.
	void StrokeEllipse(BRect rect, const pattern& fill = B_SOLID_HIGH);
	// Draws the part source of the bitmap into destination (scaled if their sizes differ).
	void DrawBitmap(const BBitmap* bitmap, BRect source, BRect destination);
	void DrawBitmap(const BBitmap* bitmap, BPoint where);
	void DrawBitmap(const BBitmap* bitmap);

	void Invalidate();
	void Invalidate(BRect rect);
	void Sync() const {}
	void Flush() const {}

	// True while a print job runs this view's Draw() for a page.
	bool IsPrinting() const;

protected:
	// Controls supply their own native bridge; plain views get a drawing one.
	virtual kit::ViewBridge* _CreateBridge();
	kit::ViewBridge* _Bridge() const { return fBridge; }

private:
	friend class BWindow;
	friend class kit::ViewBridge;
	friend class kit::DrawingTarget;
	friend class kit::ViewAccess;
	friend class BScrollBar;
	friend class BPrintJob;

	void _Attach(BWindow* window);
	void _Detach();
	void _ParentResized(float dx, float dy);
	void _SetFrame(BRect frame);
	void _AddScrollBar(BScrollBar* bar);
	void _RemoveScrollBar(BScrollBar* bar);
	void _MouseWheelChanged(BMessage* message);

	BRect fFrame;
	uint32 fResizingMode;
	uint32 fFlags;
	BView* fParent;
	BWindow* fWindow;
	std::vector<BView*> fChildren;
	std::vector<BScrollBar*> fScrollBars;
	BPoint fScrollOffset;
	bool fHidden;

	rgb_color fHighColor;
	rgb_color fLowColor;
	rgb_color fViewColor;
	drawing_mode fDrawingMode;
	float fPenSize = 1;
	BFont fFont;
	BPoint fPenLocation;

	kit::ViewBridge* fBridge;
	// Set while the view draws somewhere other than its buffer: a print job's page, or a
	// scratch image.
	kit::DrawingTarget* fPrintTarget;
};
