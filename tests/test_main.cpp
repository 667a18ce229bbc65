// main() of every test program: the program's own module plays setup.exe's
// part (it links the same resources), so the product description is filled
// as start-up would fill it.
#include <gtest/gtest.h>
#include "setup/startup.h"
#include "setup/product.h"

int main(int argc, char **argv)
{
    appInstance = GetModuleHandleA(NULL);
    InitProductDescription(appInstance);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
