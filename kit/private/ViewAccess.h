// Kit-internal access to a view's private parts, for the kit's printing, bitmap drawing and
// testing code.
#pragma once

#include <vector>

#include "View.h"

namespace kit {

class ViewAccess {
public:
	static ViewBridge* Bridge(const BView* view) { return view->fBridge; }
	static void SetPrintTarget(BView* view, DrawingTarget* target) { view->fPrintTarget = target; }
	// For a view that draws outside any window, into a bitmap (BitmapDrawing.h).
	static void SetBridge(BView* view, ViewBridge* bridge) { view->fBridge = bridge; }
};

// A list of views as windows and views keep their children: the one at index, and the first
// view of the name in the lists' trees, depth first.
BView* ViewAt(const std::vector<BView*>& views, int32 index);
BView* FindViewIn(const std::vector<BView*>& views, const char* name);

} // namespace kit
