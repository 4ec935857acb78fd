// Recognising and encoding images held in memory, for the image translators (decoding is
// in PluginDecoder.h and JpegDecoder.h).
#pragma once

#include <QByteArray>
#include <QImage>

#include "DataIO.h"
#include "SupportDefs.h"

namespace kit {

// Whether the first bytes of some data look like format to its plug-in.
bool CanDecode(const QByteArray& head, const QByteArray& format);

// Encodes the image in format straight into the destination. B_NO_TRANSLATOR when the
// plug-in cannot write the format; the destination's own status when it fails.
status_t EncodeImage(const QImage& image, const QByteArray& format, BPositionIO* destination);

} // namespace kit
