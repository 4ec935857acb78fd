// The catalogue of formats a picture can be exported to, built once from the translator
// roster while the main window is made, and freed when the main window quits.
#pragma once

#include <vector>

#include "List.h"
#include "Message.h"
#include "TranslationDefs.h"
#include "tr.h"

// One output format: its type code, its descriptive name (the save panel's title) and the
// MIME type stamped on an exported file.
struct s_xlt {
	uint32 type;
	char name[B_MIME_STRING_LENGTH];
	char mime[B_MIME_STRING_LENGTH];

	s_xlt() : type(0), name{}, mime{} { live++; }
	~s_xlt() { live--; }
	s_xlt(const s_xlt&) = delete;
	s_xlt& operator=(const s_xlt&) = delete;

	// How many records exist: the catalogue's, until the main window frees them.
	static int32 live;
};

// The records, owned by the list until the main window quits (xlt.cpp), and their number
// (trc.cpp).
extern BList xlt;
extern int32 trc;

// The type codes the catalogue leaves out (the platform's own bitmap stream, and one it
// never offers for export) and the one it puts first.
const uint32 kSkippedFormatMhi = kit_code("mhi!");
const uint32 kPreferredFormatTga = kit_code("TGA ");

// Fills xlt and trc from tr: every output format of every translator that reads bitmaps,
// but those above, in the roster's order, with TGA formats put in front.
void fill_output_catalogue();

// The MIME type of the picture format that a file name's extension (without its dot, in
// lower case) names, for the formats dorva-render writes: "png" is "image/png". Null for an
// extension of none of them. Whether a translator writes it, the catalogue says.
const char* output_mime_for_extension(const char* extension);

// The type code of the first record whose MIME type is mime; 0 when no record has it.
uint32 catalogue_type_for(const char* mime);

// Frees every record of xlt and empties the list, so that it hands none out again; trc is
// left as it is.
void free_output_catalogue();

// Answers a request for the catalogue, as other programs make it ("fifm"): the reply holds "index" (int32), "name" and "mime" (strings), one value of each per record,
// in index order; no fields once the main window has freed the records.
void list_output_formats(BMessage* request);
