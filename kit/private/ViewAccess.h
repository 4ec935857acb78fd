// Kit-internal access to a view's private parts, for the kit's printing and testing code.
#pragma once

#include "View.h"

namespace kit {

class ViewAccess {
public:
	static ViewBridge* Bridge(const BView* view) { return view->fBridge; }
	static void SetPrintTarget(BView* view, DrawingTarget* target)
	{
		view->fPrintTarget = target;
	}
};

} // namespace kit
