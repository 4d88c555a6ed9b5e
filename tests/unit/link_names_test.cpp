#include <gtest/gtest.h>

#include <string>

#include "link/CardEntry.h"
#include "link/PcName.h"

namespace {
// A wire record: 11 name bytes, attributes, opaque value and size (both little-endian).
std::string Wire(const std::string& name11, uint8_t attributes = 0x20, uint32_t opaque = 0, uint32_t size = 0) {
    std::string w = name11 + static_cast<char>(attributes);
    w.append(reinterpret_cast<const char*>(&opaque), 4);
    return w.append(reinterpret_cast<const char*>(&size), 4);
}
const uint8_t* Bytes(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }
}  // namespace

TEST(CardNames, RecordsConvertAsTheCardListShowsThem) {
    const std::pair<const char*, const char*> rows[] = {
        {"DSC00001JPG", "DSC00001.JPG"}, {"DCIM       ", "DCIM"},       {"AB CD   TXT", "AB CD.TXT"},
        {"README   XY", "README. XY"},   {"README  T X", "README.T X"}, {".          ", "."},
        {"100CANONMOV", "100CANON.MOV"},
    };
    for (const auto& [wire, name] : rows) {
        CardEntry e;
        ConvertEntry(e, Bytes(Wire(wire)));
        EXPECT_STREQ(e.name, name) << wire;
    }
    CardEntry e;
    ConvertEntry(e, Bytes(Wire("DCIM       ", 0x31, 0xCAFEBABE, 0x00123456)));
    EXPECT_TRUE(e.IsFolder());
    EXPECT_EQ(e.attributes, 0x31);
    EXPECT_EQ(e.opaque, 0xCAFEBABEu);
    EXPECT_EQ(e.size, 0x00123456u);
}

TEST(CardNames, OnlyNamesThatStayInTheirFolderAreSafe) {
    const std::pair<const char*, bool> rows[] = {
        {"DSC00001.JPG", true}, {"A", true},          {"COM10", true},     {"CONFIG.SYS", true},
        {"LPT", true},          {"", false},          {".", false},        {"..", false},
        {".HIDDEN", false},     {".JPG", false},      {"A\\B", false},     {"A/B.TXT", false},
        {"C:X", false},         {"A*B", false},       {"A?.JPG", false},   {"A\"B", false},
        {"A<B>", false},        {"A|B", false},       {"CON", false},      {"con.txt", false},
        {"NUL.JPG", false},     {"AUX", false},       {"PRN.X", false},    {"COM1", false},
        {"LPT9.JPG", false},    {"CLOCK$", false},    {"A\x01" "B", false}, {"A\x7F", false},
        {"NAME.", false},       {"NAME ", false},     {"ABCDEFGH.TXT", true}, {"THIRTEENCHARS", false},
    };
    for (const auto& [name, safe] : rows) EXPECT_EQ(IsSafePcName(name), safe) << name;
}

TEST(CardNames, PcNameIsTheCardNameAndRefusesUnsafeNames) {
    const std::pair<std::string, const char*> rows[] = {
        {"IMG00001JPG", "IMG00001.JPG"}, {"README     ", "README"}, {"AB CD   TXT", "AB CD.TXT"},
        {"..         ", ""}, {"A/B     TXT", ""}, {"CON     TXT", ""}, {"        JPG", ""},
        {"AB\x01     TXT", ""},       {std::string("A\0B     JPG", 11), ""},
    };
    for (const auto& [wire, expected] : rows) {
        char name[13] = "junk";
        EXPECT_EQ(PcNameFromWire(reinterpret_cast<const unsigned char*>(Wire(wire).data()), name), *expected != 0);
        EXPECT_STREQ(name, expected) << wire;
    }
}
