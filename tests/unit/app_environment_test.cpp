#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/Environment.h"
#include "app/LanguageModule.h"

TEST(AppEnvironment, DisplayModeCountsSixteenBitsOrMoreAsHighColour) {
    EXPECT_EQ(DisplayModeFor(1, 4), 1);
    EXPECT_EQ(DisplayModeFor(1, 8), 1);
    EXPECT_EQ(DisplayModeFor(1, 15), 1) << "a 15-bit display is a palette display";
    EXPECT_EQ(DisplayModeFor(1, 16), 0);
    EXPECT_EQ(DisplayModeFor(1, 24), 0);
    EXPECT_EQ(DisplayModeFor(1, 32), 0);
    EXPECT_EQ(DisplayModeFor(0, 0), 1) << "failed queries leave the palette mode";
    EXPECT_EQ(DisplayModeFor(2, 8), 0) << "planes times bits";
    EXPECT_EQ(DialogBackgroundFor(1), RGB(192, 220, 192));
    EXPECT_EQ(DialogBackgroundFor(0), RGB(180, 171, 206));
}

TEST(AppEnvironment, VersionAndKeyboardClasses) {
    EXPECT_EQ(OsVersionClassFor(4, 0), 1);
    EXPECT_EQ(OsVersionClassFor(4, 9), 1);
    EXPECT_EQ(OsVersionClassFor(4, 10), 0);
    EXPECT_EQ(OsVersionClassFor(4, 90), 0);
    EXPECT_EQ(OsVersionClassFor(5, 0), 2);
    EXPECT_EQ(OsVersionClassFor(3, 51), 2);

    EXPECT_EQ(KeyboardClassFor(4, 0), 1);
    EXPECT_EQ(KeyboardClassFor(7, 0x0D01), 0);
    EXPECT_EQ(KeyboardClassFor(7, 0x0100), 0) << "a bit test, not a comparison with 0x0D00";
    EXPECT_EQ(KeyboardClassFor(7, 0x0800), 0);
    EXPECT_EQ(KeyboardClassFor(7, 0x0002), 1);
    EXPECT_EQ(KeyboardClassFor(7, 0x0200), 1);
}

TEST(LanguageModuleText, InstallPathsThatDoNotFitAreRefused) {
    char path[INSTALL_PATH_SIZE];
    EXPECT_TRUE(JoinInstallPath("C:\\Program Files\\Brisling", "resource.dll", path));
    EXPECT_STREQ(path, "C:\\Program Files\\Brisling\\resource.dll");
    EXPECT_TRUE(JoinInstallPath("", "Brisling.hlp", path));
    EXPECT_STREQ(path, "\\Brisling.hlp") << "no install folder: the root of the current drive";

    const std::string folder(255 - 13, 'A');  // + "\resource.dll" = 255 characters
    EXPECT_TRUE(JoinInstallPath(folder.c_str(), "resource.dll", path));
    EXPECT_EQ(std::strlen(path), 255u);
    const std::string longer(255 - 12, 'A');
    EXPECT_FALSE(JoinInstallPath(longer.c_str(), "resource.dll", path));
    EXPECT_STREQ(path, "") << "never cut into another file's name";
}

TEST(LanguageModuleText, ErrorCodeSuffix) {
    char text[64] = "Printer error.";
    AppendErrorCode(text, sizeof(text), 0x1F);
    EXPECT_STREQ(text, "Printer error. \"0x1F\"");
    char empty[16] = "";
    AppendErrorCode(empty, sizeof(empty), 0x0A);
    EXPECT_STREQ(empty, " \"0x0A\"");
    char tight[8] = "ABCDEF";
    AppendErrorCode(tight, sizeof(tight), 0x21);
    EXPECT_EQ(std::strlen(tight), 7u) << "cut, never overrun";
}

TEST(LanguageModuleText, SlotsTakeTheirTexts) {
    const UINT expected[UI_TEXT_SLOTS] = {3010, 3014, 3011, 3012, 3013, 3018, 3016, 3015};
    for (int slot = 0; slot < UI_TEXT_SLOTS; ++slot) EXPECT_EQ(UiTextIds[slot], expected[slot]) << slot;
}
