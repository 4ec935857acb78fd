#include "StatusBar.h"

#include <algorithm>
#include <cmath>

#include "Message.h"

namespace {

const float kDefaultMax = 100;
const float kDefaultBarHeight = 16;
// The platform's colours: the panel's grey, a blue bar in a darker frame.
const rgb_color kPanelColor = {216, 216, 216, 255};
const rgb_color kBarColor = {50, 150, 255, 255};
const rgb_color kTroughColor = {255, 255, 255, 255};
const rgb_color kFrameColor = {128, 128, 128, 255};
const rgb_color kTextColor = {0, 0, 0, 255};
// Space between the line of text and the bar.
const float kTextGap = 2;

std::string text_of(const char* text)
{
	return text != nullptr ? std::string(text) : std::string();
}

} // namespace

BStatusBar::BStatusBar(BRect frame, const char* name, const char* label, const char* trailingLabel)
	: BView(frame, name, B_FOLLOW_LEFT_RIGHT | B_FOLLOW_TOP, B_WILL_DRAW), fLabel(text_of(label)),
	  fTrailingLabel(text_of(trailingLabel)), fCurrent(0), fMax(kDefaultMax),
	  fBarHeight(kDefaultBarHeight), fBarColor(kBarColor)
{
	SetViewColor(kPanelColor);
	SetLowColor(kPanelColor);
	SetHighColor(kTextColor);
}

BStatusBar::~BStatusBar() = default;

BRect BStatusBar::_BarFrame() const
{
	BRect bounds = Bounds();
	return BRect(bounds.left, bounds.bottom - fBarHeight + 1, bounds.right, bounds.bottom);
}

void BStatusBar::Draw(BRect)
{
	BRect bounds = Bounds();
	BRect bar = _BarFrame();

	// The line of text, its baseline just above the bar.
	font_height height;
	GetFontHeight(&height);
	float baseline = bar.top - kTextGap - std::ceil(height.descent);
	SetLowColor(kPanelColor);
	SetHighColor(kTextColor);
	std::string left = fLabel + fText;
	std::string right = fTrailingText + fTrailingLabel;
	if (!left.empty())
		DrawString(left.c_str(), BPoint(bounds.left, baseline));
	if (!right.empty())
		DrawString(right.c_str(), BPoint(bounds.right - StringWidth(right.c_str()), baseline));

	SetHighColor(kFrameColor);
	StrokeRect(bar);
	BRect inside(bar.left + 1, bar.top + 1, bar.right - 1, bar.bottom - 1);
	if (!inside.IsValid())
		return;
	float filled = fMax > 0 ? (inside.Width() + 1) * (fCurrent / fMax) : 0;
	float split = inside.left + std::round(filled);
	if (split > inside.left) {
		SetHighColor(fBarColor);
		FillRect(BRect(inside.left, inside.top, split - 1, inside.bottom));
	}
	if (split <= inside.right) {
		SetHighColor(kTroughColor);
		FillRect(BRect(split, inside.top, inside.right, inside.bottom));
	}
	SetHighColor(kTextColor);
}

void BStatusBar::MessageReceived(BMessage* message)
{
	switch (message->what) {
		case B_UPDATE_STATUS_BAR:
			_UpdateFromMessage(message);
			break;
		case B_RESET_STATUS_BAR:
			_ResetFromMessage(message);
			break;
		default:
			BView::MessageReceived(message);
			break;
	}
}

void BStatusBar::_UpdateFromMessage(const BMessage* message)
{
	float delta = 0;
	const char* text = nullptr;
	const char* trailingText = nullptr;
	message->FindFloat("delta", &delta);
	message->FindString("text", &text);
	message->FindString("trailing_text", &trailingText);
	Update(delta, text, trailingText);
}

void BStatusBar::_ResetFromMessage(const BMessage* message)
{
	const char* label = nullptr;
	const char* trailingLabel = nullptr;
	message->FindString("label", &label);
	message->FindString("trailing_label", &trailingLabel);
	Reset(label, trailingLabel);
}

void BStatusBar::SetBarColor(rgb_color color)
{
	fBarColor = color;
	Invalidate();
}

void BStatusBar::SetBarHeight(float height)
{
	fBarHeight = std::max(height, 3.0f);
	Invalidate();
}

void BStatusBar::SetText(const char* text)
{
	fText = text_of(text);
	Invalidate();
}

void BStatusBar::SetTrailingText(const char* text)
{
	fTrailingText = text_of(text);
	Invalidate();
}

void BStatusBar::SetMaxValue(float max)
{
	fMax = std::isfinite(max) ? std::max(max, 0.0f) : 0;
	_SetValue(fCurrent);
}

void BStatusBar::Update(float delta, const char* text, const char* trailingText)
{
	if (text != nullptr)
		fText = text;
	if (trailingText != nullptr)
		fTrailingText = trailingText;
	_SetValue(fCurrent + delta);
}

void BStatusBar::Reset(const char* label, const char* trailingLabel)
{
	fLabel = text_of(label);
	fTrailingLabel = text_of(trailingLabel);
	fText.clear();
	fTrailingText.clear();
	fMax = kDefaultMax;
	_SetValue(0);
}

void BStatusBar::SetTo(float value, const char* text, const char* trailingText)
{
	if (text != nullptr)
		fText = text;
	if (trailingText != nullptr)
		fTrailingText = trailingText;
	_SetValue(value);
}

void BStatusBar::_SetValue(float value)
{
	// A value that is no number leaves the bar where it was.
	if (std::isfinite(value))
		fCurrent = std::clamp(value, 0.0f, fMax);
	Invalidate();
}
