#include "main_canvas.h"

#include "dorva.h"
#include "dorvaview.h"
#include "dorvawindow.h"

BView* main_canvas()
{
	auto* app = dynamic_cast<dorva*>(be_app);
	if (app == nullptr || app->main_window == nullptr)
		return nullptr;
	return app->main_window->canvas;
}
