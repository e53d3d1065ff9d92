// The settings tests never see the real home directory: before any test
// runs, HOME and XDG_CONFIG_HOME point into a temporary directory of their
// own, whatever the environment says.
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    TempDir sandbox;
    const auto home = sandbox.Path() / "home";
    const auto config = sandbox.Path() / "config";
    std::filesystem::create_directories(home);
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
