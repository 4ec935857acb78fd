#include "PrintJob.h"

#include <QCoreApplication>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "DrawingTarget.h"
#include "QtApplication.h"
#include "TestingHooks.h"
#include "ViewAccess.h"

struct BPrintJob::Private {
	QPrinter printer{QPrinter::HighResolution};
	std::unique_ptr<QPainter> painter;
	bool jobConfigured = false;
	bool cancelled = false;
	bool pageDrawn = false;
};

BPrintJob::BPrintJob(const char* name) : fName(name ? name : ""), fPrivate(new Private)
{
	kit::EnsureQtApplication();
	fPrivate->printer.setDocName(QString::fromUtf8(fName.c_str()));
	// The application's name, which BApplication takes from its signature.
	fPrivate->printer.setCreator(QCoreApplication::applicationName());
}

BPrintJob::~BPrintJob()
{
	// A job that was begun but never committed is abandoned, not printed.
	if (fPrivate->painter && fPrivate->painter->isActive())
		fPrivate->printer.abort();
}

status_t BPrintJob::ConfigPage()
{
	auto& answers = kit::hooks::PrintAnswers();
	if (answers)
		return answers->confirmPage ? B_OK : B_CANCELED;
	QPageSetupDialog dialog(&fPrivate->printer);
	return dialog.exec() == QDialog::Accepted ? B_OK : B_CANCELED;
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
	if (dialog.exec() != QDialog::Accepted) {
		fPrivate->cancelled = true;
		return B_CANCELED;
	}
	fPrivate->jobConfigured = true;
	return B_OK;
}

BRect BPrintJob::PrintableRect()
{
	QRectF area = fPrivate->printer.pageLayout().paintRect(QPageLayout::Point);
	return BRect(0, 0, float(area.width()) - 1, float(area.height()) - 1);
}

BRect BPrintJob::PaperRect()
{
	QRectF paper = fPrivate->printer.pageLayout().fullRect(QPageLayout::Point);
	return BRect(0, 0, float(paper.width()) - 1, float(paper.height()) - 1);
}

bool BPrintJob::CanContinue() const
{
	return fPrivate->jobConfigured && !fPrivate->cancelled;
}

void BPrintJob::BeginJob()
{
	if (!CanContinue() || fPrivate->painter)
		return;
	fPrivate->painter = std::make_unique<QPainter>();
	if (!fPrivate->painter->begin(&fPrivate->printer)) {
		fPrivate->painter.reset();
		fPrivate->cancelled = true;
	}
}

void BPrintJob::DrawView(BView* view, BRect rect, BPoint where)
{
	if (view == nullptr || !fPrivate->painter || !rect.IsValid())
		return;
	QPainter* painter = fPrivate->painter.get();
	painter->save();
	// One view pixel is one point on paper.
	double scale = fPrivate->printer.resolution() / double(kit::kDotsPerInch);
	painter->scale(scale, scale);
	painter->translate(where.x - rect.left, where.y - rect.top);
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
	// Each job holds one page; the page is complete once drawn.
}

void BPrintJob::CommitJob()
{
	if (!fPrivate->painter)
		return;
	fPrivate->painter->end();
	fPrivate->painter.reset();
}

void BPrintJob::CancelJob()
{
	fPrivate->cancelled = true;
	if (fPrivate->painter) {
		fPrivate->printer.abort();
		fPrivate->painter.reset();
	}
}
