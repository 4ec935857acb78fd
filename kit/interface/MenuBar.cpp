#include "MenuBar.h"

#include <QMenuBar>

#include "MenuBridge.h"
#include "ViewBridge.h"
#include "Window.h"

// The bar's height: it must end above y = 20, where the window's content begins.
static const int kMenuBarHeight = 20;

class MenuBarBridge : public kit::ViewBridge {
public:
	using ViewBridge::ViewBridge;

	QWidget* CreateWidget(QWidget* parent) override
	{
		auto* bar = new QMenuBar(parent);
		bar->setNativeMenuBar(false);
		// Compact items, so that the bar's text fits its fixed height.
		bar->setStyleSheet(
			QStringLiteral("QMenuBar { padding: 0px; }"
						   "QMenuBar::item { padding: 1px 6px; }"));
		for (BMenu* menu : static_cast<BMenuBar*>(fView)->fMenus)
			bar->addMenu(menu->Bridge()->Menu());
		return bar;
	}
};

BMenuBar::BMenuBar(
	BRect frame, const char* name, uint32 resizingMode, menu_layout, bool resizeToFit)
	: BView(frame, name, resizingMode, B_WILL_DRAW), fResizeToFit(resizeToFit)
{
}

BMenuBar::~BMenuBar()
{
	for (BMenu* menu : fMenus)
		delete menu;
}

kit::ViewBridge* BMenuBar::_CreateBridge()
{
	return new MenuBarBridge(this);
}

bool BMenuBar::AddItem(BMenu* menu)
{
	if (menu == nullptr)
		return false;
	fMenus.push_back(menu);
	if (_Bridge() && _Bridge()->Widget())
		static_cast<QMenuBar*>(_Bridge()->Widget())->addMenu(menu->Bridge()->Menu());
	return true;
}

BMenu* BMenuBar::SubmenuAt(int32 index) const
{
	if (index < 0 || size_t(index) >= fMenus.size())
		return nullptr;
	return fMenus[index];
}

void BMenuBar::AttachedToWindow()
{
	// Resized to fit: the whole width of the window, and the fixed height of a bar.
	if (fResizeToFit && Window() != nullptr) {
		MoveTo(0, 0);
		ResizeTo(Window()->Bounds().Width(), kMenuBarHeight - 1);
	}
}
