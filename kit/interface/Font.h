// A font: family, style and a size in pixels (fractional sizes are kept as they are).
// The installed fonts are listed by family and style through the functions below.
#pragma once

#include <string>

#include "Rect.h"
#include "SupportDefs.h"

#define B_FONT_FAMILY_LENGTH 63
#define B_FONT_STYLE_LENGTH 63
typedef char font_family[B_FONT_FAMILY_LENGTH + 1];
typedef char font_style[B_FONT_STYLE_LENGTH + 1];

enum : uint32 {
	B_FONT_FAMILY_AND_STYLE = 0x00000001,
	B_FONT_SIZE = 0x00000002,
	B_FONT_SHEAR = 0x00000004,
	B_FONT_ROTATION = 0x00000008,
	B_FONT_SPACING = 0x00000010,
	B_FONT_ENCODING = 0x00000020,
	B_FONT_FACE = 0x00000040,
	B_FONT_FLAGS = 0x00000080,
	B_FONT_ALL = 0x000000ff,
};

enum : uint16 {
	B_REGULAR_FACE = 0x0040,
	B_BOLD_FACE = 0x0020,
	B_ITALIC_FACE = 0x0001,
};

struct font_height {
	float ascent;
	float descent;
	float leading;
};

class BFont {
public:
	// A copy of the plain system font.
	BFont();
	BFont(const BFont& font) = default;
	BFont& operator=(const BFont& font) = default;

	// B_OK when the family (and style, if given) is installed; otherwise the font stays as
	// it was and the result is B_NAME_NOT_FOUND. An empty name is never installed.
	status_t SetFamilyAndStyle(const char* family, const char* style);
	void GetFamilyAndStyle(font_family* family, font_style* style) const;
	void SetSize(float size) { fSize = size; }
	float Size() const { return fSize; }
	void SetFace(uint16 face) { fFace = face; }
	uint16 Face() const { return fFace; }

	float StringWidth(const char* text) const;
	// The box of the text's glyphs (their ink, not their advance), relative to the start of
	// its baseline: a text drawn at (x, y) covers this box moved by (x, y).
	BRect StringBounds(const char* text) const;
	void GetHeight(font_height* height) const;

	const std::string& Family() const { return fFamily; }
	const std::string& Style() const { return fStyle; }

	bool operator==(const BFont& other) const
	{
		return fFamily == other.fFamily && fStyle == other.fStyle && fSize == other.fSize
			&& fFace == other.fFace;
	}

private:
	friend class BFontAccess;
	struct Unset {};
	// A font with no names yet, for the kit's own system fonts.
	explicit BFont(Unset);

	std::string fFamily;
	std::string fStyle;
	float fSize;
	uint16 fFace;
};

// The system's plain and bold fonts, made on first use.
extern const BFont* be_plain_font;
extern const BFont* be_bold_font;

// The installed fonts: families in the platform's order, each with its styles.
int32 count_font_families();
status_t get_font_family(int32 index, font_family* name, uint32* flags = nullptr);
int32 count_font_styles(const font_family name);
status_t get_font_style(
	const font_family family, int32 index, font_style* name, uint32* flags = nullptr);
