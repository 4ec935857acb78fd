#include "DefaultRoster.h"

#include <algorithm>
#include <future>
#include <map>
#include <set>
#include <system_error>
#include <vector>

#include <QImageReader>
#include <QImageWriter>
#include <QMimeDatabase>

#include "BitsTranslator.h"
#include "QtApplication.h"
#include "QtImageTranslator.h"
#include "TranslatorRoster.h"
#include "Utf8Text.h"

namespace kit {

namespace {

// Type codes are four characters.
const int kTypeCodeLength = 4;
// The prefix of an unregistered MIME subtype ("image/x-portable-pixmap").
const QByteArray kUnregisteredPrefix = "x-";

std::set<QByteArray> lowered(const QList<QByteArray>& list)
{
	std::set<QByteArray> result;
	for (const QByteArray& item : list)
		result.insert(item.toLower());
	return result;
}

// The name the format is known by among its aliases (jpeg for jpg and jpeg, tiff for tif
// and tiff): the one the MIME type names, else the file suffix the MIME database prefers,
// else the longest that fits a four-character type code.
QByteArray canonical_format(
	const std::vector<QByteArray>& aliases, const QMimeType& mime, const QByteArray& mimeName)
{
	QByteArray subtype = mimeName.mid(mimeName.indexOf('/') + 1);
	if (subtype.startsWith(kUnregisteredPrefix))
		subtype = subtype.mid(kUnregisteredPrefix.size());
	for (const QByteArray& alias : aliases) {
		if (alias == subtype)
			return alias;
	}
	QByteArray suffix = mime.preferredSuffix().toLower().toLatin1();
	for (const QByteArray& alias : aliases) {
		if (alias == suffix)
			return alias;
	}
	QByteArray best = aliases.front();
	for (const QByteArray& alias : aliases) {
		if (alias.size() <= kTypeCodeLength
			&& (best.size() > kTypeCodeLength || alias.size() > best.size()))
			best = alias;
	}
	return best;
}

// Four characters from the upper-cased name, padded with spaces: "PNG ", "JPEG".
uint32 type_code_for(const QByteArray& format)
{
	QByteArray code = format.toUpper().left(kTypeCodeLength).leftJustified(kTypeCodeLength, ' ');
	return (uint32(uint8(code[0])) << 24) | (uint32(uint8(code[1])) << 16)
		| (uint32(uint8(code[2])) << 8) | uint32(uint8(code[3]));
}

// Cuts UTF-8 text to fit the translation kit's name arrays without splitting a character.
std::string fit_name(const QString& text)
{
	QByteArray utf8 = text.toUtf8();
	size_t length =
		Utf8PrefixLength(utf8.constData(), size_t(utf8.size()), B_MIME_STRING_LENGTH - 1);
	return std::string(utf8.constData(), length);
}

std::vector<ImageFormatDescription> available_formats()
{
	std::set<QByteArray> readable = lowered(QImageReader::supportedImageFormats());
	std::set<QByteArray> writable = lowered(QImageWriter::supportedImageFormats());
	std::set<QByteArray> mimeTypes = lowered(QImageReader::supportedMimeTypes());
	for (const QByteArray& mime : lowered(QImageWriter::supportedMimeTypes()))
		mimeTypes.insert(mime);

	// Aliases of one format share a MIME type; each format joins the first MIME type that
	// claims it, so that it ends up in one translator only.
	std::map<QByteArray, QByteArray> mimeOfFormat;
	for (const QByteArray& mime : mimeTypes) {
		std::set<QByteArray> formats = lowered(QImageReader::imageFormatsForMimeType(mime));
		for (const QByteArray& format : lowered(QImageWriter::imageFormatsForMimeType(mime)))
			formats.insert(format);
		for (const QByteArray& format : formats)
			mimeOfFormat.emplace(format, mime);
	}

	QMimeDatabase database;
	std::map<QByteArray, std::vector<QByteArray>> formatsOfMime;
	std::set<QByteArray> all(readable);
	all.insert(writable.begin(), writable.end());
	for (const QByteArray& format : all) {
		auto known = mimeOfFormat.find(format);
		QByteArray mime;
		if (known != mimeOfFormat.end()) {
			mime = known->second;
		} else {
			QMimeType guess =
				database.mimeTypeForFile(QStringLiteral("image.") + QString::fromLatin1(format),
					QMimeDatabase::MatchExtension);
			mime = guess.name().startsWith(QLatin1String("image/")) ? guess.name().toLatin1()
																	: "image/x-" + format;
		}
		formatsOfMime[mime].push_back(format);
	}

	std::vector<ImageFormatDescription> result;
	std::set<uint32> usedTypes;
	for (const auto& [mimeName, aliases] : formatsOfMime) {
		QMimeType mime = database.mimeTypeForName(QString::fromLatin1(mimeName));
		QByteArray format = canonical_format(aliases, mime, mimeName);
		ImageFormatDescription description;
		description.format = format;
		description.type = type_code_for(format);
		description.mime = mimeName.toStdString();
		QString comment = mime.isValid() ? mime.comment() : QString();
		description.name = fit_name(comment.isEmpty()
				? QString::fromLatin1(format.toUpper()) + QStringLiteral(" image")
				: comment);
		description.writable = std::any_of(aliases.begin(), aliases.end(),
			[&](const QByteArray& alias) { return writable.count(alias) != 0; });
		bool readableFormat = std::any_of(aliases.begin(), aliases.end(),
			[&](const QByteArray& alias) { return readable.count(alias) != 0; });
		// A type code names one format: a long name whose first four letters match another
		// format's code would make a request for that code ambiguous.
		if (!readableFormat || !usedTypes.insert(description.type).second)
			continue;
		result.push_back(description);
	}
	std::sort(result.begin(), result.end(),
		[](const ImageFormatDescription& a, const ImageFormatDescription& b) {
			return a.format < b.format;
		});
	return result;
}

} // namespace

BTranslatorRoster* BuildDefaultRoster()
{
	// Listing the formats loads every image plug-in and the libraries behind them, as long
	// as the platform takes to set up its fonts at start-up; the two run side by side. The
	// plug-ins' objects belong to the main thread whichever thread loads them.
	// Where no thread can be started, the listing is done here, after the fonts.
	EnsureQtApplicationWithoutFonts();
	std::future<std::vector<ImageFormatDescription>> listing;
	try {
		listing = std::async(std::launch::async, available_formats);
	} catch (const std::system_error&) {
	}
	EnsureQtApplication();
	std::vector<ImageFormatDescription> formats =
		listing.valid() ? listing.get() : available_formats();
	if (formats.empty())
		return nullptr;
	auto* roster = new BTranslatorRoster;
	for (const ImageFormatDescription& description : formats)
		roster->AddTranslator(new QtImageTranslator(description));
	roster->AddTranslator(new BitsTranslator);
	return roster;
}

} // namespace kit
