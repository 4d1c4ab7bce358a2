#include "program_path.h"

#include <gtest/gtest.h>

#include <cstdio>

std::string gProgramPath;

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s [gtest options] PATH\\gvncfg.exe\n", argv[0]);
        return 2;
    }
    gProgramPath = argv[1];
    return RUN_ALL_TESTS();
}
