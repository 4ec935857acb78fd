#include "dorva.h"

#include <string>

#include "Alert.h"
#include "Entry.h"
#include "dorvaview.h"
#include "dorvawindow.h"
#include "localization.h"
#include "output_catalogue.h"
#include "program_name.h"
#include "signature.h"
#include "tr.h"

// Where the main window opens, in screen coordinates.
constexpr BRect kMainWindowFrame(100, 100, 300, 250);

// What the About box says after the program's name and version.
static const char kAboutDetails[] =
	"   2007.1.1\n"
	"by the dorva developers\n"
	"\n"
	"Problems and wishes: see README.md in the sources\n"
	"Home: the dorva source tree";

dorva::dorva(int argc, char** argv) : BApplication(kAppSignature), main_window(nullptr)
{
	load_language_dictionary(this);

	main_window = new dorvawindow(kMainWindowFrame);

	// Other programs send the canvas their commands ("fiwr", "ficl", "fifm", ...) over the
	// session bus. Without a bus the program works as before, so the result is not examined.
	PublishMessageTarget(main_window->canvas);

	if (argc > 1) {
		BMessage refs(B_SIMPLE_DATA);
		for (int i = 1; i < argc; i++) {
			// Every argument adds one ref; one that names no entry adds the empty ref, which
			// the canvas then fails to open like any other unreadable file.
			BEntry entry(argv[i], false);
			entry_ref ref;
			entry.GetRef(&ref);
			refs.AddRef("refs", &ref);
		}
		_send_to_canvas(&refs);
	}
}

dorva::~dorva() = default;

void dorva::_send_to_canvas(BMessage* message)
{
	BMessenger(main_window->canvas).SendMessage(message, nullptr, B_INFINITE_TIMEOUT);
}

void dorva::RefsReceived(BMessage* message)
{
	type_code type;
	int32 count = 0;
	if (message->GetInfo("refs", &type, &count) != B_OK || count == 0)
		return;
	BMessage refs(B_SIMPLE_DATA);
	for (int32 i = 0; i < count; i++) {
		entry_ref ref;
		message->FindRef("refs", i, &ref);
		refs.AddRef("refs", &ref);
	}
	_send_to_canvas(&refs);
}

void dorva::MessageReceived(BMessage* message)
{
	switch (message->what) {
		case B_SAVE_REQUESTED:
			_forward_save(message);
			break;
		case B_CANCEL:
			_forward_cancel();
			break;
		default:
			BApplication::MessageReceived(message);
			break;
	}
}

// The save panel's answer goes to the canvas with its folder and name and nothing else.
void dorva::_forward_save(BMessage* message)
{
	entry_ref directory;
	const char* name = nullptr;
	message->FindRef("directory", &directory);
	message->FindString("name", &name);
	BMessage save(B_SAVE_REQUESTED);
	save.AddRef("directory", &directory);
	if (name != nullptr)
		save.AddString("name", name);
	_send_to_canvas(&save);
}

// A file panel has closed: the canvas may show another.
void dorva::_forward_cancel()
{
	BMessage cancel(B_CANCEL);
	_send_to_canvas(&cancel);
}

void dorva::AboutRequested()
{
	const std::string text = std::string(kProgramTitle) + kAboutDetails;
	BAlert* about =
		new BAlert("", text.c_str(), "Thank you", nullptr, nullptr, B_WIDTH_AS_USUAL, B_INFO_ALERT);
	about->Go();
}

int dorva_main(int argc, char** argv)
{
	tr = BTranslatorRoster::Default();
	if (tr == nullptr)
		return 1;
	{
		dorva application(argc, argv);
		application.Run();
	}
	return 0;
}
