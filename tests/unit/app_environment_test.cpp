#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/Environment.h"
#include "app/LanguageModule.h"
#include "link/PrinterLink.h"

TEST(Environment, ClassesOfTheRunningSystem) {
    const std::pair<long, long> rows[] = {
        // display: planes x bits per pixel below 16 is a palette display
        {DisplayModeFor(1, 4), 1}, {DisplayModeFor(1, 8), 1}, {DisplayModeFor(1, 15), 1},
        {DisplayModeFor(1, 16), 0}, {DisplayModeFor(1, 24), 0}, {DisplayModeFor(1, 32), 0},
        {DisplayModeFor(2, 8), 0}, {DisplayModeFor(0, 0), 1},
        // version: 4.10 and later of version 4
        {OsVersionClassFor(4, 0), 1}, {OsVersionClassFor(4, 9), 1}, {OsVersionClassFor(4, 10), 0},
        {OsVersionClassFor(4, 90), 0}, {OsVersionClassFor(5, 0), 2}, {OsVersionClassFor(3, 51), 2},
        // keyboard: type 7 with any of the subtype bits 0x0100, 0x0400, 0x0800
        {KeyboardClassFor(4, 0x0D00), 1}, {KeyboardClassFor(7, 0x0100), 0}, {KeyboardClassFor(7, 0x0400), 0},
        {KeyboardClassFor(7, 0x0800), 0}, {KeyboardClassFor(7, 0x0D01), 0}, {KeyboardClassFor(7, 0x0200), 1},
        {KeyboardClassFor(7, 0), 1},
        // chunk: large only for keyboard class 0 with version class 0
        {ChooseTransferChunkSize(0, 0), 46125}, {ChooseTransferChunkSize(0, 1), 5120},
        {ChooseTransferChunkSize(0, 2), 5120}, {ChooseTransferChunkSize(1, 0), 5120},
    };
    for (size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(rows[i].first, rows[i].second) << "row " << i;
}

TEST(Environment, MessageAndInstallPathTexts) {
    char text[32] = "Printer error.";
    AppendErrorCode(text, sizeof(text), 0x1F);
    EXPECT_STREQ(text, "Printer error. \"0x1F\"");
    char tight[8] = "ABCDEF";
    AppendErrorCode(tight, sizeof(tight), 0x21);
    EXPECT_STREQ(tight, "ABCDEF ") << "cut at the buffer, never past it";

    char path[INSTALL_PATH_SIZE];
    EXPECT_TRUE(JoinInstallPath("C:\\Brisling", "resource.dll", path));
    EXPECT_STREQ(path, "C:\\Brisling\\resource.dll");
    const std::string fits(INSTALL_PATH_SIZE - 1 - 13, 'A');  // + "\resource.dll": 255 characters
    EXPECT_TRUE(JoinInstallPath(fits.c_str(), "resource.dll", path));
    EXPECT_FALSE(JoinInstallPath((fits + "A").c_str(), "resource.dll", path));
    EXPECT_STREQ(path, "") << "never cut into another file's name";
}
