// The platform knows an application by names made from its signature, so that the kit
// itself names no program: the desktop file's name is the signature's reverse-DNS id, and
// the application's name is what follows the vendor in it.
#include <gtest/gtest.h>

#include <string>

#include "Application.h"
#include "KitTesting.h"

namespace {

void ExpectNames(const char* signature, const std::string& name, const std::string& desktop)
{
	BApplication application(signature);
	std::string shownName, desktopFileName;
	kit::testing::PlatformApplicationNames(&shownName, &desktopFileName);
	EXPECT_EQ(shownName, name) << signature;
	EXPECT_EQ(desktopFileName, desktop) << signature;
}

TEST(ApplicationNames, ComeFromTheSignature)
{
	ExpectNames("application/x-vnd.Vendor-viewer", "viewer", "x_vnd.Vendor.viewer");
	ExpectNames("application/x-vnd.Vendor-photo-viewer", "photo-viewer",
		"x_vnd.Vendor.photo.viewer");
	// A signature without a vendor still gives a usable id and name.
	ExpectNames("application/viewer", "viewer", "x_vnd.viewer");
}

} // namespace
