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

// Writes picture into folder under name, encoded as type and stamped with mime. The file is
// written beside its final name and replaces it only once complete, so a failure leaves an
// existing file as it was. The picture is lent to the encoder and comes back unchanged.
status_t write_picture(
	BBitmap* picture, BDirectory* folder, const char* name, uint32 type, const char* mime);
