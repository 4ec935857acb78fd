#include "ExifOrientation.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>

#include "PictureTarget.h"

namespace kit {

namespace {

// A hostile file may hold any number of markers, chunks or directory entries: this many
// are looked at, and then the picture counts as having no orientation.
const int kMostSteps = 1024;
const uint16 kOrientationTag = 0x0112;
const uint16 kShortType = 3;
const uint16 kTiffMagic = 42;
const size_t kTiffHeaderBytes = 8;
const size_t kTiffEntryBytes = 12;
const uint16 kDateTimeTag = 0x0132;          // when the file was last changed
const uint16 kExifDirectoryTag = 0x8769;     // where the EXIF directory is
const uint16 kDateTimeOriginalTag = 0x9003;  // when the picture was taken
const uint16 kDateTimeDigitizedTag = 0x9004; // when it was stored
const uint16 kAsciiType = 2;
const uint16 kLongType = 4;
const uint16 kDirectoryType = 13;
const size_t kDateTextBytes = 19; // "YYYY:MM:DD HH:MM:SS"

// Reads size bytes at a position in some byte range; false when they are not all there.
using ByteReader = std::function<bool(uint64 position, void* data, size_t size)>;

uint16 big16(const uint8* bytes)
{
	return uint16((bytes[0] << 8) | bytes[1]);
}

uint32 big32(const uint8* bytes)
{
	return (uint32(bytes[0]) << 24) | (uint32(bytes[1]) << 16) | (uint32(bytes[2]) << 8)
		| uint32(bytes[3]);
}

uint32 little32(const uint8* bytes)
{
	return (uint32(bytes[3]) << 24) | (uint32(bytes[2]) << 16) | (uint32(bytes[1]) << 8)
		| uint32(bytes[0]);
}

// The TIFF structure of an EXIF block (or of a TIFF file): its byte order and its first
// directory.
struct Tiff {
	ByteReader read;
	bool bigEndian = false;
	uint64 firstDirectory = 0;

	uint16 Get16(const uint8* bytes) const
	{
		return bigEndian ? big16(bytes) : uint16(bytes[0] | (bytes[1] << 8));
	}
	uint32 Get32(const uint8* bytes) const { return bigEndian ? big32(bytes) : little32(bytes); }
};

bool open_tiff(const ByteReader& read, Tiff* tiff)
{
	uint8 header[kTiffHeaderBytes];
	if (!read(0, header, sizeof(header)))
		return false;
	if (header[0] == 'M' && header[1] == 'M')
		tiff->bigEndian = true;
	else if (header[0] == 'I' && header[1] == 'I')
		tiff->bigEndian = false;
	else
		return false;
	if (tiff->Get16(header + 2) != kTiffMagic)
		return false;
	tiff->read = read;
	tiff->firstDirectory = tiff->Get32(header + 4);
	return true;
}

// Hands each entry of the directory at offset to visit, at most kMostSteps of them, until
// one cannot be read.
template <typename Visit>
void walk_directory(const Tiff& tiff, uint64 offset, Visit visit)
{
	uint8 countBytes[2];
	if (!tiff.read(offset, countBytes, sizeof(countBytes)))
		return;
	int entries = std::min<int>(tiff.Get16(countBytes), kMostSteps);
	for (int i = 0; i < entries; i++) {
		uint8 entry[kTiffEntryBytes];
		if (!tiff.read(offset + 2 + uint64(i) * kTiffEntryBytes, entry, sizeof(entry)))
			return;
		visit(entry);
	}
}

uint16 orientation_of(const Tiff& tiff, const uint8* entry)
{
	uint16 value = tiff.Get16(entry + 8);
	if (tiff.Get16(entry + 2) != kShortType || tiff.Get32(entry + 4) != 1
		|| value < kOrientationNormal || value > kOrientationRotated270)
		return kOrientationNormal;
	return value;
}

bool is_leap_year(int32 year)
{
	return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int32 days_in_month(int32 year, int32 month)
{
	const int32 kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
	return month == 2 && is_leap_year(year) ? 29 : kDays[month - 1];
}

// The date of EXIF's date and time text "YYYY:MM:DD HH:MM:SS"; false for any other text
// (cameras write "0000:00:00 00:00:00" or blanks when they do not know) and for a day or
// time that does not exist.
bool parse_date(const char text[kDateTextBytes], ExifFacts* facts)
{
	const char kPattern[] = "dddd:dd:dd dd:dd:dd";
	static_assert(sizeof(kPattern) - 1 == kDateTextBytes);
	for (size_t i = 0; i < kDateTextBytes; i++) {
		bool digit = text[i] >= '0' && text[i] <= '9';
		if (kPattern[i] == 'd' ? !digit : text[i] != kPattern[i])
			return false;
	}
	auto number = [text](size_t at, size_t digits) {
		int32 value = 0;
		for (size_t i = at; i < at + digits; i++)
			value = value * 10 + (text[i] - '0');
		return value;
	};
	const int32 year = number(0, 4), month = number(5, 2), day = number(8, 2);
	const int32 hour = number(11, 2), minute = number(14, 2), second = number(17, 2);
	const int32 kLeapSecond = 60;
	if (year < 1 || month < 1 || month > 12 || day < 1 || day > days_in_month(year, month)
		|| hour > 23 || minute > 59 || second > kLeapSecond)
		return false;
	facts->year = year;
	facts->month = month;
	facts->day = day;
	return true;
}

// A date entry: ASCII text of at least the date's characters (its terminator may be
// missing), which never fits in the entry itself and so lies at the offset it names.
bool date_of(const Tiff& tiff, const uint8* entry, ExifFacts* facts)
{
	if (tiff.Get16(entry + 2) != kAsciiType || tiff.Get32(entry + 4) < kDateTextBytes)
		return false;
	char text[kDateTextBytes];
	return tiff.read(tiff.Get32(entry + 8), text, sizeof(text)) && parse_date(text, facts);
}

// The orientation and the date of the first directory, and the dates of the EXIF
// directory that it points to. Only that one pointer is followed, once: a directory that
// points back to itself or to another is read at most twice, whatever the file says.
ExifFacts tiff_facts(const ByteReader& read)
{
	ExifFacts facts;
	Tiff tiff;
	if (!open_tiff(read, &tiff))
		return facts;
	bool orientationSeen = false;
	ExifFacts changed, original, digitized;
	bool hasExifDirectory = false;
	uint64 exifDirectory = 0;
	walk_directory(tiff, tiff.firstDirectory, [&](const uint8* entry) {
		switch (tiff.Get16(entry)) {
			case kOrientationTag:
				if (!orientationSeen)
					facts.orientation = orientation_of(tiff, entry);
				orientationSeen = true;
				break;
			case kDateTimeTag:
				if (!changed.HasDate())
					date_of(tiff, entry, &changed);
				break;
			case kExifDirectoryTag:
				if ((tiff.Get16(entry + 2) == kLongType || tiff.Get16(entry + 2) == kDirectoryType)
					&& tiff.Get32(entry + 4) == 1 && !hasExifDirectory) {
					hasExifDirectory = true;
					exifDirectory = tiff.Get32(entry + 8);
				}
				break;
		}
	});
	if (hasExifDirectory) {
		walk_directory(tiff, exifDirectory, [&](const uint8* entry) {
			switch (tiff.Get16(entry)) {
				case kDateTimeOriginalTag:
					if (!original.HasDate())
						date_of(tiff, entry, &original);
					break;
				case kDateTimeDigitizedTag:
					if (!digitized.HasDate())
						date_of(tiff, entry, &digitized);
					break;
			}
		});
	}
	for (const ExifFacts* dated : {&original, &digitized, &changed}) {
		if (dated->HasDate()) {
			facts.year = dated->year;
			facts.month = dated->month;
			facts.day = dated->day;
			break;
		}
	}
	return facts;
}

// Reads within [start, start + length) of the source (length 0: to its end).
ByteReader range_of(BPositionIO* source, off_t start, uint64 length)
{
	return [source, start, length](uint64 position, void* data, size_t size) {
		if (length != 0 && (position > length || size > length - position))
			return false;
		if (position > uint64(INT64_MAX - start) - size)
			return false;
		uint8* bytes = static_cast<uint8*>(data);
		off_t at = start + off_t(position);
		while (size > 0) {
			ssize_t count = source->ReadAt(at, bytes, size);
			if (count <= 0)
				return false;
			bytes += count;
			at += count;
			size -= size_t(count);
		}
		return true;
	};
}

const uint8 kJpegStart[] = {0xFF, 0xD8};
const uint8 kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
const char kExifPrefix[] = "Exif\0"; // with the terminator, the six bytes "Exif\0\0"
const size_t kExifPrefixBytes = sizeof(kExifPrefix);

bool starts_with_exif_prefix(const ByteReader& read, uint64 position)
{
	uint8 prefix[kExifPrefixBytes];
	return read(position, prefix, sizeof(prefix))
		&& std::memcmp(prefix, kExifPrefix, sizeof(prefix)) == 0;
}

// JPEG: the markers up to the start of the scan, looking for APP1 "Exif".
ExifFacts jpeg_facts(BPositionIO* source, off_t start)
{
	const uint8 kMarker = 0xFF, kApp1 = 0xE1, kStartOfScan = 0xDA, kEnd = 0xD9;
	const uint8 kFirstRestart = 0xD0, kLastRestart = 0xD7, kTemporary = 0x01;
	ByteReader file = range_of(source, start, 0);
	uint64 position = sizeof(kJpegStart);
	for (int step = 0; step < kMostSteps; step++) {
		uint8 marker[4];
		if (!file(position, marker, 2) || marker[0] != kMarker)
			break;
		uint8 code = marker[1];
		if (code == kMarker) { // fill byte
			position++;
			continue;
		}
		if (code == kStartOfScan || code == kEnd)
			break;
		if (code == kTemporary || (code >= kFirstRestart && code <= kLastRestart)) {
			position += 2;
			continue;
		}
		if (!file(position + 2, marker + 2, 2))
			break;
		uint16 length = big16(marker + 2); // counts itself, not the marker
		if (length < 2)
			break;
		uint64 data = position + 4;
		uint64 dataLength = length - 2u;
		if (code == kApp1 && dataLength > kExifPrefixBytes && starts_with_exif_prefix(file, data)) {
			return tiff_facts(range_of(
				source, start + off_t(data + kExifPrefixBytes), dataLength - kExifPrefixBytes));
		}
		position = data + dataLength;
	}
	return ExifFacts();
}

// PNG: the chunks before the image data, looking for eXIf.
ExifFacts png_facts(BPositionIO* source, off_t start)
{
	ByteReader file = range_of(source, start, 0);
	uint64 position = sizeof(kPngSignature);
	for (int step = 0; step < kMostSteps; step++) {
		uint8 chunk[8];
		if (!file(position, chunk, sizeof(chunk)))
			break;
		uint32 length = big32(chunk);
		if (std::memcmp(chunk + 4, "IDAT", 4) == 0 || std::memcmp(chunk + 4, "IEND", 4) == 0)
			break;
		if (std::memcmp(chunk + 4, "eXIf", 4) == 0)
			return tiff_facts(range_of(source, start + off_t(position + 8), length));
		position += 8 + uint64(length) + 4; // type and length, data, CRC
	}
	return ExifFacts();
}

// WebP: the chunks of its RIFF container, looking for EXIF (some writers start it with
// the "Exif" prefix of JPEG).
ExifFacts webp_facts(BPositionIO* source, off_t start)
{
	const size_t kRiffHeader = 12;
	ByteReader file = range_of(source, start, 0);
	uint64 position = kRiffHeader;
	for (int step = 0; step < kMostSteps; step++) {
		uint8 chunk[8];
		if (!file(position, chunk, sizeof(chunk)))
			break;
		uint32 length = little32(chunk + 4);
		uint64 data = position + sizeof(chunk);
		if (std::memcmp(chunk, "EXIF", 4) == 0) {
			if (length > kExifPrefixBytes && starts_with_exif_prefix(file, data))
				return tiff_facts(range_of(
					source, start + off_t(data + kExifPrefixBytes), length - kExifPrefixBytes));
			return tiff_facts(range_of(source, start + off_t(data), length));
		}
		position = data + length + (length & 1); // chunks are padded to even lengths
	}
	return ExifFacts();
}

} // namespace

ExifFacts FindExifFacts(BPositionIO* source)
{
	off_t start = source->Position();
	if (start < 0)
		return ExifFacts();
	uint8 head[12] = {};
	ssize_t count = source->ReadAt(start, head, sizeof(head));
	if (count < ssize_t(sizeof(head)))
		return ExifFacts();
	if (std::memcmp(head, kJpegStart, sizeof(kJpegStart)) == 0)
		return jpeg_facts(source, start);
	if (std::memcmp(head, kPngSignature, sizeof(kPngSignature)) == 0)
		return png_facts(source, start);
	if (std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WEBP", 4) == 0)
		return webp_facts(source, start);
	if ((head[0] == 'I' && head[1] == 'I') || (head[0] == 'M' && head[1] == 'M'))
		return tiff_facts(range_of(source, start, 0));
	return ExifFacts();
}

uint16 FindOrientation(BPositionIO* source)
{
	return FindExifFacts(source).orientation;
}

} // namespace kit
