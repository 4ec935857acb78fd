// Where a view's drawing goes: its retained buffer, or a printer's page while a print job
// runs the view's Draw(). Coordinates given to the painter are the view's own.
#pragma once

#include <QFont>
#include <QPainter>

#include "Font.h"

namespace kit {

class DrawingTarget {
public:
	// painter is already transformed so that view coordinates map to the device.
	DrawingTarget(QPainter* painter, QImage* rasterImage, QPointF rasterOffset, bool printing)
		: fPainter(painter), fImage(rasterImage), fOffset(rasterOffset), fPrinting(printing) {}

	QPainter* Painter() const { return fPainter; }
	// The buffer when drawing on screen (pixels can be blended by hand), else null.
	QImage* RasterImage() const { return fImage; }
	// Device pixel = view point + offset, for the raster image.
	QPointF RasterOffset() const { return fOffset; }
	bool IsPrinting() const { return fPrinting; }

private:
	QPainter* fPainter;
	QImage* fImage;
	QPointF fOffset;
	bool fPrinting;
};

// The Qt font for a BFont on a device: the point size is chosen so that the font is
// font.Size() pixels of that device's logical coordinates, fractions kept.
QFont ToQFont(const BFont& font, const QPaintDevice* device);
// A 72-dpi reference device for measuring text outside of drawing.
const QPaintDevice* MeasuringDevice();

} // namespace kit
