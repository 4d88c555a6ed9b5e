#include "ButtonFace.h"

#include <cstdlib>

#include "ScreenCapture.h"
#include "display/BitmapButtonSet.h"

namespace {

// A face is recognised when at most this share of the pixels differ from its picture.
constexpr double MAX_DIFFERING_SHARE = 0.1;
constexpr int CHANNEL_TOLERANCE = 24;

// A picture stretched to the button's size as the screen would hold it (in the display's
// colours), as top-down rows of colours.
std::vector<COLORREF> StretchedPixels(HBITMAP hPicture, int nWidth, int nHeight) {
    HDC hScreen = GetDC(nullptr);
    HDC hSource = CreateCompatibleDC(hScreen);
    HDC hTarget = CreateCompatibleDC(hScreen);
    HBITMAP hStretched = CreateCompatibleBitmap(hScreen, nWidth, nHeight);
    BITMAP size = {};
    GetObjectA(hPicture, sizeof(size), &size);
    HGDIOBJ hOldSource = SelectObject(hSource, hPicture);
    HGDIOBJ hOldTarget = SelectObject(hTarget, hStretched);
    SetStretchBltMode(hTarget, COLORONCOLOR);
    StretchBlt(hTarget, 0, 0, nWidth, nHeight, hSource, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    SelectObject(hTarget, hOldTarget);
    SelectObject(hSource, hOldSource);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = nWidth;
    info.bmiHeader.biHeight = -nHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> aWords(static_cast<size_t>(nWidth) * nHeight);
    const bool bRead =
        GetDIBits(hTarget, hStretched, 0, nHeight, aWords.data(), &info, DIB_RGB_COLORS);
    DeleteObject(hStretched);
    DeleteDC(hTarget);
    DeleteDC(hSource);
    ReleaseDC(nullptr, hScreen);
    std::vector<COLORREF> aPixels;
    if (!bRead) return aPixels;
    for (DWORD nWord : aWords)
        aPixels.push_back(RGB((nWord >> 16) & 0xFF, (nWord >> 8) & 0xFF, nWord & 0xFF));
    return aPixels;
}

bool Close(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= CHANNEL_TOLERANCE &&
           std::abs(GetGValue(a) - GetGValue(b)) <= CHANNEL_TOLERANCE &&
           std::abs(GetBValue(a) - GetBValue(b)) <= CHANNEL_TOLERANCE;
}

}  // namespace

const char* ButtonFaceName(ButtonFace face) {
    switch (face) {
        case ButtonFace::EXIT:
            return "EXIT";
        case ButtonFace::STOP:
            return "STOP";
        default:
            return "neither EXIT nor STOP";
    }
}

CButtonFaceReader::CButtonFaceReader(const std::string& strLanguageModule) {
    HMODULE hModule = LoadLibraryExA(strLanguageModule.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!hModule) return;
    const bool bPalette = IsPaletteDisplay();
    const BitmapPicturePair exit = bPalette ? EXIT_PICTURES_PALETTE : EXIT_PICTURES_HIGH_COLOR;
    const BitmapPicturePair stop = bPalette ? STOP_PICTURES_PALETTE : STOP_PICTURES_HIGH_COLOR;
    const struct {
        ButtonFace face;
        WORD nId;
    } aWanted[] = {{ButtonFace::EXIT, exit.released},
                   {ButtonFace::EXIT, exit.pressed},
                   {ButtonFace::STOP, stop.released},
                   {ButtonFace::STOP, stop.pressed}};
    for (const auto& wanted : aWanted) {
        HBITMAP hBitmap = static_cast<HBITMAP>(LoadImageA(hModule, MAKEINTRESOURCEA(wanted.nId),
                                                          IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        if (hBitmap) m_aPictures.push_back({wanted.face, hBitmap});
    }
    FreeLibrary(hModule);
    if (m_aPictures.size() != 4) {
        for (const Picture& picture : m_aPictures) DeleteObject(picture.hBitmap);
        m_aPictures.clear();
    }
}

CButtonFaceReader::~CButtonFaceReader() {
    for (const Picture& picture : m_aPictures) DeleteObject(picture.hBitmap);
}

ButtonFace CButtonFaceReader::Read(HWND hButton) const {
    RECT area;
    if (!IsReady() || !hButton || !IsWindowVisible(hButton) || !GetClientRect(hButton, &area))
        return ButtonFace::UNKNOWN;
    MapWindowPoints(hButton, nullptr, reinterpret_cast<POINT*>(&area), 2);
    const CScreenCapture shown(area);
    if (!shown.IsValid()) return ButtonFace::UNKNOWN;
    const int nWidth = area.right - area.left;
    const int nHeight = area.bottom - area.top;

    ButtonFace best = ButtonFace::UNKNOWN;
    size_t nBestDiffering = static_cast<size_t>(nWidth) * nHeight + 1;
    for (const Picture& picture : m_aPictures) {
        const std::vector<COLORREF> aExpected = StretchedPixels(picture.hBitmap, nWidth, nHeight);
        if (aExpected.empty()) continue;
        size_t nDiffering = 0;
        for (int y = 0; y < nHeight; ++y) {
            for (int x = 0; x < nWidth; ++x) {
                const POINT pt = {area.left + x, area.top + y};
                nDiffering +=
                    !Close(shown.Pixel(pt), aExpected[static_cast<size_t>(y) * nWidth + x]);
            }
        }
        if (nDiffering < nBestDiffering) {
            nBestDiffering = nDiffering;
            best = picture.face;
        }
    }
    return nBestDiffering <= nWidth * nHeight * MAX_DIFFERING_SHARE ? best : ButtonFace::UNKNOWN;
}
