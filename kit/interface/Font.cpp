#include "Font.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>

#include <atomic>
#include <cstring>
#include <memory>

#include "DrawingTarget.h"
#include "FontMeasures.h"
#include "QtApplication.h"
#include "Utf8Text.h"

namespace {

// The platform's plain size for body text, in pixels.
const float kPlainSize = 12.0f;
// Qt's points are 1/72 inch on every device.
const double kQtPointsPerInch = 72.0;
// Qt refuses a size of zero or less: such a font gets this tiny size instead.
const double kSmallestSize = 0.01;

QStringList sorted_families()
{
	return QFontDatabase::families();
}

} // namespace

class BFontAccess {
public:
	static BFont Unset() { return BFont(BFont::Unset()); }

	static void Set(
		BFont& font, const std::string& family, const std::string& style, float size, uint16 face)
	{
		font.fFamily = family;
		font.fStyle = style;
		font.fSize = size;
		font.fFace = face;
	}
};

struct SystemFonts {
	BFont plain = BFontAccess::Unset();
	BFont bold = BFontAccess::Unset();
};

static SystemFonts& system_fonts()
{
	// The application first; the fonts are asked of it.
	kit::EnsureQtApplicationWithoutFonts();
	static SystemFonts* fonts = [] {
		auto* result = new SystemFonts;
		QFont general = QGuiApplication::font();
		QFontInfo info(general);
		std::string family = info.family().toStdString();
		std::string plainStyle = info.styleName().toStdString();
		QFont boldFont(info.family());
		boldFont.setBold(true);
		std::string boldStyle = QFontInfo(boldFont).styleName().toStdString();
		if (boldStyle.empty() || boldStyle == plainStyle)
			boldStyle = "Bold";
		BFontAccess::Set(result->plain, family, plainStyle, kPlainSize, B_REGULAR_FACE);
		BFontAccess::Set(result->bold, family, boldStyle, kPlainSize, B_BOLD_FACE);
		return result;
	}();
	return *fonts;
}

const BFont* be_plain_font = nullptr;
const BFont* be_bold_font = nullptr;

namespace kit {

void InitSystemFonts()
{
	be_plain_font = &system_fonts().plain;
	be_bold_font = &system_fonts().bold;
}

QFont ToQFont(const BFont& font, const QPaintDevice* device)
{
	QFont result(QString::fromStdString(font.Family()));
	if (!font.Style().empty())
		result.setStyleName(QString::fromStdString(font.Style()));
	else if (font.Face() & B_BOLD_FACE)
		result.setBold(true);
	int dpi = device ? device->logicalDpiY() : kDotsPerInch;
	if (dpi <= 0)
		dpi = kDotsPerInch;
	double size = font.Size() > 0 ? font.Size() : kSmallestSize;
	result.setPointSizeF(size * kQtPointsPerInch / dpi);
	result.setStyleStrategy(QFont::PreferAntialias);
	return result;
}

const QPaintDevice* MeasuringDevice()
{
	static QImage* device = new QImage(MakeDrawingImage(1, 1, QImage::Format_RGB32));
	return device;
}

namespace {

// Fonts kept per thread, and texts per font, at most; a full cache starts afresh.
const size_t kFontsKept = 64;
const size_t kTextsKept = 4096;

// Family, style, size and face, run together; no font name holds the separator (the ASCII
// unit separator), and the size is taken by its bits so that every size has a key.
std::string font_key(const BFont& font)
{
	const char separator = 0x1f;
	float size = font.Size();
	uint32 sizeBits;
	std::memcpy(&sizeBits, &size, sizeof(sizeBits));
	std::string key = font.Family();
	key += separator;
	key += font.Style();
	key += separator;
	key += std::to_string(sizeBits);
	key += separator;
	key += std::to_string(font.Face());
	return key;
}

struct FontCache {
	std::unordered_map<std::string, std::unique_ptr<FontMeasures>> fonts;
	// The font asked about last, which is nearly always the one asked about next.
	BFont lastFont = BFontAccess::Unset();
	FontMeasures* last = nullptr;
};

uint64_t next_font_id()
{
	static std::atomic<uint64_t> counter{0};
	return ++counter;
}

} // namespace

FontMeasures::FontMeasures(const BFont& font, uint64_t id)
	: fId(id), fFont(ToQFont(font, MeasuringDevice())),
	  fMetrics(fFont, const_cast<QPaintDevice*>(MeasuringDevice()))
{
	fHeight.ascent = float(fMetrics.ascent());
	fHeight.descent = float(fMetrics.descent());
	fHeight.leading = float(fMetrics.leading());
}

const TextMeasure& FontMeasures::Measure(const char* text)
{
	std::string key(text);
	auto found = fTexts.find(key);
	if (found != fTexts.end())
		return found->second;
	if (fTexts.size() >= kTextsKept)
		fTexts.clear();
	QString string = QString::fromUtf8(text);
	TextMeasure measure{float(fMetrics.horizontalAdvance(string)), fMetrics.boundingRect(string)};
	return fTexts.emplace(std::move(key), measure).first->second;
}

FontMeasures& MeasuresOf(const BFont& font)
{
	thread_local FontCache cache;
	if (cache.last != nullptr && cache.lastFont == font)
		return *cache.last;
	std::string key = font_key(font);
	auto found = cache.fonts.find(key);
	if (found == cache.fonts.end()) {
		if (cache.fonts.size() >= kFontsKept) {
			cache.last = nullptr;
			cache.fonts.clear();
		}
		EnsureQtApplication();
		found = cache.fonts
					.emplace(std::move(key), std::make_unique<FontMeasures>(font, next_font_id()))
					.first;
	}
	cache.last = found->second.get();
	cache.lastFont = font;
	return *cache.last;
}

} // namespace kit

BFont::BFont(Unset) : fSize(kPlainSize), fFace(B_REGULAR_FACE)
{
}

BFont::BFont() : fSize(kPlainSize), fFace(B_REGULAR_FACE)
{
	*this = system_fonts().plain;
}

status_t BFont::SetFamilyAndStyle(const char* family, const char* style)
{
	if (family == nullptr || *family == '\0')
		return B_NAME_NOT_FOUND;
	kit::EnsureQtApplication();
	QString qFamily = QString::fromUtf8(family);
	if (!QFontDatabase::families().contains(qFamily))
		return B_NAME_NOT_FOUND;
	std::string chosenStyle;
	if (style != nullptr && *style != '\0') {
		if (!QFontDatabase::styles(qFamily).contains(QString::fromUtf8(style)))
			return B_NAME_NOT_FOUND;
		chosenStyle = style;
	}
	fFamily = family;
	fStyle = chosenStyle;
	fFace = chosenStyle.find("Bold") != std::string::npos ? B_BOLD_FACE : B_REGULAR_FACE;
	return B_OK;
}

void BFont::GetFamilyAndStyle(font_family* family, font_style* style) const
{
	if (family)
		kit::CopyUtf8(*family, B_FONT_FAMILY_LENGTH, fFamily);
	if (style)
		kit::CopyUtf8(*style, B_FONT_STYLE_LENGTH, fStyle);
}

float BFont::StringWidth(const char* text) const
{
	if (text == nullptr)
		return 0;
	return kit::MeasuresOf(*this).Measure(text).advance;
}

BRect BFont::StringBounds(const char* text) const
{
	if (text == nullptr)
		return BRect();
	const QRectF& ink = kit::MeasuresOf(*this).Measure(text).ink;
	return BRect(float(ink.left()), float(ink.top()), float(ink.right()), float(ink.bottom()));
}

void BFont::GetHeight(font_height* height) const
{
	if (height == nullptr)
		return;
	*height = kit::MeasuresOf(*this).Height();
}

// The font list. Qt's font database answers families() and styles() by walking every
// installed family, so asking it once per index makes listing all fonts quadratic. The
// list is therefore taken once per listing: count_font_families() takes a fresh copy of the
// families, which get_font_family() then reads; count_font_styles() takes the styles of one
// family, which get_font_style() reads while it asks about that family.
namespace {

struct FontListing {
	QStringList families;
	bool haveFamilies = false;
	QString stylesOf;
	QStringList styles;
	bool haveStyles = false;
};

FontListing& font_listing()
{
	static FontListing listing;
	return listing;
}

void refresh_families(FontListing& listing)
{
	kit::EnsureQtApplication();
	listing.families = sorted_families();
	listing.haveFamilies = true;
	listing.haveStyles = false;
}

const QStringList& styles_of(const QString& family, bool fresh)
{
	FontListing& listing = font_listing();
	if (fresh || !listing.haveStyles || listing.stylesOf != family) {
		kit::EnsureQtApplication();
		listing.styles = QFontDatabase::styles(family);
		listing.stylesOf = family;
		listing.haveStyles = true;
	}
	return listing.styles;
}

// Copies a name into a fixed field of capacity bytes plus the terminator; a longer name is
// cut at a character boundary.
void copy_name(char* field, size_t capacity, const QString& name)
{
	QByteArray utf8 = name.toUtf8();
	kit::CopyUtf8(field, capacity, utf8.constData(), size_t(utf8.size()));
}

} // namespace

int32 count_font_families()
{
	FontListing& listing = font_listing();
	refresh_families(listing);
	return int32(listing.families.size());
}

status_t get_font_family(int32 index, font_family* name, uint32* flags)
{
	FontListing& listing = font_listing();
	if (!listing.haveFamilies)
		refresh_families(listing);
	if (name == nullptr || index < 0 || index >= listing.families.size())
		return B_BAD_VALUE;
	copy_name(*name, B_FONT_FAMILY_LENGTH, listing.families.at(index));
	if (flags)
		*flags = 0;
	return B_OK;
}

int32 count_font_styles(const font_family name)
{
	return int32(styles_of(QString::fromUtf8(name), true).size());
}

status_t get_font_style(const font_family family, int32 index, font_style* name, uint32* flags)
{
	const QStringList& styles = styles_of(QString::fromUtf8(family), false);
	if (name == nullptr || index < 0 || index >= styles.size())
		return B_BAD_VALUE;
	copy_name(*name, B_FONT_STYLE_LENGTH, styles.at(index));
	if (flags)
		*flags = 0;
	return B_OK;
}
