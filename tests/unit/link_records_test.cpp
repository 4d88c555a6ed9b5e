#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "link/CardEntry.h"
#include "link/PcName.h"

namespace {
// A wire record from an 11-character name field (base and extension padded with spaces).
std::string Wire(const char* name11, uint8_t attributes, uint32_t size = 0, uint32_t opaque = 0) {
    std::string w(name11, 11);
    w += static_cast<char>(attributes);
    w.append(reinterpret_cast<const char*>(&opaque), 4);
    w.append(reinterpret_cast<const char*>(&size), 4);
    return w;
}

std::string Converted(const std::string& wire) {
    CardEntry e;
    ConvertEntry(e, reinterpret_cast<const uint8_t*>(wire.data()));
    return e.name;
}

std::string PcName(const std::string& wire) {
    char name[13];
    PcNameFromWire(reinterpret_cast<const unsigned char*>(wire.data()), name);
    return name;
}
}  // namespace

TEST(CardRecords, NamesAreConvertedAsTheCardListShowsThem) {
    EXPECT_EQ(Converted(Wire("DSC00001JPG", 0x20)), "DSC00001.JPG");
    EXPECT_EQ(Converted(Wire("DCIM       ", 0x10)), "DCIM");
    EXPECT_EQ(Converted(Wire("AB CD   TXT", 0x20)), "ABCD.TXT") << "inner spaces are squeezed out";
    EXPECT_EQ(Converted(Wire("README   XY", 0x20)), "README") << "a blank first extension byte ends the name";
    EXPECT_EQ(Converted(Wire("README  T X", 0x20)), "README.T");
    EXPECT_EQ(Converted(Wire(".          ", 0x10)), ".");
}

TEST(CardRecords, AttributesOpaqueAndSizeAreCopiedUnchanged) {
    CardEntry e;
    const std::string w = Wire("IMG00001JPG", 0x21, 0x00123456u, 0xCAFEBABEu);
    ConvertEntry(e, reinterpret_cast<const uint8_t*>(w.data()));
    EXPECT_EQ(e.attributes, 0x21);
    EXPECT_FALSE(e.IsFolder());
    EXPECT_EQ(e.size, 0x00123456u);
    EXPECT_EQ(e.opaque, 0xCAFEBABEu);
    for (size_t i = std::strlen(e.name); i < sizeof(e.name); ++i) EXPECT_EQ(e.name[i], 0);
}

TEST(CardRecords, PcNameEndsEachPartAtItsFirstSpace) {
    EXPECT_EQ(PcName(Wire("IMG00001JPG", 0x20)), "IMG00001.JPG");
    EXPECT_EQ(PcName(Wire("README     ", 0x20)), "README");
    EXPECT_EQ(PcName(Wire("AB CD   TXT", 0x20)), "AB.TXT");
    EXPECT_EQ(PcName(Wire("100PHOTO   ", 0x10)), "100PHOTO");
}

TEST(CardRecords, HostileNamesNeverBecomePcNames) {
    EXPECT_EQ(PcName(Wire("..         ", 0x10)), "");
    EXPECT_EQ(PcName(Wire("A\\B     TXT", 0x20)), "");
    EXPECT_EQ(PcName(Wire("A/B     TXT", 0x20)), "");
    EXPECT_EQ(PcName(Wire("C:X     TXT", 0x20)), "");
    EXPECT_EQ(PcName(Wire("AB\x01     TXT", 0x20)), "");
    EXPECT_EQ(PcName(Wire("CON        ", 0x20)), "");
    EXPECT_EQ(PcName(Wire("con     TXT", 0x20)), "") << "devices with an extension too";
    EXPECT_EQ(PcName(Wire("LPT1    JPG", 0x20)), "");
    EXPECT_EQ(PcName(Wire("        JPG", 0x20)), "") << "no base name";
}

TEST(CardRecords, SafeNameRules) {
    EXPECT_TRUE(IsSafePcName("DSC00001.JPG"));
    EXPECT_TRUE(IsSafePcName("COM10"));
    EXPECT_TRUE(IsSafePcName("CONFIG.SYS"));
    EXPECT_TRUE(IsSafePcName("LPT"));
    EXPECT_FALSE(IsSafePcName(""));
    EXPECT_FALSE(IsSafePcName("."));
    EXPECT_FALSE(IsSafePcName(".."));
    EXPECT_FALSE(IsSafePcName(".HIDDEN"));
    EXPECT_FALSE(IsSafePcName("AUX.JPG"));
    EXPECT_FALSE(IsSafePcName("nul"));
    EXPECT_FALSE(IsSafePcName("COM9"));
    EXPECT_FALSE(IsSafePcName("A?.JPG"));
    EXPECT_FALSE(IsSafePcName("NAME."));
    EXPECT_FALSE(IsSafePcName("THIRTEENCHARS"));
}
