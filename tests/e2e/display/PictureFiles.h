#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

// The three 8-bit picture files that lie beside the installed program, in the order the program
// loads them: printer, monitor, logo.
extern const std::vector<std::string> PICTURE_FILES;
constexpr const char* PRINTER_PICTURE_FILE = "printer_8bit.bmp";
constexpr const char* LOGO_PICTURE_FILE = "kestrel_8bit.bmp";

// Puts every picture file that the install folder lacks into it, from the staged distribution
// (BRISLING_DIST) or else from the artwork of the source tree above this test.
::testing::AssertionResult InstallPictureFiles(const std::string& strInstallFolder);
