// What plain Qt takes for the work dorva's canvas does, measured the same way (median wall
// time of several runs), as the yardstick for scripts/bench.sh:
//   reference_bench draw PICTURE RUNS     QPainter draws the picture, a translucent band and
//                                         the calendar's 377 strings into a QImage
//   reference_bench png PICTURE OUT RUNS  QImageWriter writes the picture as PNG at its
//                                         defaults
// Prints "key value" lines.
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "BenchClock.h"

namespace {

QImage read_picture(const char* path)
{
	QImageReader reader(QString::fromLocal8Bit(path));
	QImage image = reader.read();
	if (image.isNull()) {
		std::fprintf(stderr, "reference_bench: %s: %s\n", path, qPrintable(reader.errorString()));
		std::exit(1);
	}
	return image.convertToFormat(QImage::Format_RGB32);
}

// A font of the application's family at a size in pixels, as dorva's kit sets one (points
// at the device's resolution, fractional sizes kept).
QFont font_of_size(double pixels, const QPaintDevice& device)
{
	QFont font = QGuiApplication::font();
	font.setPointSizeF(pixels * 72.0 / device.logicalDpiY());
	font.setStyleStrategy(QFont::PreferAntialias);
	return font;
}

// The calendar over the picture: the band along the bottom, twelve month numbers and every
// date of 2007 in seven weekday columns, at the sizes and places dorva uses for a picture
// of this size.
void draw_calendar(QPainter& painter, const QImage& target)
{
	const double left = 0, right = target.width() - 1, bottom = target.height() - 1;
	const double c = (right - left) / 6;
	const double bandTop = bottom - 2 * c;
	painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
	painter.fillRect(QRectF(left, bandTop, right - left + 1, 2 * c + 1), QColor(0, 0, 0, 128));

	QFont monthFont = font_of_size(c / 7, target);
	painter.setFont(monthFont);
	QFontMetricsF monthMetrics(monthFont, &target);
	const int monthHeight = int(monthMetrics.ascent() + monthMetrics.descent());
	painter.setPen(QColor(0, 255, 0));
	for (int i = 0; i < 12; i++) {
		QString text = QString::number(i + 1);
		int width = int(monthMetrics.horizontalAdvance(text));
		int x0 = int(c * (i % 6)), y0 = int(c * (i / 6));
		painter.drawText(QPointF(left + x0 + c / 2 - width / 2, bandTop + y0 + monthHeight), text);
	}

	QFont dayFont = font_of_size(c / 10, target);
	painter.setFont(dayFont);
	QFontMetricsF dayMetrics(dayFont, &target);
	const int dayHeight = int(dayMetrics.ascent() + dayMetrics.descent());
	static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
	int first = 1; // 1 January 2007 was a Monday (0 is Sunday)
	for (int month = 0; month < 12; month++) {
		int x0 = int(c * (month % 6)), y0 = int(c * (month / 6));
		for (int day = 1; day <= kDays[month]; day++) {
			int weekday = (first + day - 1) % 7;
			int row = (first + day - 1) / 7;
			painter.setPen(weekday == 0 ? QColor(255, 0, 0)
					: weekday == 6      ? QColor(0, 0, 255)
										: QColor(0, 0, 0));
			QString text = QString::number(day);
			int width = int(dayMetrics.horizontalAdvance(text));
			painter.drawText(QPointF(left + x0 + c * (weekday + 1) / 8 - width / 2,
								 bandTop + y0 + monthHeight + dayHeight * (row + 1)),
				text);
		}
		first = (first + kDays[month]) % 7;
	}
}

int draw(const char* path, int runs)
{
	const QImage picture = read_picture(path);
	QImage target(picture.size(), QImage::Format_RGB32);
	auto once = [&] {
		QPainter painter(&target);
		painter.drawImage(0, 0, picture);
		draw_calendar(painter, target);
	};
	once(); // warm the font caches, as the program's first drawing does
	std::printf("draw_picture %dx%d\n", picture.width(), picture.height());
	std::printf("draw_full_ms %.2f\n", median_ms(runs, once));
	return 0;
}

int png(const char* path, const char* out, int runs)
{
	const QImage picture = read_picture(path);
	bool written = true;
	double ms = median_ms(runs, [&] {
		QImageWriter writer(QString::fromLocal8Bit(out), "png");
		written = writer.write(picture) && written;
	});
	if (!written) {
		std::fprintf(stderr, "reference_bench: could not write %s\n", out);
		return 1;
	}
	std::printf("png_picture %dx%d\n", picture.width(), picture.height());
	std::printf("png_ms %.1f\n", ms);
	std::printf(
		"png_bytes %lld\n", static_cast<long long>(QFileInfo(QString::fromLocal8Bit(out)).size()));
	return 0;
}

} // namespace

int main(int argc, char** argv)
{
	QGuiApplication application(argc, argv);
	if (argc == 4 && std::strcmp(argv[1], "draw") == 0)
		return draw(argv[2], std::atoi(argv[3]));
	if (argc == 5 && std::strcmp(argv[1], "png") == 0)
		return png(argv[2], argv[3], std::atoi(argv[4]));
	std::fprintf(stderr, "usage: reference_bench draw PICTURE RUNS | png PICTURE OUT RUNS\n");
	return 2;
}
