// Picture files in and out: the one way dorva decodes a file into its picture and encodes a
// picture into a file, for the window's commands, its export and dorva-render alike. The
// kit's translators apply the limits on what a file may claim and turn photos upright.
#pragma once

#include "Bitmap.h"
#include "Directory.h"
#include "File.h"

// Decodes the open file into a B_RGB32 bitmap, through the translator roster tr. B_OK with
// *picture set (the caller owns it); otherwise an error, and *picture is left alone.
status_t read_picture(BFile* file, BBitmap** picture);

// What a picture file tells of itself without its pixels being decoded.
struct picture_facts {
	int32 width = 0, height = 0;      // upright: after the file's EXIF orientation
	bool has_date = false;            // the day it was taken, from EXIF DateTimeOriginal
	int year = 0, month = 0, day = 0; // (else DateTimeDigitized, else DateTime)
};
// Reads the facts from the file's header and EXIF. B_OK with *facts set; otherwise the
// error read_picture would give (a file claiming a size beyond the limits included), and
// *facts is left alone.
status_t read_picture_facts(BFile* file, picture_facts* facts);

// Decodes the file as read_picture does, but no larger than it needs: the smallest size
// the decoder gives cheaply (JPEG: libjpeg-turbo's DCT scaling by M/8) that is still at
// least minWidth x minHeight upright, keeping the proportions; never larger than the
// picture. Other formats decode whole.
status_t read_picture_at_least(BFile* file, int32 minWidth, int32 minHeight, BBitmap** picture);

// A new B_RGB32 bitmap of width x height from the source rectangle of source (pixel
// coordinates, may be fractional), resampled with a filter fit for print (area average
// or better when shrinking; never blocky); null when it cannot be allocated. The
// rectangle counts as a bitmap's bounds do: source->Bounds() is the whole picture.
BBitmap* resample_picture(const BBitmap* source, BRect sourceRect, int32 width, int32 height);

// Writes picture into folder under name, encoded as type and stamped with mime. The file is
// written beside its final name and replaces it only once complete, so a failure leaves an
// existing file as it was. The picture is lent to the encoder and comes back unchanged.
status_t write_picture(
	BBitmap* picture, BDirectory* folder, const char* name, uint32 type, const char* mime);
