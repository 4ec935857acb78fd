#include "Message.h"
#include "command_codes.h"
#include "dorvaview.h"

void dorvaview::MessageReceived(BMessage* message)
{
	switch (message->what) {
		default:
			BView::MessageReceived(message);
			break;
	}
}
