#include "ControlBridge.h"

#include <QFontMetrics>
#include <QStyle>

#include <algorithm>

#include "InterfaceDefs.h"

namespace kit {

// Used when the style names no spacing between a label and its field.
static const int kFallbackLabelSpacing = 6;

void ControlBridge::_SetFocusPolicyFromFlags(QWidget* widget) const
{
	widget->setFocusPolicy(fView->Flags() & B_NAVIGABLE ? Qt::StrongFocus : Qt::ClickFocus);
}

LabeledRow::LabeledRow(QWidget* parent, const QString& label, QWidget* entry)
	: QWidget(parent), fLabel(new QLabel(label, this)), fEntry(entry), fLabelText(label),
	  fEntryRoom(0)
{
	fEntry->setParent(this);
	// The parent view's colour shows around the label, as it does around a drawn control.
	fLabel->setAutoFillBackground(false);
	fLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
	_Place();
}

void LabeledRow::SetLabel(const QString& label)
{
	fLabelText = label;
	_Place();
}

void LabeledRow::SetEntryRoom(int width)
{
	if (width == fEntryRoom)
		return;
	fEntryRoom = width;
	_Place();
}

void LabeledRow::resizeEvent(QResizeEvent*)
{
	_Place();
}

void LabeledRow::_Place()
{
	if (fLabelText.isEmpty()) {
		fLabel->hide();
		fEntry->setGeometry(0, 0, width(), height());
		return;
	}
	int spacing = style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing);
	if (spacing < 0)
		spacing = kFallbackLabelSpacing;

	const QFontMetrics metrics = fLabel->fontMetrics();
	fLabel->setText(fLabelText);
	const int natural = fLabel->sizeHint().width();
	// What the label keeps around its text, and the least it shrinks to: its ellipsis.
	const int padding = natural - metrics.horizontalAdvance(fLabelText);
	const int least = std::min(natural, padding + metrics.horizontalAdvance(QChar(0x2026)));
	int labelWidth = std::min(natural, width());
	if (fEntryRoom > 0 && labelWidth + spacing + fEntryRoom > width())
		labelWidth = std::max(least, width() - spacing - fEntryRoom);

	if (labelWidth < natural) {
		fLabel->setText(metrics.elidedText(fLabelText, Qt::ElideRight, labelWidth - padding));
		fLabel->setToolTip(fLabelText);
	} else {
		fLabel->setToolTip(QString());
	}
	fLabel->setGeometry(0, 0, labelWidth, height());
	fLabel->show();
	int entryLeft = std::min(labelWidth + spacing, width());
	fEntry->setGeometry(entryLeft, 0, width() - entryLeft, height());
}

} // namespace kit
