#include "PictureFiles.h"

#include <windows.h>

#include "BuiltProgram.h"
#include "TestSupport.h"

const std::vector<std::string> PICTURE_FILES = {"printer_8bit.bmp", "monitor_8bit.bmp",
                                                "kestrel_8bit.bmp"};

namespace {

std::string ParentOf(const std::string& strPath) {
    const size_t nSlash = strPath.find_last_of('\\');
    return nSlash == std::string::npos ? std::string() : strPath.substr(0, nSlash);
}

// The folder that holds the picture files, or empty.
std::string PictureSourceFolder() {
    std::string strDistribution = EnvironmentValue("BRISLING_DIST");
    if (!strDistribution.empty()) {
        if (strDistribution[0] == '/') strDistribution = FromUnixPath(strDistribution);
        if (FileExists(strDistribution + "\\" + PICTURE_FILES[0])) return strDistribution;
    }
    // The build tree lies inside the source tree, a few folders above this test.
    std::string strFolder = TestExecutableFolder();
    for (int nLevel = 0; nLevel < 6 && !strFolder.empty(); ++nLevel) {
        const std::string strArt = strFolder + "\\src\\res\\art";
        if (FileExists(strArt + "\\" + PICTURE_FILES[0])) return strArt;
        strFolder = ParentOf(strFolder);
    }
    return "";
}

}  // namespace

::testing::AssertionResult InstallPictureFiles(const std::string& strInstallFolder) {
    const std::string strSource = PictureSourceFolder();
    for (const std::string& strName : PICTURE_FILES) {
        const std::string strTarget = strInstallFolder + "\\" + strName;
        if (FileExists(strTarget)) continue;
        if (strSource.empty()) {
            return ::testing::AssertionFailure()
                   << "no " << strName
                   << " to install: set BRISLING_DIST or run from the build tree";
        }
        if (!CopyFileA((strSource + "\\" + strName).c_str(), strTarget.c_str(), FALSE)) {
            return ::testing::AssertionFailure()
                   << "cannot copy " << strName << " from " << strSource << " (error "
                   << GetLastError() << ")";
        }
    }
    return ::testing::AssertionSuccess();
}
