#include "output_catalogue.h"

std::vector<output_format_entry> list_output_formats()
{
	std::vector<output_format_entry> formats;
	for (int32 i = 0; i < trc; i++) {
		const s_xlt* record = static_cast<const s_xlt*>(xlt.ItemAt(i));
		if (record == nullptr)
			break;
		formats.push_back(output_format_entry{i, record->name, record->mime});
	}
	return formats;
}
