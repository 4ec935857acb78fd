#include "output_catalogue.h"

void list_output_formats(BMessage* request)
{
	BMessage reply(B_REPLY);
	for (int32 i = 0; i < trc; i++) {
		const s_xlt* record = static_cast<const s_xlt*>(xlt.ItemAt(i));
		if (record == nullptr)
			break;
		reply.AddInt32("index", i);
		reply.AddString("name", record->name);
		reply.AddString("mime", record->mime);
	}
	request->SendReply(&reply);
}
