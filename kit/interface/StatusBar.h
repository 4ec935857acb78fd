// A bar that shows how far some work has come: a line of text above a bar that fills from
// the left as the value grows towards the maximum (100 unless set). On the line, the label
// and the text stand at the left, the trailing text and the trailing label at the right.
// Besides its methods, it takes B_UPDATE_STATUS_BAR (float "delta", string "text",
// "trailing_text"; each optional) and B_RESET_STATUS_BAR (string "label",
// "trailing_label") messages, so that other loopers can drive it by messenger.
#pragma once

#include <string>

#include "View.h"

enum : uint32 {
	B_UPDATE_STATUS_BAR = kit_code("SBUP"),
	B_RESET_STATUS_BAR = kit_code("SBRS"),
};

class BStatusBar : public BView {
public:
	BStatusBar(BRect frame, const char* name, const char* label = nullptr,
		const char* trailingLabel = nullptr);
	~BStatusBar() override;

	void Draw(BRect updateRect) override;
	void MessageReceived(BMessage* message) override;

	virtual void SetBarColor(rgb_color color);
	virtual void SetBarHeight(float height);
	virtual void SetText(const char* text);
	virtual void SetTrailingText(const char* text);
	// A maximum below 0 counts as 0; the value is kept within it.
	virtual void SetMaxValue(float max);
	// Adds delta to the value (kept between 0 and the maximum); a text given replaces the
	// text, a trailing text the trailing text.
	virtual void Update(
		float delta, const char* text = nullptr, const char* trailingText = nullptr);
	// Back to a value of 0 and a maximum of 100 without texts, with these labels.
	virtual void Reset(const char* label = nullptr, const char* trailingLabel = nullptr);
	// Sets the value itself, and the texts given.
	virtual void SetTo(float value, const char* text = nullptr, const char* trailingText = nullptr);

	float CurrentValue() const { return fCurrent; }
	float MaxValue() const { return fMax; }
	rgb_color BarColor() const { return fBarColor; }
	float BarHeight() const { return fBarHeight; }
	const char* Label() const { return fLabel.c_str(); }
	const char* TrailingLabel() const { return fTrailingLabel.c_str(); }
	const char* Text() const { return fText.c_str(); }
	const char* TrailingText() const { return fTrailingText.c_str(); }

private:
	void _SetValue(float value);
	void _UpdateFromMessage(const BMessage* message);
	void _ResetFromMessage(const BMessage* message);
	// Where the bar is drawn, below the line of text.
	BRect _BarFrame() const;

	std::string fLabel;
	std::string fTrailingLabel;
	std::string fText;
	std::string fTrailingText;
	float fCurrent;
	float fMax;
	float fBarHeight;
	rgb_color fBarColor;
};
