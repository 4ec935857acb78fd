// dorva-send: sends one message to the running dorva over the session bus.
#include <QCoreApplication>

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "BusClient.h"
#include "BusProtocol.h"
#include "FieldParser.h"

namespace {

const char kSignature[] = "application/x-vnd.Vesk-dorva";

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
	"message), 2 a bad command line.\n";

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

	// Qt reads options of its own from argv; the tool's arguments are not for it.
	int qtArgc = 1;
	char* qtArgv[] = {argv[0], nullptr};
	QCoreApplication application(qtArgc, qtArgv);
	const std::string busName = kit::bus::bus_name_for_signature(kSignature);

	if (first == "--list-formats") {
		if (argc > 2) {
			std::fputs("dorva-send: --list-formats takes no further arguments\n", stderr);
			return kBadUsage;
		}
		std::vector<dorva_send::listed_format> formats;
		std::string why = dorva_send::list_output_formats(busName, &formats);
		if (!why.empty()) {
			std::fprintf(stderr, "dorva-send: %s\n", why.c_str());
			return kNotDelivered;
		}
		for (const dorva_send::listed_format& format : formats)
			std::printf("%d\t%s\t%s\n", format.index, format.name.c_str(), format.mime.c_str());
		return kDelivered;
	}

	std::string why;
	if (first.size() > 1 && first[0] == '-' && first[1] == '-') {
		std::fprintf(stderr, "dorva-send: unknown option '%s' (try --help)\n", first.c_str());
		return kBadUsage;
	}
	if (!dorva_send::check_message_code(first, &why)) {
		std::fprintf(stderr, "dorva-send: %s\n", why.c_str());
		return kBadUsage;
	}
	const std::string cwd = working_directory();
	std::vector<dorva_send::wire_field> fields;
	for (int i = 2; i < argc; i++) {
		dorva_send::wire_field field;
		if (!dorva_send::parse_field(argv[i], cwd, &field, &why)) {
			std::fprintf(stderr, "dorva-send: %s\n", why.c_str());
			return kBadUsage;
		}
		fields.push_back(std::move(field));
	}
	why = dorva_send::send_message(busName, first, fields);
	if (!why.empty()) {
		std::fprintf(stderr, "dorva-send: %s\n", why.c_str());
		return kNotDelivered;
	}
	return kDelivered;
}
