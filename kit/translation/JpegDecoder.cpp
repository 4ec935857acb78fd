#include "JpegDecoder.h"

// jpeglib.h wants size_t and FILE declared before it.
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include <jpeglib.h>
// After jpeglib.h: the warning that a file ended early.
#include <jerror.h>

#include "BitmapLimits.h"
#include "BitmapStreamIO.h"
#include "DecodeRequest.h"
#include "ExifOrientation.h"
#include "PictureTarget.h"
#include "PixelConversion.h"

#ifndef JCS_EXTENSIONS
#error "the JPEG reader needs libjpeg-turbo's JCS_EXT_BGRA output"
#endif

namespace kit {

namespace {

// Bytes of the file read at a time.
const size_t kInputBytes = 64 * 1024;
// Rows decoded at a time when they are turned before they land in the bitmap.
const int32 kBandRows = 16;
// A progressive JPEG may hold any number of scans, each one a pass over the whole picture;
// a file that needs more than this is not a photo but a way to keep the decoder busy.
const int kMostScans = 1000;
// Beyond one copy of the picture, what libjpeg may set aside for itself (a progressive
// file keeps all of its coefficients until the last scan).
const int64 kDecoderSlackBytes = int64(16) << 20;

// Everything libjpeg works with, in one block that outlives every jump back from its error
// handler: the decoding functions below hold no object that a jump would skip destroying.
struct Decoder {
	jpeg_decompress_struct info = {};
	jpeg_error_mgr errors = {};
	std::jmp_buf jump = {};
	jpeg_source_mgr input = {};
	jpeg_progress_mgr progress = {};
	BPositionIO* source = nullptr;
	off_t position = 0;
	bool created = false;
	JOCTET buffer[kInputBytes];

	~Decoder()
	{
		if (created)
			jpeg_destroy_decompress(&info);
	}
};

Decoder* decoder_of(j_common_ptr info)
{
	return static_cast<Decoder*>(info->client_data);
}

void fail(j_common_ptr info)
{
	std::longjmp(decoder_of(info)->jump, 1);
}

void stay_silent(j_common_ptr)
{
}

void init_source(j_decompress_ptr)
{
}

void term_source(j_decompress_ptr)
{
}

boolean fill_input(j_decompress_ptr info)
{
	Decoder* decoder = decoder_of(reinterpret_cast<j_common_ptr>(info));
	ssize_t count = decoder->source->ReadAt(decoder->position, decoder->buffer, kInputBytes);
	if (count <= 0) {
		// A file that ends early gets an end marker, as libjpeg's own readers do: what was
		// not decoded stays grey, and the rest of the picture is shown.
		WARNMS(info, JWRN_JPEG_EOF);
		decoder->buffer[0] = 0xFF;
		decoder->buffer[1] = JPEG_EOI;
		count = 2;
	} else {
		decoder->position += count;
	}
	info->src->next_input_byte = decoder->buffer;
	info->src->bytes_in_buffer = size_t(count);
	return TRUE;
}

void skip_input(j_decompress_ptr info, long count)
{
	if (count <= 0)
		return;
	jpeg_source_mgr* input = info->src;
	if (size_t(count) <= input->bytes_in_buffer) {
		input->next_input_byte += count;
		input->bytes_in_buffer -= size_t(count);
		return;
	}
	Decoder* decoder = decoder_of(reinterpret_cast<j_common_ptr>(info));
	decoder->position += off_t(size_t(count) - input->bytes_in_buffer);
	input->bytes_in_buffer = 0;
}

void limit_scans(j_common_ptr info)
{
	auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
	if (decompress->input_scan_number > kMostScans)
		fail(info);
}

// Reads the header. false when libjpeg gave up.
bool read_header(Decoder* decoder)
{
	if (setjmp(decoder->jump) != 0)
		return false;
	jpeg_decompress_struct* info = &decoder->info;
	info->err = jpeg_std_error(&decoder->errors);
	decoder->errors.error_exit = fail;
	decoder->errors.output_message = stay_silent;
	info->client_data = decoder;
	jpeg_create_decompress(info);
	decoder->created = true;
	decoder->input.init_source = init_source;
	decoder->input.fill_input_buffer = fill_input;
	decoder->input.skip_input_data = skip_input;
	decoder->input.resync_to_restart = jpeg_resync_to_restart;
	decoder->input.term_source = term_source;
	info->src = &decoder->input;
	decoder->progress.progress_monitor = limit_scans;
	info->progress = &decoder->progress;
	jpeg_read_header(info, TRUE);
	return true;
}

// Sets the smallest of libjpeg's scales M/8 at which the stored picture is still at least
// leastWidth x leastHeight; the whole picture when no smaller one is. false when libjpeg
// gave up.
bool choose_scale(Decoder* decoder, int32 leastWidth, int32 leastHeight)
{
	if (setjmp(decoder->jump) != 0)
		return false;
	jpeg_decompress_struct* info = &decoder->info;
	const unsigned kEighths = 8;
	for (unsigned eighths = 1; eighths <= kEighths; eighths++) {
		info->scale_num = eighths;
		info->scale_denom = kEighths;
		jpeg_calc_output_dimensions(info);
		if (info->output_width >= JDIMENSION(leastWidth)
			&& info->output_height >= JDIMENSION(leastHeight))
			break;
	}
	return true;
}

// Decodes every row into the target, turning them through band when they do not go
// straight into the bitmap. false when libjpeg gave up.
bool read_rows(Decoder* decoder, PictureTarget* target, uint8* band)
{
	if (setjmp(decoder->jump) != 0)
		return false;
	jpeg_decompress_struct* info = &decoder->info;
	info->out_color_space = JCS_EXT_BGRA;
	jpeg_start_decompress(info);
	const int32 height = int32(info->output_height);
	const size_t stride = size_t(info->output_width) * kBGRABytes;
	while (info->output_scanline < info->output_height) {
		int32 y = int32(info->output_scanline);
		int32 count = std::min(kBandRows, height - y);
		JSAMPROW rows[kBandRows];
		for (int32 i = 0; i < count; i++)
			rows[i] = target->InPlace() ? target->Row(y + i) : band + size_t(i) * stride;
		JDIMENSION done = jpeg_read_scanlines(info, rows, JDIMENSION(count));
		if (!target->InPlace())
			target->Place(y, band, int32(done), stride);
	}
	// The picture is whole: what follows its last row (jpeg_finish_decompress would read
	// on to the end marker) cannot spoil it.
	return true;
}

} // namespace

status_t DecodeJpeg(BPositionIO* source, BPositionIO* destination, const DecodeRequest& request,
	DecodeReport* report, bool* handled)
{
	*handled = false;
	off_t start = source->Position();
	if (start < 0)
		return B_IO_ERROR;
	off_t size = 0;
	int64 fileBytes = source->GetSize(&size) == B_OK ? int64(size - start) : -1;

	std::unique_ptr<Decoder> decoder(new (std::nothrow) Decoder);
	if (decoder == nullptr)
		return B_NO_MEMORY;
	decoder->source = source;
	decoder->position = start;
	if (!read_header(decoder.get())) {
		*handled = true;
		return B_ILLEGAL_DATA;
	}
	jpeg_decompress_struct* info = &decoder->info;
	// Four-channel JPEGs (CMYK, YCCK) are left to the plug-in, which knows their inks.
	const int kInkChannels = 4;
	if (info->num_components == kInkChannels)
		return B_OK;

	*handled = true;
	const int64 width = info->image_width;
	const int64 height = info->image_height;
	status_t status = CheckPictureSize(width, height, fileBytes);
	if (status != B_OK)
		return status == B_BAD_VALUE ? B_ILLEGAL_DATA : status;
	info->mem->max_memory_to_use = long(width * height * kDecodedPixelBytes + kDecoderSlackBytes);

	const ExifFacts facts = FindExifFacts(source);
	const bool turned =
		facts.orientation >= kOrientationTransposed && facts.orientation <= kOrientationRotated270;
	int32 storedWidth = int32(width);
	int32 storedHeight = int32(height);
	if (request.reduce) {
		// The least size is upright; the scale applies to the picture as stored.
		int32 leastStoredWidth = turned ? request.leastHeight : request.leastWidth;
		int32 leastStoredHeight = turned ? request.leastWidth : request.leastHeight;
		if (!choose_scale(decoder.get(), leastStoredWidth, leastStoredHeight))
			return B_ILLEGAL_DATA;
		storedWidth = int32(info->output_width);
		storedHeight = int32(info->output_height);
	}
	report->width = turned ? storedHeight : storedWidth;
	report->height = turned ? storedWidth : storedHeight;
	report->dateTaken = DateNumber(facts.year, facts.month, facts.day);
	if (request.headerOnly)
		return WriteRGB32Header(destination, report->width, report->height);

	PictureTarget target(destination);
	status = target.Start(storedWidth, storedHeight, facts.orientation);
	if (status != B_OK)
		return status;
	std::vector<uint8> band;
	if (!target.InPlace()) {
		try {
			band.resize(size_t(kBandRows) * size_t(storedWidth) * kBGRABytes);
		} catch (const std::bad_alloc&) {
			return B_NO_MEMORY;
		}
	}
	if (!read_rows(decoder.get(), &target, band.data()))
		return B_ILLEGAL_DATA;
	return target.Finish();
}

} // namespace kit
