// The one Qt application object of the process. The kit creates it on first need and keeps
// it until the process exits, so that BApplication objects (and tests) can come and go.
#pragma once

class QApplication;

namespace kit {

// The application with the system fonts set up (be_plain_font, be_bold_font).
QApplication* EnsureQtApplication();

// The application alone, before the fonts: for work that needs the platform but no text and
// can run on another thread while the fonts are set up (the image formats' listing).
QApplication* EnsureQtApplicationWithoutFonts();

// Names the Qt application after an application's signature. The reverse-DNS application
// id is the signature's bus name (BusProtocol.h): "application/x-vnd.Vendor-program" gives
// "x_vnd.Vendor.program", which is also the name of the program's desktop file. The
// application name, which windowing systems and print jobs show, is the program's name
// that the bus texts use too (BusCall.h), the id's last element: "program".
void NameQtApplication(const char* signature);

} // namespace kit
