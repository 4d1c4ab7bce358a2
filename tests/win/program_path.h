// The gvncfg.exe under test, named on the test program's command line.
#ifndef GVNCFG_TESTS_PROGRAM_PATH_H
#define GVNCFG_TESTS_PROGRAM_PATH_H

#include <string>

extern std::string gProgramPath;

#endif
