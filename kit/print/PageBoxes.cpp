#include "PageBoxes.h"

// This code holds qpdf's objects by std::shared_ptr, never by its older PointerHolder.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <cstdio>
#include <exception>
#include <unistd.h>
#include <vector>

namespace kit {

namespace {

// The end of qpdf's output: the destination, written in large pieces (qpdf hands over a
// document token by token).
class DestinationPipeline : public Pipeline {
public:
	explicit DestinationPipeline(BDataIO* destination)
		: Pipeline("page boxes output", nullptr), fDestination(destination), fFailure(B_OK)
	{
		fPending.reserve(kPieceSize);
	}

	// qpdf calls these from destructors too, where an exception would end the process: a
	// failure is kept, and what comes after it is dropped, for WritePageBoxes to report.
	void write(unsigned char const* data, size_t length) override
	{
		if (fPending.size() + length > kPieceSize)
			_Flush();
		if (length >= kPieceSize)
			_Put(data, length);
		else
			fPending.insert(fPending.end(), data, data + length);
	}

	void finish() override { _Flush(); }

	status_t Failure() const { return fFailure; }

private:
	static constexpr size_t kPieceSize = 256 * 1024;

	void _Flush()
	{
		_Put(fPending.data(), fPending.size());
		fPending.clear();
	}

	void _Put(unsigned char const* data, size_t length)
	{
		if (fFailure != B_OK || length == 0)
			return;
		ssize_t written = fDestination->Write(data, length);
		if (written != ssize_t(length))
			fFailure = written < 0 ? status_t(written) : B_IO_ERROR;
	}

	BDataIO* fDestination;
	status_t fFailure;
	std::vector<unsigned char> fPending;
};

QPDFObjectHandle box_array(const PdfBox& box)
{
	// A hundredth of a millimetre is well below what any cut can hold.
	const int decimals = 4;
	return QPDFObjectHandle::newArray(std::vector<QPDFObjectHandle>{
		QPDFObjectHandle::newReal(box.left, decimals),
		QPDFObjectHandle::newReal(box.bottom, decimals),
		QPDFObjectHandle::newReal(box.right, decimals),
		QPDFObjectHandle::newReal(box.top, decimals),
	});
}

} // namespace

status_t WritePageBoxes(int source, BDataIO* destination, const PdfBox& trim, const PdfBox& bleed)
{
	DestinationPipeline output(destination);
	try {
		QPDF document;
		document.setSuppressWarnings(true);
		// qpdf reads its own descriptor, and closes it with the file it opens on it.
		int descriptor = ::dup(source);
		FILE* file = descriptor >= 0 ? ::fdopen(descriptor, "rb") : nullptr;
		if (file == nullptr) {
			if (descriptor >= 0)
				::close(descriptor);
			return B_ERROR;
		}
		std::rewind(file);
		document.processFile("print job", file, true);
		for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(document).getAllPages()) {
			QPDFObjectHandle dictionary = page.getObjectHandle();
			dictionary.replaceKey("/TrimBox", box_array(trim));
			dictionary.replaceKey("/BleedBox", box_array(bleed));
		}
		QPDFWriter writer(document);
		writer.setOutputPipeline(&output);
		// The photos' JPEG data, the fonts and the drawing are copied as they are, neither
		// decoded nor compressed again; the same job gives the same bytes.
		writer.setDecodeLevel(qpdf_dl_none);
		writer.setCompressStreams(false);
		writer.setDeterministicID(true);
		writer.write();
	} catch (const std::exception&) {
		return output.Failure() != B_OK ? output.Failure() : B_ERROR;
	}
	return output.Failure();
}

} // namespace kit
