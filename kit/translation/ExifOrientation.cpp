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

// The orientation tag in the first directory of the TIFF structure that read reaches
// (a TIFF file, or the EXIF block of another format, which is one).
uint16 tiff_orientation(const ByteReader& read)
{
	uint8 header[kTiffHeaderBytes];
	if (!read(0, header, sizeof(header)))
		return kOrientationNormal;
	bool bigEndian;
	if (header[0] == 'M' && header[1] == 'M')
		bigEndian = true;
	else if (header[0] == 'I' && header[1] == 'I')
		bigEndian = false;
	else
		return kOrientationNormal;
	auto get16 = [bigEndian](const uint8* bytes) {
		return bigEndian ? big16(bytes) : uint16(bytes[0] | (bytes[1] << 8));
	};
	auto get32 = [bigEndian](
					 const uint8* bytes) { return bigEndian ? big32(bytes) : little32(bytes); };
	if (get16(header + 2) != kTiffMagic)
		return kOrientationNormal;
	uint64 directory = get32(header + 4);
	uint8 countBytes[2];
	if (!read(directory, countBytes, sizeof(countBytes)))
		return kOrientationNormal;
	int entries = std::min<int>(get16(countBytes), kMostSteps);
	for (int i = 0; i < entries; i++) {
		uint8 entry[kTiffEntryBytes];
		if (!read(directory + 2 + uint64(i) * kTiffEntryBytes, entry, sizeof(entry)))
			return kOrientationNormal;
		if (get16(entry) != kOrientationTag)
			continue;
		uint16 value = get16(entry + 8);
		if (get16(entry + 2) != kShortType || get32(entry + 4) != 1 || value < kOrientationNormal
			|| value > kOrientationRotated270)
			return kOrientationNormal;
		return value;
	}
	return kOrientationNormal;
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
uint16 jpeg_orientation(BPositionIO* source, off_t start)
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
			return tiff_orientation(range_of(
				source, start + off_t(data + kExifPrefixBytes), dataLength - kExifPrefixBytes));
		}
		position = data + dataLength;
	}
	return kOrientationNormal;
}

// PNG: the chunks before the image data, looking for eXIf.
uint16 png_orientation(BPositionIO* source, off_t start)
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
			return tiff_orientation(range_of(source, start + off_t(position + 8), length));
		position += 8 + uint64(length) + 4; // type and length, data, CRC
	}
	return kOrientationNormal;
}

// WebP: the chunks of its RIFF container, looking for EXIF (some writers start it with
// the "Exif" prefix of JPEG).
uint16 webp_orientation(BPositionIO* source, off_t start)
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
				return tiff_orientation(range_of(
					source, start + off_t(data + kExifPrefixBytes), length - kExifPrefixBytes));
			return tiff_orientation(range_of(source, start + off_t(data), length));
		}
		position = data + length + (length & 1); // chunks are padded to even lengths
	}
	return kOrientationNormal;
}

} // namespace

uint16 FindOrientation(BPositionIO* source)
{
	off_t start = source->Position();
	if (start < 0)
		return kOrientationNormal;
	uint8 head[12] = {};
	ssize_t count = source->ReadAt(start, head, sizeof(head));
	if (count < ssize_t(sizeof(head)))
		return kOrientationNormal;
	if (std::memcmp(head, kJpegStart, sizeof(kJpegStart)) == 0)
		return jpeg_orientation(source, start);
	if (std::memcmp(head, kPngSignature, sizeof(kPngSignature)) == 0)
		return png_orientation(source, start);
	if (std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WEBP", 4) == 0)
		return webp_orientation(source, start);
	if ((head[0] == 'I' && head[1] == 'I') || (head[0] == 'M' && head[1] == 'M'))
		return tiff_orientation(range_of(source, start, 0));
	return kOrientationNormal;
}

} // namespace kit
