#include "Font.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>

#include <cstring>

#include "DrawingTarget.h"
#include "QtApplication.h"
#include "ViewBridge.h"

namespace {


// The platform's plain size for body text, in pixels.
const float kPlainSize = 12.0f;

QStringList sorted_families()
{
	return QFontDatabase::families();
}

} // namespace

class BFontAccess {
public:
	static BFont Unset() { return BFont(BFont::Unset()); }

	static void Set(BFont& font, const std::string& family, const std::string& style,
		float size, uint16 face)
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
	// The application first: making it sets up the fonts, which come back here.
	kit::EnsureQtApplication();
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
	int dpi = device ? device->logicalDpiY() : 72;
	if (dpi <= 0)
		dpi = 72;
	double size = font.Size() > 0 ? font.Size() : 0.01;
	result.setPointSizeF(size * 72.0 / dpi);
	result.setStyleStrategy(QFont::PreferAntialias);
	return result;
}

const QPaintDevice* MeasuringDevice()
{
	static QImage* device = new QImage(MakeDrawingImage(1, 1, QImage::Format_RGB32));
	return device;
}

} // namespace kit

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
	if (family) {
		std::strncpy(*family, fFamily.c_str(), B_FONT_FAMILY_LENGTH);
		(*family)[B_FONT_FAMILY_LENGTH] = '\0';
	}
	if (style) {
		std::strncpy(*style, fStyle.c_str(), B_FONT_STYLE_LENGTH);
		(*style)[B_FONT_STYLE_LENGTH] = '\0';
	}
}

float BFont::StringWidth(const char* text) const
{
	if (text == nullptr)
		return 0;
	const QPaintDevice* device = kit::MeasuringDevice();
	QFontMetricsF metrics(kit::ToQFont(*this, device), const_cast<QPaintDevice*>(device));
	return float(metrics.horizontalAdvance(QString::fromUtf8(text)));
}

void BFont::GetHeight(font_height* height) const
{
	if (height == nullptr)
		return;
	const QPaintDevice* device = kit::MeasuringDevice();
	QFontMetricsF metrics(kit::ToQFont(*this, device), const_cast<QPaintDevice*>(device));
	height->ascent = float(metrics.ascent());
	height->descent = float(metrics.descent());
	height->leading = float(metrics.leading());
}

int32 count_font_families()
{
	kit::EnsureQtApplication();
	return int32(sorted_families().size());
}

status_t get_font_family(int32 index, font_family* name, uint32* flags)
{
	kit::EnsureQtApplication();
	QStringList families = sorted_families();
	if (name == nullptr || index < 0 || index >= families.size())
		return B_BAD_VALUE;
	QByteArray utf8 = families.at(index).toUtf8();
	std::strncpy(*name, utf8.constData(), B_FONT_FAMILY_LENGTH);
	(*name)[B_FONT_FAMILY_LENGTH] = '\0';
	if (flags)
		*flags = 0;
	return B_OK;
}

int32 count_font_styles(const font_family name)
{
	kit::EnsureQtApplication();
	return int32(QFontDatabase::styles(QString::fromUtf8(name)).size());
}

status_t get_font_style(const font_family family, int32 index, font_style* name,
	uint32* flags)
{
	kit::EnsureQtApplication();
	QStringList styles = QFontDatabase::styles(QString::fromUtf8(family));
	if (name == nullptr || index < 0 || index >= styles.size())
		return B_BAD_VALUE;
	QByteArray utf8 = styles.at(index).toUtf8();
	std::strncpy(*name, utf8.constData(), B_FONT_STYLE_LENGTH);
	(*name)[B_FONT_STYLE_LENGTH] = '\0';
	if (flags)
		*flags = 0;
	return B_OK;
}
