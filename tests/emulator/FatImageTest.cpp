// Card images made by mkfs.fat and filled by mtools: the PC must see what mdir and mcopy see,
// in directory order.
#include <sstream>

#include "TestSupport.h"

namespace {

std::string Mtools(const std::string& strCommand) {
    FILE* pPipe = popen(("MTOOLS_SKIP_CHECK=1 " + strCommand).c_str(), "r");
    std::string strOutput;
    char buffer[65536];
    for (size_t nRead; (nRead = fread(buffer, 1, sizeof buffer, pPipe)) > 0;)
        strOutput.append(buffer, nRead);
    EXPECT_EQ(pclose(pPipe), 0) << strCommand;
    return strOutput;
}

// "NAME     EXT size" or "NAME     EXT <DIR>" per entry, in the order mdir prints them.
Names Mdir(const std::string& strImage, const std::string& strFolder) {
    std::istringstream lines(
        Mtools("mdir -a -i " + strImage + " ::/" + strFolder +
               " | awk 'listing && /^[^ ]/ {split(substr($0, 13), f, \" \");"
               " print substr($0, 1, 12) \" \" f[1]} /^Directory for/ {listing = 1}'"));
    Names aEntries;
    for (std::string strLine; std::getline(lines, strLine);) aEntries.push_back(strLine);
    return aEntries;
}

std::string MdirLine(const CardRecord& record) {
    const std::string strName(record.m_name.begin(), record.m_name.end());
    return strName.substr(0, 8) + " " + strName.substr(8) + " " +
           (record.m_nAttributes & ATTR_DIRECTORY ? "<DIR>" : std::to_string(record.m_nSize));
}

// The card path the PC sends for an mtools path.
std::string CardPath(std::string strPath) {
    std::replace(strPath.begin(), strPath.end(), '/', '\\');
    return "\\" + strPath;
}

class FatImageTest : public EmulatorTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(FatImageTest, ListingsAndFilesAreWhatMtoolsSees) {
    const std::string strImage = Dir("card.img");
    Mtools("mkfs.fat -n CARDLABEL -C " + strImage + " " + GetParam() + " >/dev/null");
    Mtools("mmd -i " + strImage + " ::/DCIM ::/DCIM/100PHOTO ::/EMPTY");
    auto add = [&](const std::string& strPath, size_t nSize) {
        WriteFileBytes(Dir("source"), PatternBytes(nSize, static_cast<uint32_t>(nSize)));
        Mtools("mcopy -i " + strImage + " " + Dir("source") + " '::/" + strPath + "'");
    };
    // Written out of name order, with a long name and a deleted entry among them.
    Names aFiles;
    for (size_t nSize : {5000, 1, 0, 513, 300000, 2048}) {
        aFiles.push_back("DCIM/100PHOTO/F" + std::to_string(nSize) + ".BIN");
        add(aFiles.back(), nSize);
    }
    add("long file name.txt", 10);
    aFiles.push_back("LONGFI~1.TXT");
    add("DCIM/GONE.BIN", 100);
    Mtools("mdel -i " + strImage + " ::/DCIM/GONE.BIN");
    Start({"--card-image", strImage});

    for (const std::string strFolder : {"", "DCIM", "DCIM/100PHOTO", "EMPTY"}) {
        Names aSeen;
        for (const CardRecord& record : List(m_port, CardPath(strFolder) + "\\*.*"))
            aSeen.push_back(MdirLine(record));
        EXPECT_EQ(aSeen, Mdir(strImage, strFolder)) << strFolder;
    }
    for (const std::string& strFile : aFiles) {
        const std::string strMcopy = Mtools("mcopy -n -i " + strImage + " '::/" + strFile + "' -");
        EXPECT_EQ(Fetch(m_port, CardPath(strFile)), Bytes(strMcopy.begin(), strMcopy.end()))
            << strFile;
    }
}

INSTANTIATE_TEST_SUITE_P(Fat, FatImageTest,
                         ::testing::Values("-F 12 2048", "-F 16 -s 1 4096", "-F 32 -s 1 34000"));

}  // namespace
