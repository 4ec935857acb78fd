// The hooks through which the testing library steers the kit; see private/TestingHooks.h.
#include "TestingHooks.h"

namespace kit::hooks {

std::function<void(BHandler* handler, const BMessage& message)>& DispatchObserver()
{
	static std::function<void(BHandler*, const BMessage&)> observer;
	return observer;
}

std::function<int32(BAlert* alert)>& AlertResponder()
{
	static std::function<int32(BAlert*)> responder;
	return responder;
}

std::optional<PrintDialogAnswers>& PrintAnswers()
{
	static std::optional<PrintDialogAnswers> answers;
	return answers;
}

RosterOverride& DefaultRosterOverride()
{
	static RosterOverride standIn;
	return standIn;
}

bool& RefuseTemporaryFiles()
{
	static bool refuse = false;
	return refuse;
}

bool& UseNamedTemporaryFiles()
{
	static bool named = false;
	return named;
}

} // namespace kit::hooks
