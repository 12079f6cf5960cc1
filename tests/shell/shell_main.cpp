#include <gtest/gtest.h>

#include "shell_fixture.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new testing_shell::CPlatformEnvironment);
    return RUN_ALL_TESTS();
}
