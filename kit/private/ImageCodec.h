// Decoding and encoding images held in memory, with the kit's limits applied, for the
// image translators.
#pragma once

#include <QByteArray>
#include <QImage>

#include "DataIO.h"
#include "SupportDefs.h"

namespace kit {

// Source files larger than this are not decoded.
const int64 kMaxEncodedBytes = int64(1) << 30;

// Reads source from its current position to its end. B_NO_MEMORY when it holds more than
// kMaxEncodedBytes or the memory cannot be had.
status_t ReadToEnd(BPositionIO* source, QByteArray* bytes);

// Whether the first bytes of some data look like format to its plug-in.
bool CanDecode(const QByteArray& head, const QByteArray& format);

// Decodes data in format into an image of Format_ARGB32 (the first frame of an animation).
// An image larger than the bitmap limits is refused from its header, before its pixels are
// allocated, with B_NO_MEMORY; undecodable data gives B_ILLEGAL_DATA.
status_t DecodeImage(const QByteArray& data, const QByteArray& format, QImage* image);

// Encodes the image in format. B_NO_TRANSLATOR when the plug-in cannot write the format.
status_t EncodeImage(const QImage& image, const QByteArray& format, QByteArray* data);

} // namespace kit
