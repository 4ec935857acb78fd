// A scroll bar scrolls its target view. Any proportion is accepted (an image smaller than
// its view gives more than 1, an empty one a negative value or a division by zero); the bar
// shows what it can and never fails on such values.
#pragma once

#include "View.h"

// The platform's thickness of a scroll bar: a vertical bar's frame is this wide, a
// horizontal bar's this high (inclusive sizes, so 15 pixels).
const float B_V_SCROLL_BAR_WIDTH = 14.0f;
const float B_H_SCROLL_BAR_HEIGHT = 14.0f;

class BScrollBar : public BView {
public:
	BScrollBar(
		BRect frame, const char* name, BView* target, float min, float max, orientation direction);
	~BScrollBar() override;

	void SetTarget(BView* target);
	BView* Target() const { return fTarget; }
	orientation Orientation() const { return fOrientation; }

	void SetValue(float value);
	float Value() const { return fValue; }
	void SetRange(float min, float max);
	void GetRange(float* min, float* max) const;
	void SetProportion(float proportion);
	float Proportion() const { return fProportion; }
	void SetSteps(float smallStep, float largeStep);
	void GetSteps(float* smallStep, float* largeStep) const;

	// Called by the bar's widget when the user moves it.
	virtual void ValueChanged(float newValue);

protected:
	kit::ViewBridge* _CreateBridge() override;

private:
	friend class BView;
	friend class ScrollBarBridge;

	void _TargetScrolled(float position);
	void _ScrollByWheel(float notches);
	void _Sync();

	BView* fTarget;
	orientation fOrientation;
	float fMin, fMax, fValue, fProportion, fSmallStep, fLargeStep;
	// The part of a pixel that fine wheel turns (touchpads) have moved the bar by and that
	// has not been scrolled yet: the view scrolls by whole pixels only.
	float fWheelRemainder;
	bool fSyncing;
};
