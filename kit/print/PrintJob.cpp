#include "PrintJob.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>

#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "DestinationDevice.h"
#include "Directory.h"
#include "DrawingTarget.h"
#include "File.h"
#include "Message.h"
#include "ModalDialogs.h"
#include "PageBoxes.h"
#include "PageScale.h"
#include "Path.h"
#include "PrintSheet.h"
#include "QtApplication.h"
#include "ScratchFile.h"
#include "TestingHooks.h"
#include "ViewAccess.h"

struct BPrintJob::Private {
	QPrinter printer{QPrinter::HighResolution};
	// A PDF file that the settings name is written by the kit's safe write (BFile), through
	// a PDF writer laid out as the printer is.
	std::string file;
	std::unique_ptr<BFile> output;
	std::unique_ptr<kit::DestinationDevice> device;
	std::unique_ptr<QPdfWriter> pdf;
	std::unique_ptr<QPainter> painter;
	status_t status = B_OK;
	std::unique_ptr<BMessage> settings;
	print_scale scale = B_PRINT_SCALE_ACTUAL_SIZE;
	bool jobConfigured = false;
	bool cancelled = false;
	// Something was drawn on the page that is open.
	bool pageDrawn = false;
	// SpoolPage() ended the page: the next drawing begins another.
	bool pageEnded = false;
	// A PDF file for a print shop: the paper is the trim, with bleed and slug around it
	// (points). Qt writes the document into scratch, and it is rewritten with its page
	// boxes into the output.
	std::optional<float> bleed;
	std::optional<float> slug;
	std::unique_ptr<kit::ScratchFile> scratch;
	// The sheet that the job's pages were begun on.
	kit::PrintSheet begunSheet;

	bool HasSheet() const { return bleed || slug; }
	kit::PrintSheet Sheet() const
	{
		return kit::LayOutSheet(printer.pageLayout(), bleed.value_or(0), slug.value_or(0));
	}
	// How pages are laid out: the printer's paper and margins, or the whole sheet.
	QPageLayout Layout() const
	{
		return HasSheet() ? kit::SheetPageLayout(Sheet()) : printer.pageLayout();
	}
};

print_scale& kit::RunPageScale()
{
	static print_scale scale = B_PRINT_SCALE_ACTUAL_SIZE;
	return scale;
}

namespace {

// The most bleed or slug that settings may ask for: 100 mm, far more than any print shop
// wants, and little enough to keep every page a sane size.
constexpr float kMostBleedOrSlug = float(100 * 72 / 25.4);

// The papers that settings may name.
struct named_paper {
	const char* name;
	QPageSize::PageSizeId id;
};
const named_paper kPapers[] = {
	{"a3", QPageSize::A3},
	{"a4", QPageSize::A4},
	{"a5", QPageSize::A5},
	{"letter", QPageSize::Letter},
	{"legal", QPageSize::Legal},
	{"tabloid", QPageSize::Tabloid},
};

// The paper of the user's locale (LC_ALL, else LC_PAPER, else LANG), as glibc describes it in
// millimetres; A4 where the locale names none or a size Qt does not know.
QPageSize locale_paper()
{
	QPageSize paper(QPageSize::A4);
	locale_t locale = newlocale(LC_PAPER_MASK, "", locale_t(0));
	if (locale == locale_t(0))
		return paper;
	// These two items are numbers that glibc hands out in the place of the text pointer.
	union {
		const char* text;
		unsigned int millimetres;
	} width, height;
	width.text = nl_langinfo_l(_NL_PAPER_WIDTH, locale);
	height.text = nl_langinfo_l(_NL_PAPER_HEIGHT, locale);
	freelocale(locale);
	QPageSize::PageSizeId id = QPageSize::id(QSizeF(width.millimetres, height.millimetres),
		QPageSize::Millimeter, QPageSize::FuzzyMatch);
	if (id != QPageSize::Custom)
		paper = QPageSize(id);
	return paper;
}

// Qt's page setup dialog with a row of the kit's own above its buttons: the scale. Qt's
// dialog on this platform lays itself out in a vertical box, its page settings and then the
// buttons; were it ever laid out otherwise, the dialog is shown without the row and the
// scale stays as it was.
bool run_page_setup(QPrinter* printer, print_scale* scale)
{
	QPageSetupDialog dialog(printer);
	auto* box = qobject_cast<QBoxLayout*>(dialog.layout());
	QComboBox* choice = nullptr;
	if (box != nullptr) {
		auto* row = new QWidget(&dialog);
		auto* rowLayout = new QHBoxLayout(row);
		rowLayout->setContentsMargins(0, 0, 0, 0);
		auto* label = new QLabel(QStringLiteral("Scale:"), row);
		choice = new QComboBox(row);
		choice->addItem(QStringLiteral("100%"), int(B_PRINT_SCALE_ACTUAL_SIZE));
		choice->addItem(QStringLiteral("Fit to page"), int(B_PRINT_SCALE_FIT_TO_PAGE));
		choice->setCurrentIndex(std::max(0, choice->findData(int(*scale))));
		label->setBuddy(choice);
		rowLayout->addWidget(label);
		rowLayout->addWidget(choice, 1);
		box->insertWidget(box->count() - 1, row);
	}
	if (kit::RunModal(&dialog) != QDialog::Accepted)
		return false;
	if (choice != nullptr)
		*scale = print_scale(choice->currentData().toInt());
	return true;
}

} // namespace

BPrintJob::BPrintJob(const char* name) : fName(name ? name : ""), fPrivate(new Private)
{
	kit::EnsureQtApplication();
	fPrivate->printer.setDocName(QString::fromUtf8(fName.c_str()));
	// The application's name, which BApplication takes from its signature.
	fPrivate->printer.setCreator(QCoreApplication::applicationName());
	fPrivate->scale = kit::RunPageScale();
}

BPrintJob::~BPrintJob()
{
	// A job that was begun but never committed is abandoned, not printed; its PDF file, if
	// it writes one, is never put in place.
	if (fPrivate->painter && fPrivate->painter->isActive() && !fPrivate->pdf)
		fPrivate->printer.abort();
}

status_t BPrintJob::ConfigPage()
{
	print_scale scale = kit::RunPageScale();
	auto& answers = kit::hooks::PrintAnswers();
	if (answers) {
		if (!answers->confirmPage)
			return B_CANCELED;
		if (answers->scale)
			scale = *answers->scale;
	} else if (!run_page_setup(&fPrivate->printer, &scale)) {
		return B_CANCELED;
	}
	kit::RunPageScale() = scale;
	fPrivate->scale = scale;
	return B_OK;
}

status_t BPrintJob::SetSettings(BMessage* settings)
{
	std::unique_ptr<BMessage> owned(settings);
	if (settings == nullptr)
		return B_BAD_VALUE;
	// A field that is there must have its type.
	auto field = [settings](const char* name, type_code wanted, bool* present) {
		type_code type;
		*present = settings->GetInfo(name, &type) == B_OK;
		return !*present || type == wanted;
	};
	bool hasPaper, hasOrientation, hasScale, hasFile, hasBleed, hasSlug;
	if (!field("paper", B_STRING_TYPE, &hasPaper)
		|| !field("orientation", B_INT32_TYPE, &hasOrientation)
		|| !field("scale", B_INT32_TYPE, &hasScale) || !field("file", B_STRING_TYPE, &hasFile)
		|| !field("bleed", B_FLOAT_TYPE, &hasBleed) || !field("slug", B_FLOAT_TYPE, &hasSlug))
		return B_BAD_VALUE;

	std::optional<QPageSize> paper;
	if (hasPaper) {
		const char* name = "";
		settings->FindString("paper", &name);
		for (const named_paper& named : kPapers) {
			if (std::strcmp(named.name, name) == 0)
				paper = QPageSize(named.id);
		}
		if (!paper)
			return B_BAD_VALUE;
	}
	int32 orientation = B_PRINT_PORTRAIT;
	settings->FindInt32("orientation", &orientation);
	int32 scale = fPrivate->scale;
	settings->FindInt32("scale", &scale);
	const char* file = "";
	settings->FindString("file", &file);
	if ((orientation != B_PRINT_PORTRAIT && orientation != B_PRINT_LANDSCAPE)
		|| (scale != B_PRINT_SCALE_ACTUAL_SIZE && scale != B_PRINT_SCALE_FIT_TO_PAGE)
		|| (hasFile && *file == '\0'))
		return B_BAD_VALUE;
	// Bleed and slug are written as page boxes of a PDF file, which a printer has not.
	float bleed = 0, slug = 0;
	settings->FindFloat("bleed", &bleed);
	settings->FindFloat("slug", &slug);
	auto sane = [](float margin) {
		return std::isfinite(margin) && margin >= 0 && margin <= kMostBleedOrSlug;
	};
	if ((hasBleed || hasSlug)
		&& ((!hasFile && fPrivate->file.empty()) || !sane(bleed) || !sane(slug)))
		return B_BAD_VALUE;

	QPrinter& printer = fPrivate->printer;
	if (hasFile) {
		printer.setOutputFormat(QPrinter::PdfFormat);
		fPrivate->file = file;
		if (!paper)
			paper = locale_paper();
		fPrivate->jobConfigured = true;
	}
	if (paper)
		printer.setPageSize(*paper);
	if (hasOrientation) {
		printer.setPageOrientation(
			orientation == B_PRINT_LANDSCAPE ? QPageLayout::Landscape : QPageLayout::Portrait);
	}
	if (hasBleed)
		fPrivate->bleed = bleed;
	if (hasSlug)
		fPrivate->slug = slug;
	fPrivate->scale = print_scale(scale);
	fPrivate->settings = std::move(owned);
	return B_OK;
}

status_t BPrintJob::ConfigJob()
{
	auto& answers = kit::hooks::PrintAnswers();
	if (answers) {
		if (!answers->confirmJob) {
			fPrivate->cancelled = true;
			return B_CANCELED;
		}
		fPrivate->printer.setOutputFormat(QPrinter::PdfFormat);
		fPrivate->printer.setOutputFileName(QString::fromStdString(answers->pdfPath));
		fPrivate->jobConfigured = true;
		return B_OK;
	}
	QPrintDialog dialog(&fPrivate->printer);
	dialog.setWindowTitle(QString::fromUtf8(fName.c_str()));
	if (kit::RunModal(&dialog) != QDialog::Accepted) {
		fPrivate->cancelled = true;
		return B_CANCELED;
	}
	fPrivate->jobConfigured = true;
	return B_OK;
}

namespace {

// A rectangle of the page, as the kit's rectangles are: right and bottom inclusive.
BRect page_rect(const QRectF& area)
{
	return BRect(
		float(area.left()), float(area.top()), float(area.right()) - 1, float(area.bottom()) - 1);
}

// A rectangle of the page in PDF's terms, y up from the page's bottom.
kit::PdfBox pdf_box(const QRectF& area, int pageHeight)
{
	return kit::PdfBox{
		area.left(), pageHeight - area.bottom(), area.right(), pageHeight - area.top()};
}

} // namespace

BRect BPrintJob::PrintableRect()
{
	QRectF area = fPrivate->Layout().paintRect(QPageLayout::Point);
	return page_rect(QRectF(QPointF(), area.size()));
}

BRect BPrintJob::PaperRect()
{
	QRectF paper = fPrivate->Layout().fullRect(QPageLayout::Point);
	return page_rect(QRectF(QPointF(), paper.size()));
}

BRect BPrintJob::TrimRect()
{
	return fPrivate->HasSheet() ? page_rect(fPrivate->Sheet().trim) : PaperRect();
}

BRect BPrintJob::BleedRect()
{
	return fPrivate->HasSheet() ? page_rect(fPrivate->Sheet().bleed) : TrimRect();
}

bool BPrintJob::CanContinue() const
{
	return fPrivate->jobConfigured && !fPrivate->cancelled;
}

status_t BPrintJob::Status() const
{
	if (fPrivate->status != B_OK)
		return fPrivate->status;
	return CanContinue() ? B_OK : B_CANCELED;
}

print_scale BPrintJob::Scale() const
{
	return fPrivate->scale;
}

void BPrintJob::_Fail(status_t status)
{
	if (fPrivate->status == B_OK)
		fPrivate->status = status;
	fPrivate->cancelled = true;
	fPrivate->painter.reset();
	fPrivate->pdf.reset();
	fPrivate->device.reset();
	fPrivate->scratch.reset();
	fPrivate->output.reset();
}

void BPrintJob::BeginJob()
{
	if (!CanContinue() || fPrivate->painter)
		return;
	QPagedPaintDevice* target = &fPrivate->printer;
	// A PDF file chosen in the print dialog is written as one the settings name.
	QPrinter& printer = fPrivate->printer;
	if (fPrivate->file.empty() && printer.outputFormat() == QPrinter::PdfFormat)
		fPrivate->file = printer.outputFileName().toStdString();
	if (!fPrivate->file.empty()) {
		BPath path(fPrivate->file.c_str());
		BPath parent;
		path.GetParent(&parent);
		BDirectory folder(parent.Path());
		fPrivate->output = std::make_unique<BFile>();
		status_t status = folder.InitCheck();
		if (status == B_OK)
			status = folder.CreateFile(path.Leaf(), fPrivate->output.get());
		if (status != B_OK)
			return _Fail(status);
		BPositionIO* destination = fPrivate->output.get();
		if (fPrivate->HasSheet()) {
			// Qt's document waits beside the file, on the same disk, for its page boxes.
			fPrivate->scratch = std::make_unique<kit::ScratchFile>(parent.Path());
			if (fPrivate->scratch->InitCheck() != B_OK)
				return _Fail(fPrivate->scratch->InitCheck());
			destination = fPrivate->scratch.get();
			fPrivate->begunSheet = fPrivate->Sheet();
		}
		fPrivate->device = std::make_unique<kit::DestinationDevice>(destination);
		fPrivate->pdf = std::make_unique<QPdfWriter>(fPrivate->device.get());
		fPrivate->pdf->setPageLayout(fPrivate->Layout());
		fPrivate->pdf->setResolution(fPrivate->printer.resolution());
		fPrivate->pdf->setCreator(fPrivate->printer.creator());
		fPrivate->pdf->setTitle(fPrivate->printer.docName());
		target = fPrivate->pdf.get();
	}
	fPrivate->painter = std::make_unique<QPainter>();
	if (!fPrivate->painter->begin(target))
		_Fail(B_ERROR);
}

void BPrintJob::DrawView(BView* view, BRect rect, BPoint where)
{
	if (view == nullptr || !fPrivate->painter || !rect.IsValid())
		return;
	if (fPrivate->pageEnded) {
		QPagedPaintDevice* device = fPrivate->pdf
			? static_cast<QPagedPaintDevice*>(fPrivate->pdf.get())
			: &fPrivate->printer;
		if (!device->newPage())
			return _Fail(B_ERROR);
		fPrivate->pageEnded = false;
	}
	QPainter* painter = fPrivate->painter.get();
	painter->save();
	// The painter starts at the printable area's top-left, in device dots; the page is laid
	// out in points.
	double dotsPerPoint = fPrivate->printer.resolution() / double(kit::kDotsPerInch);
	painter->scale(dotsPerPoint, dotsPerPoint);
	if (fPrivate->scale == B_PRINT_SCALE_FIT_TO_PAGE) {
		// The whole rectangle, as large as the printable area allows.
		QRectF page = fPrivate->Layout().paintRect(QPageLayout::Point);
		double width = rect.Width() + 1;
		double height = rect.Height() + 1;
		double fit = std::min(page.width() / width, page.height() / height);
		painter->translate((page.width() - width * fit) / 2, (page.height() - height * fit) / 2);
		painter->scale(fit, fit);
		painter->translate(-rect.left, -rect.top);
	} else {
		// One view pixel is one point on paper.
		painter->translate(where.x - rect.left, where.y - rect.top);
	}
	painter->setClipRect(QRectF(rect.left, rect.top, rect.Width() + 1, rect.Height() + 1));
	kit::DrawingTarget target(painter, nullptr, QPointF(), true);
	// The whole rectangle is drawn, and nothing that lies wholly outside it.
	target.SetReach(QRectF(rect.left, rect.top, rect.Width() + 1, rect.Height() + 1));
	kit::ViewAccess::SetPrintTarget(view, &target);
	view->Draw(rect);
	kit::ViewAccess::SetPrintTarget(view, nullptr);
	painter->restore();
	fPrivate->pageDrawn = true;
}

void BPrintJob::SpoolPage()
{
	// A page with nothing drawn on it is not ended: the job holds no blank pages.
	if (!fPrivate->painter || !fPrivate->pageDrawn)
		return;
	fPrivate->pageDrawn = false;
	fPrivate->pageEnded = true;
}

void BPrintJob::CommitJob()
{
	if (!fPrivate->painter)
		return;
	if (!fPrivate->painter->end())
		return _Fail(B_ERROR);
	fPrivate->painter.reset();
	if (fPrivate->output) {
		// The file is put in place only when every byte of it was written and synced.
		fPrivate->pdf.reset();
		status_t status = fPrivate->device->Failure();
		if (status == B_OK && fPrivate->scratch) {
			const kit::PrintSheet& sheet = fPrivate->begunSheet;
			status = kit::WritePageBoxes(fPrivate->scratch->Descriptor(), fPrivate->output.get(),
				pdf_box(sheet.trim, sheet.page.height()),
				pdf_box(sheet.bleed, sheet.page.height()));
		}
		if (status == B_OK)
			status = fPrivate->output->Commit();
		if (status != B_OK)
			return _Fail(status);
		fPrivate->device.reset();
		fPrivate->scratch.reset();
		fPrivate->output.reset();
	}
}

void BPrintJob::CancelJob()
{
	if (fPrivate->painter && !fPrivate->pdf)
		fPrivate->printer.abort();
	_Fail(B_CANCELED);
}
