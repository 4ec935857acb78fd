// Where a view's drawing goes: its retained buffer, or a printer's page while a print job
// runs the view's Draw(). Coordinates given to the painter are the view's own.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegion>

#include <optional>

#include "Font.h"
#include "GraphicsDefs.h"

namespace kit {

// The kit draws in points, 1/72 inch: the images it draws into have 72 dots per inch, so
// that a view's pixel is a point on paper and a font's point size is its size in pixels.
const int kDotsPerInch = 72;

class DrawingTarget {
public:
	// painter is already transformed so that view coordinates map to the device.
	DrawingTarget(QPainter* painter, QImage* rasterImage, QPointF rasterOffset, bool printing)
		: fPainter(painter), fImage(rasterImage), fOffset(rasterOffset), fPrinting(printing)
	{
	}
	// A raster image, all of it or only the part clip (in the image's pixels) open to
	// drawing. Its painter is made when a drawing call first needs one.
	DrawingTarget(QImage* rasterImage, QPointF rasterOffset, std::optional<QRegion> clip)
		: fPainter(nullptr), fImage(rasterImage), fOffset(rasterOffset), fPrinting(false),
		  fClip(std::move(clip))
	{
		QRect open = fClip ? fClip->boundingRect() : rasterImage->rect();
		SetReach(QRectF(open).translated(-rasterOffset));
	}
	DrawingTarget(const DrawingTarget&) = delete;
	DrawingTarget& operator=(const DrawingTarget&) = delete;

	QPainter* Painter()
	{
		if (fPainter == nullptr && fImage != nullptr) {
			fOwnPainter.emplace(fImage);
			// The clip is given in device pixels, so it is set before the view's
			// coordinates are.
			if (fClip)
				fOwnPainter->setClipRegion(*fClip);
			fOwnPainter->translate(fOffset);
			fPainter = &*fOwnPainter;
		}
		return fPainter;
	}
	// The buffer when drawing on screen (pixels can be blended by hand), else null.
	QImage* RasterImage() const { return fImage; }
	// Device pixel = view point + offset, for the raster image.
	QPointF RasterOffset() const { return fOffset; }
	bool IsPrinting() const { return fPrinting; }
	// The device pixels that drawing may change, when they are fewer than the image's.
	const std::optional<QRegion>& Clip() const { return fClip; }

	// The part of the view's coordinates that drawing can reach: what lies wholly outside
	// it is skipped before any work is done for it. Without one, everything is drawn.
	void SetReach(const QRectF& viewArea) { fReach = viewArea; }
	bool Reaches(const QRectF& viewArea) const { return !fReach || fReach->intersects(viewArea); }
	const std::optional<QRectF>& Reach() const { return fReach; }

private:
	QPainter* fPainter;
	QImage* fImage;
	QPointF fOffset;
	bool fPrinting;
	std::optional<QRegion> fClip;
	std::optional<QRectF> fReach;
	std::optional<QPainter> fOwnPainter;
};

// An image for the kit to draw into, at least 1 x 1 pixels, at kDotsPerInch.
QImage MakeDrawingImage(int width, int height, QImage::Format format);

// The Qt colour of an rgb_color; without alpha, the colour is opaque.
inline QColor ToQColor(rgb_color color, bool withAlpha)
{
	return withAlpha ? QColor(color.red, color.green, color.blue, color.alpha)
					 : QColor(color.red, color.green, color.blue);
}

// The Qt font for a BFont on a device: the point size is chosen so that the font is
// font.Size() pixels of that device's logical coordinates, fractions kept.
QFont ToQFont(const BFont& font, const QPaintDevice* device);
// A 72-dpi reference device for measuring text outside of drawing.
const QPaintDevice* MeasuringDevice();

} // namespace kit
