// Checks that the harness gives each test program what the others rely on:
// a fresh prefix, a display, and the product's resources in this module.
#include <gtest/gtest.h>
#include "setup/startup.h"
#include "setup/product.h"

TEST(Harness, DisplayLetsWindowsBeCreated)
{
    HWND window = CreateWindowExA(0, "STATIC", "probe", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                                  appInstance, NULL);
    ASSERT_NE(window, (HWND)NULL) << "last error " << GetLastError();
    DestroyWindow(window);
}

TEST(Harness, ProductResourcesAreLinked)
{
    EXPECT_STREQ(setupTitle, "Lumetra Install");
    EXPECT_NE(FindResourceA(appInstance, "EXEFILE", "EXE"), (HRSRC)NULL);
}

TEST(Harness, PrefixStartsWithoutRecord)
{
    char value[256];
    EXPECT_EQ(GetProfileStringA("Lumetra", "DIR", "", value, sizeof value), 0u);
}
