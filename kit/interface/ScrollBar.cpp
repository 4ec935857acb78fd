#include "ScrollBar.h"

#include <QScrollBar>

#include <algorithm>
#include <cmath>

#include "ViewBridge.h"

// The platform's steps for a new bar: an arrow moves it by one, a click beside the knob by
// ten.
const float kDefaultSmallStep = 1;
const float kDefaultLargeStep = 10;
// Qt's ranges are ints: values are kept within this, well inside what an int holds.
const float kLargestQtValue = 1.0e9f;

// Default resizing of scroll bars: they keep to the window's right and bottom edges.
static uint32 default_resizing(orientation direction)
{
	return direction == B_VERTICAL ? (B_FOLLOW_TOP_BOTTOM | B_FOLLOW_RIGHT)
								   : (B_FOLLOW_LEFT_RIGHT | B_FOLLOW_BOTTOM);
}

// Qt ranges are integers; keep values finite and within what an int holds.
static int clamp_to_int(float value)
{
	if (!std::isfinite(value))
		return 0;
	return int(std::clamp(value, -kLargestQtValue, kLargestQtValue));
}

class ScrollBarBridge : public kit::ViewBridge {
public:
	using ViewBridge::ViewBridge;

	QWidget* CreateWidget(QWidget* parent) override
	{
		auto* bar = static_cast<BScrollBar*>(fView);
		auto* widget = new QScrollBar(
			bar->Orientation() == B_VERTICAL ? Qt::Vertical : Qt::Horizontal, parent);
		QObject::connect(widget, &QScrollBar::valueChanged, widget, [bar](int value) {
			if (!bar->fSyncing)
				bar->ValueChanged(float(value));
		});
		return widget;
	}

	void Attached() override { static_cast<BScrollBar*>(fView)->_Sync(); }
};

BScrollBar::BScrollBar(
	BRect frame, const char* name, BView* target, float min, float max, orientation direction)
	: BView(frame, name, default_resizing(direction), B_WILL_DRAW), fTarget(nullptr),
	  fOrientation(direction), fMin(min), fMax(max), fValue(0), fProportion(0),
	  fSmallStep(kDefaultSmallStep), fLargeStep(kDefaultLargeStep), fWheelRemainder(0),
	  fSyncing(false)
{
	SetTarget(target);
}

BScrollBar::~BScrollBar()
{
	if (fTarget)
		fTarget->_RemoveScrollBar(this);
}

kit::ViewBridge* BScrollBar::_CreateBridge()
{
	return new ScrollBarBridge(this);
}

void BScrollBar::SetTarget(BView* target)
{
	if (fTarget)
		fTarget->_RemoveScrollBar(this);
	fTarget = target;
	if (fTarget)
		fTarget->_AddScrollBar(this);
}

void BScrollBar::SetValue(float value)
{
	if (!std::isfinite(value))
		return;
	value = std::clamp(value, fMin, std::max(fMin, fMax));
	if (value == fValue)
		return;
	ValueChanged(value);
}

void BScrollBar::ValueChanged(float newValue)
{
	fValue = newValue;
	_Sync();
	if (fTarget) {
		BPoint offset = fTarget->Bounds().LeftTop();
		if (fOrientation == B_HORIZONTAL)
			offset.x = newValue;
		else
			offset.y = newValue;
		fTarget->ScrollTo(offset);
	}
}

void BScrollBar::_TargetScrolled(float position)
{
	fValue = position;
	_Sync();
}

// A wheel turn of the given notches (1 for one click of a wheel, a fraction for the fine
// turns of a touchpad) moves the bar by as many small steps, within its range. Fractions of
// a pixel are kept for the next turn in the same direction, so that slow, fine turns still
// add up to a scroll.
void BScrollBar::_ScrollByWheel(float notches)
{
	float distance = notches * fSmallStep;
	if (!std::isfinite(distance) || distance == 0)
		return;
	if ((distance > 0) != (fWheelRemainder > 0))
		fWheelRemainder = 0;
	fWheelRemainder += distance;
	float whole = std::trunc(fWheelRemainder);
	if (whole == 0)
		return;
	fWheelRemainder -= whole;
	float before = fValue;
	SetValue(fValue + whole);
	// At either end of the range nothing is owed: turning back moves the bar at once.
	if (fValue != before + whole)
		fWheelRemainder = 0;
}

void BScrollBar::SetRange(float min, float max)
{
	fMin = min;
	fMax = max;
	if (fValue > std::max(fMin, fMax) || fValue < fMin)
		SetValue(std::clamp(fValue, fMin, std::max(fMin, fMax)));
	_Sync();
}

void BScrollBar::GetRange(float* min, float* max) const
{
	if (min)
		*min = fMin;
	if (max)
		*max = fMax;
}

void BScrollBar::SetProportion(float proportion)
{
	fProportion = proportion;
	_Sync();
}

void BScrollBar::SetSteps(float smallStep, float largeStep)
{
	fSmallStep = smallStep;
	fLargeStep = largeStep;
	_Sync();
}

void BScrollBar::GetSteps(float* smallStep, float* largeStep) const
{
	if (smallStep)
		*smallStep = fSmallStep;
	if (largeStep)
		*largeStep = fLargeStep;
}

void BScrollBar::_Sync()
{
	kit::ViewBridge* bridge = _Bridge();
	if (bridge == nullptr || bridge->Widget() == nullptr)
		return;
	auto* widget = static_cast<QScrollBar*>(bridge->Widget());
	fSyncing = true;
	int min = clamp_to_int(fMin);
	int max = std::max(min, clamp_to_int(fMax));
	widget->setRange(min, max);
	widget->setSingleStep(std::max(1, clamp_to_int(fSmallStep)));
	// Qt sizes the knob from the page step; the large step is the visible length, which
	// makes the knob show the proportion of the content in view.
	widget->setPageStep(std::max(1, clamp_to_int(fLargeStep)));
	widget->setValue(clamp_to_int(fValue));
	widget->setEnabled(max > min);
	fSyncing = false;
}
