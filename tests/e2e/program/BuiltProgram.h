#pragma once
#include <string>
#include <vector>

constexpr const char* PROGRAM_FILE = "Brisling.exe";
constexpr const char* LANGUAGE_MODULE_FILE = "resource.dll";
constexpr const char* HELP_FILE = "Brisling.hlp";

// The files of the program under test, as full paths: the staged distribution named by the
// environment variable BRISLING_DIST (every file in it), or else the executable and the language
// module of the build tree that holds this test. Empty, with the reason, when they are missing.
std::vector<std::string> FindProgramFiles(std::string* pWhy);

// The folder of this test executable, where the help spy lies beside it.
std::string TestExecutableFolder();
