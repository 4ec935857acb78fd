// dorva-send: sends one message to the running dorva over the session bus, through the
// kit's remote messenger. It needs no display.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "FieldParser.h"
#include "RemoteMessenger.h"
#include "application_codes.h"
#include "signature.h"

namespace {

// Exit statuses: delivered, not delivered (or refused by dorva), bad command line.
enum { kDelivered = 0, kNotDelivered = 1, kBadUsage = 2 };

const char kUsage[] =
	"usage: dorva-send CODE [NAME=TYPE:VALUE ...]\n"
	"       dorva-send --list-formats\n"
	"       dorva-send --help\n"
	"\n"
	"Sends one message to the running dorva, to its canvas; \"_QRQ\" asks dorva to quit.\n"
	"CODE is four characters, like ficl (close the picture) or fiwr (export).\n"
	"A field is NAME=TYPE:VALUE; TYPE is one of int8, int16, int32, float, bool\n"
	"(true, false, 1, 0), string, ref (a path, made absolute; it need not exist).\n"
	"A name given again with the same type adds a value.\n"
	"\n"
	"  dorva-send DATA refs=ref:photo.png        open a picture\n"
	"  dorva-send fiwr format_no=int16:2         show the save panel for format 2\n"
	"  dorva-send SAVE directory=ref:/tmp name=string:out.png\n"
	"                                            answer the save panel (for scripts)\n"
	"  dorva-send --list-formats                 print index<TAB>name<TAB>mime per line\n"
	"\n"
	"Exit status: 0 delivered, 1 not delivered (dorva not running, or it refused the\n"
	"message), 2 a bad command line. Each error is told on standard error in one line,\n"
	"\"dorva-send: \" and what went wrong; without arguments this text goes there.\n";

// Tells what went wrong and gives the status to exit with.
int failure(int status, const std::string& what)
{
	std::fprintf(stderr, "dorva-send: %s\n", what.c_str());
	return status;
}

std::string working_directory()
{
	std::vector<char> buffer(4096);
	while (getcwd(buffer.data(), buffer.size()) == nullptr) {
		if (errno != ERANGE)
			return "/";
		buffer.resize(buffer.size() * 2);
	}
	return buffer.data();
}

int list_formats()
{
	BRemoteMessenger dorva(kAppSignature);
	// The application replies with "index", "name" and "mime", one value of each per format.
	BMessage request(CMD_LIST_FORMATS);
	BMessage reply;
	if (dorva.SendMessage(&request, &reply) != B_OK)
		return failure(kNotDelivered, dorva.ErrorText());
	type_code type;
	int32 count = 0;
	int32 names = 0;
	int32 mimes = 0;
	reply.GetInfo("index", &type, &count);
	reply.GetInfo("name", &type, &names);
	reply.GetInfo("mime", &type, &mimes);
	std::vector<std::string> lines;
	for (int32 i = 0; i < count; i++) {
		int32 index = 0;
		std::string name;
		std::string mime;
		if (names != count || mimes != count || reply.FindInt32("index", i, &index) != B_OK
			|| reply.FindString("name", i, &name) != B_OK
			|| reply.FindString("mime", i, &mime) != B_OK)
			return failure(kNotDelivered, "dorva answered with a malformed list of formats");
		lines.push_back(std::to_string(index) + "\t" + name + "\t" + mime + "\n");
	}
	for (const std::string& line : lines)
		std::fputs(line.c_str(), stdout);
	return kDelivered;
}

} // namespace

int main(int argc, char** argv)
{
	if (argc < 2) {
		std::fputs(kUsage, stderr);
		return kBadUsage;
	}
	const std::string first = argv[1];
	if (first == "--help" || first == "-h") {
		std::fputs(kUsage, stdout);
		return kDelivered;
	}
	if (first == "--list-formats") {
		if (argc > 2)
			return failure(kBadUsage, "--list-formats takes no further arguments");
		return list_formats();
	}
	if (first.size() > 1 && first[0] == '-' && first[1] == '-')
		return failure(kBadUsage, "unknown option '" + first + "' (try --help)");

	std::string why;
	uint32 code = 0;
	if (!dorva_send::parse_message_code(first, &code, &why))
		return failure(kBadUsage, why);
	BMessage message(code);
	const std::string cwd = working_directory();
	for (int i = 2; i < argc; i++) {
		if (!dorva_send::parse_field(argv[i], cwd, &message, &why))
			return failure(kBadUsage, why);
	}
	BRemoteMessenger dorva(kAppSignature);
	if (dorva.SendMessage(&message) != B_OK)
		return failure(kNotDelivered, dorva.ErrorText());
	return kDelivered;
}
