// The smallest honest picture viewer in plain Qt Widgets, the yardstick for dorva's start-up,
// open and memory: it reads the file with QImageReader, shows it in a QLabel inside a
// QScrollArea as Qt's own Image Viewer example does (the image kept, a pixmap made from it),
// sizes the window to the picture within the screen, and once the window is shown titles it
// "name[WIDTHxHEIGHT]" as dorva does.
//   reference_viewer PICTURE
#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <cstdio>

int main(int argc, char** argv)
{
	QApplication application(argc, argv);
	if (argc < 2) {
		std::fprintf(stderr, "usage: reference_viewer PICTURE\n");
		return 2;
	}
	const QString path = QString::fromLocal8Bit(argv[1]);
	QImageReader reader(path);
	reader.setAutoTransform(true);
	QImage image = reader.read();
	if (image.isNull()) {
		std::fprintf(stderr, "reference_viewer: %s\n", qPrintable(reader.errorString()));
		return 1;
	}

	QScrollArea window;
	auto* label = new QLabel;
	label->setPixmap(QPixmap::fromImage(image));
	window.setWidget(label);
	QSize room = window.screen()->availableSize();
	window.resize(image.size().boundedTo(room));
	window.show();
	window.setWindowTitle(QStringLiteral("%1[%2x%3]")
							  .arg(QFileInfo(path).fileName())
							  .arg(image.width())
							  .arg(image.height()));
	return application.exec();
}
