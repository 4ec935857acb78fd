// dorva-send's command line: a message code, then fields written NAME=TYPE:VALUE, one per
// line of the input, parsed into one message as the tool parses its arguments. A field
// that is refused leaves the message as it was and says why; one that is taken adds
// exactly one value.
#include <string>
#include <vector>

#include "FieldParser.h"
#include "FuzzSupport.h"

namespace {

// The folders relative refs are taken from: the root, ordinary ones, untidy ones.
const char* const kFolders[] = {"/", "/tmp", "/home/user/pictures", "/a/./b/../c/", "//x//y"};

std::string flat_bytes(const BMessage& message)
{
	BMessage carrier;
	carrier.AddMessage("flat", &message);
	const void* bytes = nullptr;
	ssize_t size = 0;
	carrier.FindData("flat", B_MESSAGE_TYPE, &bytes, &size);
	return std::string(static_cast<const char*>(bytes), size_t(size));
}

int32 values_of(const BMessage& message, const std::string& name)
{
	type_code type = 0;
	int32 count = 0;
	message.GetInfo(name.c_str(), &type, &count);
	return count;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
	fuzz::PrepareEnvironment();
	return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	std::vector<std::string> lines(1);
	for (size_t i = 0; i < size; i++) {
		if (data[i] == '\n')
			lines.emplace_back();
		else
			lines.back().push_back(char(data[i]));
	}
	const std::string folder = kFolders[size % (sizeof(kFolders) / sizeof(kFolders[0]))];

	uint32 code = 0;
	std::string error;
	if (dorva_send::parse_message_code(lines[0], &code, &error))
		fuzz::Require(lines[0].size() == 4, "a message code is four characters");
	else
		fuzz::Require(!error.empty(), "a refused code says why");

	BMessage message(code);
	for (size_t i = 1; i < lines.size(); i++) {
		const std::string& argument = lines[i];
		const std::string before = flat_bytes(message);
		const std::string name = argument.substr(0, argument.find('='));
		const int32 valuesBefore = values_of(message, name);
		error.clear();
		if (dorva_send::parse_field(argument, folder, &message, &error)) {
			fuzz::Require(values_of(message, name) == valuesBefore + 1, "a field adds one value");
		} else {
			fuzz::Require(!error.empty(), "a refused field says why");
			fuzz::Require(flat_bytes(message) == before, "a refused field changes nothing");
		}
	}
	return 0;
}
