#include "dorva.h"

#include <cstdio>
#include <string>
#include <vector>

#include "Alert.h"
#include "Entry.h"
#include "application_codes.h"
#include "command_line.h"
#include "dorvaview.h"
#include "dorvawindow.h"
#include "ics_holidays.h"
#include "localization.h"
#include "option_parser.h"
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

	// Other programs send the canvas their commands ("fiwr", "ficl", ...) over the session
	// bus, and ask the application for the formats it exports to. Without a bus the program
	// works as before, so the result is not examined.
	PublishMessageTarget(main_window->canvas, {CMD_LIST_FORMATS});

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
		case CMD_LIST_FORMATS:
			list_output_formats(message);
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
	// The options are read before anything of the platform starts, so that a bad command
	// line ends the program before any window.
	const std::string program = program_name(argc > 0 ? argv[0] : nullptr);
	command_line line = read_command_line(argc, argv);
	switch (line.action) {
		case command_line::HELP:
			print_usage(stdout, program);
			return 0;
		case command_line::VERSION:
			std::printf("%s\n", kProgramTitle);
			return 0;
		case command_line::BAD:
			std::fprintf(stderr, "%s: %s\n", program.c_str(), line.error.c_str());
			print_usage(stderr, program);
			return kUsageExitStatus;
		case command_line::RUN:
			break;
	}
	if (line.calendar.list_holidays)
		return print_holiday_sets(stdout, stderr, program);
	std::string refused;
	if (!check_holiday_sets(line.calendar, &refused)) {
		std::fprintf(stderr, "%s: %s\n", program.c_str(), refused.c_str());
		return kUsageExitStatus;
	}

	// Such a file is still handed to the canvas, which fails to open it as any other.
	for (const std::string& file : files_like_options(line))
		std::fprintf(stderr, "%s: %s: no such file or option\n", program.c_str(),
			printable_text(file).c_str());

	tr = BTranslatorRoster::Default();
	if (tr == nullptr)
		return 1;

	// A holiday file that cannot be read is named on standard error; the calendar goes on
	// with the other sets.
	std::vector<std::string> errors;
	apply_calendar_options(line.calendar, &cal, &errors);
	for (const std::string& error : errors)
		std::fprintf(stderr, "%s: %s\n", program.c_str(), error.c_str());

	// The application object sees the program and its files, as if no option was given.
	std::vector<char*> files{argc > 0 ? argv[0] : nullptr};
	for (std::string& file : line.files)
		files.push_back(file.data());
	files.push_back(nullptr);
	{
		dorva application(int(files.size()) - 1, files.data());
		// The band's position is set after the canvas has given atr its defaults, before
		// the loop runs and the canvas first draws a picture.
		apply_band_option(line.calendar, &atr);
		application.Run();
	}
	return 0;
}
