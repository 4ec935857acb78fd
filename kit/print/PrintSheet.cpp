#include "PrintSheet.h"

#include <QPageSize>

#include <cmath>
#include <utility>

namespace kit {

namespace {

// The paper's size in points as its standard defines it (210 x 297 mm for A4), where Qt's
// own point size is rounded to whole points.
QSizeF exact_points(const QPageSize& paper)
{
	QSizeF size = paper.definitionSize();
	switch (paper.definitionUnits()) {
		case QPageSize::Millimeter:
			return size * (72.0 / 25.4);
		case QPageSize::Inch:
			return size * 72.0;
		case QPageSize::Point:
			return size;
		default:
			return paper.size(QPageSize::Point);
	}
}

// The whole points that hold length, with no more than rounding noise cut off.
int whole_points_holding(double length)
{
	return int(std::ceil(length - 1e-6));
}

} // namespace

PrintSheet LayOutSheet(const QPageLayout& layout, double bleed, double slug)
{
	QSizeF trim = exact_points(layout.pageSize());
	if (layout.orientation() == QPageLayout::Landscape)
		trim.transpose();
	const double around = bleed + slug;
	PrintSheet sheet;
	sheet.page = QSize(whole_points_holding(trim.width() + 2 * around),
		whole_points_holding(trim.height() + 2 * around));
	sheet.trim = QRectF(
		QPointF((sheet.page.width() - trim.width()) / 2, (sheet.page.height() - trim.height()) / 2),
		trim);
	sheet.bleed = sheet.trim.adjusted(-bleed, -bleed, bleed, bleed);
	return sheet;
}

QPageLayout SheetPageLayout(const PrintSheet& sheet)
{
	// Exactly this size: Qt would otherwise take a standard paper that is close to it.
	QPageSize page(sheet.page, QString(), QPageSize::ExactMatch);
	return QPageLayout(page, QPageLayout::Portrait, QMarginsF(), QPageLayout::Point);
}

} // namespace kit
