#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/system/application.h"

// GUI tests always run on the offscreen platform, with or without a display, under the
// program's own application object.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    contado::TApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
