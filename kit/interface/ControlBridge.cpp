#include "ControlBridge.h"

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
	: QWidget(parent), fLabel(new QLabel(label, this)), fEntry(entry)
{
	fEntry->setParent(this);
	// The parent view's colour shows around the label, as it does around a drawn control.
	fLabel->setAutoFillBackground(false);
	fLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
	_Place();
}

void LabeledRow::SetLabel(const QString& label)
{
	fLabel->setText(label);
	_Place();
}

void LabeledRow::resizeEvent(QResizeEvent*)
{
	_Place();
}

void LabeledRow::_Place()
{
	if (fLabel->text().isEmpty()) {
		fLabel->hide();
		fEntry->setGeometry(0, 0, width(), height());
		return;
	}
	int spacing = style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing);
	if (spacing < 0)
		spacing = kFallbackLabelSpacing;
	int labelWidth = std::min(fLabel->sizeHint().width(), width());
	fLabel->setGeometry(0, 0, labelWidth, height());
	fLabel->show();
	int entryLeft = std::min(labelWidth + spacing, width());
	fEntry->setGeometry(entryLeft, 0, width() - entryLeft, height());
}

} // namespace kit
