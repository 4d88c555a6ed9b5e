#include "ButtonFace.h"

#include <algorithm>

#include "ScreenCapture.h"
#include "display/BitmapButtonSet.h"

namespace {

// A face is recognised when at most this share of the pixels differ from its picture.
constexpr double MAX_UNLIKE_SHARE = 0.1;

void LoadPictures(const std::string& strModule,
                  const std::vector<std::pair<ButtonFace, const char*>>& aWanted,
                  std::vector<std::pair<ButtonFace, HBITMAP>>* pLoaded) {
    HMODULE hModule = LoadLibraryExA(strModule.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    for (const auto& [face, pName] : aWanted) {
        if (HBITMAP hBitmap = static_cast<HBITMAP>(
                LoadImageA(hModule, pName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))) {
            pLoaded->emplace_back(face, hBitmap);
        }
    }
    if (hModule) FreeLibrary(hModule);
}

}  // namespace

const char* ButtonFaceName(ButtonFace face) {
    static const char* const NAMES[] = {
        "EXIT", "EXIT pressed", "STOP", "STOP pressed", "COPY", "COPY pressed", "no known picture"};
    return NAMES[static_cast<int>(face)];
}

CButtonFaceReader::CButtonFaceReader(const std::string& strProgram,
                                     const std::string& strLanguageModule) {
    const bool bPalette = IsPaletteDisplay();
    const BitmapPicturePair exit = bPalette ? EXIT_PICTURES_PALETTE : EXIT_PICTURES_HIGH_COLOR;
    const BitmapPicturePair stop = bPalette ? STOP_PICTURES_PALETTE : STOP_PICTURES_HIGH_COLOR;
    LoadPictures(strLanguageModule,
                 {{ButtonFace::EXIT, MAKEINTRESOURCEA(exit.released)},
                  {ButtonFace::EXIT_PRESSED, MAKEINTRESOURCEA(exit.pressed)},
                  {ButtonFace::STOP, MAKEINTRESOURCEA(stop.released)},
                  {ButtonFace::STOP_PRESSED, MAKEINTRESOURCEA(stop.pressed)}},
                 &m_aPictures);
    LoadPictures(strProgram,
                 {{ButtonFace::COPY, bPalette ? "COPYU" : "COPYU24"},
                  {ButtonFace::COPY_PRESSED, bPalette ? "COPYD" : "COPYD24"}},
                 &m_aPictures);
}

CButtonFaceReader::~CButtonFaceReader() {
    for (const auto& picture : m_aPictures) DeleteObject(picture.second);
}

ButtonFace CButtonFaceReader::Read(HWND hButton) const {
    RECT area;
    if (!hButton || !IsWindowVisible(hButton) || !GetClientRect(hButton, &area))
        return ButtonFace::UNKNOWN;
    MapWindowPoints(hButton, nullptr, reinterpret_cast<POINT*>(&area), 2);
    ButtonFace best = ButtonFace::UNKNOWN;
    double bestShare = MAX_UNLIKE_SHARE;
    for (const auto& [face, hPicture] : m_aPictures) {
        // The COPY button copies its picture unscaled into its top-left corner.
        BITMAP size = {};
        GetObjectA(hPicture, sizeof(size), &size);
        const bool bCopy = face >= ButtonFace::COPY;
        RECT drawn = area;
        if (bCopy) {
            drawn.right = std::min(area.right, area.left + size.bmWidth);
            drawn.bottom = std::min(area.bottom, area.top + size.bmHeight);
        }
        const int nWidth = drawn.right - drawn.left, nHeight = drawn.bottom - drawn.top;
        std::vector<COLORREF> aExpected;
        if (bCopy) {
            const std::vector<COLORREF> aWhole =
                StretchedPixels(hPicture, size.bmWidth, size.bmHeight, true);
            for (int y = 0; y < nHeight && !aWhole.empty(); ++y) {
                for (int x = 0; x < nWidth; ++x) aExpected.push_back(aWhole[y * size.bmWidth + x]);
            }
        } else {
            aExpected = StretchedPixels(hPicture, nWidth, nHeight, true);
        }
        const double share = ShareUnlike(drawn, aExpected);
        if (share <= bestShare) {
            bestShare = share;
            best = face;
        }
    }
    return best;
}
