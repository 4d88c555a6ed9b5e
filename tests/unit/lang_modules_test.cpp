// Every language module of the build carries the texts and pictures of the English one: a text
// added to one module and forgotten in another would show as an empty text there.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "Files.h"

namespace {

struct ModuleContents {
    std::set<UINT> texts;
    std::map<UINT, std::pair<LONG, LONG>> pictures;  // id: width, height
};

// Strings come in blocks of sixteen; block n holds the ids 16 (n - 1) to 16 n - 1.
BOOL CALLBACK AddTexts(HMODULE module, LPCSTR, LPSTR name, LONG_PTR out) {
    const UINT first = (static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)) - 1) * 16;
    for (UINT id = first; id < first + 16; ++id) {
        const wchar_t* text = nullptr;
        if (LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0) > 0)
            reinterpret_cast<ModuleContents*>(out)->texts.insert(id);
    }
    return TRUE;
}

BOOL CALLBACK AddPicture(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR out) {
    HRSRC found = FindResourceA(module, name, type);
    const auto* header =
        static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, found)));
    const UINT id = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name));
    reinterpret_cast<ModuleContents*>(out)->pictures[id] = {header->biWidth, header->biHeight};
    return TRUE;
}

ModuleContents ReadModule(const std::string& path) {
    ModuleContents contents;
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) return contents;
    EnumResourceNamesA(module, RT_STRING, AddTexts, reinterpret_cast<LONG_PTR>(&contents));
    EnumResourceNamesA(module, RT_BITMAP, AddPicture, reinterpret_cast<LONG_PTR>(&contents));
    FreeLibrary(module);
    return contents;
}

}  // namespace

TEST(LanguageModules, EachHasEveryTextAndPictureOfTheEnglishOne) {
    const std::string folder = FromUnixPath(LANGUAGE_MODULES_DIR);
    const ModuleContents english = ReadModule(folder + "\\en\\resource.dll");
    ASSERT_FALSE(english.texts.empty()) << "no English module in " << folder;
    ASSERT_FALSE(english.pictures.empty());
    int modules = 0;
    for (const std::string& language : ListFolder(folder)) {
        const std::string path = folder + "\\" + language + "\\resource.dll";
        if (!FileExists(path)) continue;
        SCOPED_TRACE(language);
        ++modules;
        const ModuleContents module = ReadModule(path);
        EXPECT_EQ(module.texts, english.texts);
        EXPECT_EQ(module.pictures, english.pictures) << "picture ids and sizes";
    }
    EXPECT_GT(modules, 1) << "only one language module was built";
}
