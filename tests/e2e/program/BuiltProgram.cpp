#include "BuiltProgram.h"

#include <windows.h>

#include "TestSupport.h"

namespace {

std::string ParentOf(const std::string& strPath) {
    const size_t nSlash = strPath.find_last_of('\\');
    return nSlash == std::string::npos ? std::string() : strPath.substr(0, nSlash);
}

bool IsFile(const std::string& strPath) {
    const DWORD dwAttributes = GetFileAttributesA(strPath.c_str());
    return dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> FromDistribution(std::string strFolder, std::string* pWhy) {
    if (!strFolder.empty() && strFolder[0] == '/') strFolder = FromUnixPath(strFolder);
    std::vector<std::string> aFiles;
    for (const std::string& strName : ListFolder(strFolder)) {
        if (IsFile(strFolder + "\\" + strName)) aFiles.push_back(strFolder + "\\" + strName);
    }
    if (!IsFile(strFolder + "\\" + PROGRAM_FILE) ||
        !IsFile(strFolder + "\\" + LANGUAGE_MODULE_FILE)) {
        *pWhy = "BRISLING_DIST (" + strFolder + ") lacks " + PROGRAM_FILE + " or " +
                LANGUAGE_MODULE_FILE;
        aFiles.clear();
    }
    return aFiles;
}

}  // namespace

std::string TestExecutableFolder() {
    char path[MAX_PATH * 2] = "";
    GetModuleFileNameA(nullptr, path, sizeof(path));
    return ParentOf(path);
}

std::vector<std::string> FindProgramFiles(std::string* pWhy) {
    const std::string strDistribution = EnvironmentValue("BRISLING_DIST");
    if (!strDistribution.empty()) return FromDistribution(strDistribution, pWhy);

    // The build tree: this test lies a few folders below the build's root.
    std::string strFolder = TestExecutableFolder();
    for (int nLevel = 0; nLevel < 5 && !strFolder.empty(); ++nLevel) {
        const std::string strProgram = strFolder + "\\src\\" + PROGRAM_FILE;
        const std::string strModule = strFolder + "\\lang\\en\\" + LANGUAGE_MODULE_FILE;
        if (IsFile(strProgram) && IsFile(strModule)) return {strProgram, strModule};
        strFolder = ParentOf(strFolder);
    }
    *pWhy = std::string("no built ") + PROGRAM_FILE + " and " + LANGUAGE_MODULE_FILE + " above " +
            TestExecutableFolder() + " (build the program, or set BRISLING_DIST)";
    return {};
}
