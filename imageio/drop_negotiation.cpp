#include "Message.h"
#include "dorvaview.h"
#include "image_types.h"

// A drag that offers data rather than files: pick the first image type the source offers
// and ask for it. The source then sends the data, which is pasted where the drop landed.
void dorvaview::_negotiate_drop(BMessage* message)
{
	const char* type = nullptr;
	for (int32 i = 0; message->FindString("be:types", i, &type) == B_OK; i++) {
		if (is_image_type(type)) {
			BMessage reply(B_COPY_TARGET);
			reply.AddString("be:types", type);
			message->SendReply(&reply, this, B_INFINITE_TIMEOUT);
			return;
		}
	}
}
