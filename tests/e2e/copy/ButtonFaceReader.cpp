#include "ButtonFaceReader.h"

#include <cstdlib>

namespace {

// Pictures of the EXIT/STOP button in the language module: released and pressed of each face,
// for a high-colour display and for a palette display.
constexpr UINT HIGH_COLOUR_PICTURES[] = {4001, 4002, 4003, 4004};
constexpr UINT PALETTE_PICTURES[] = {4005, 4006, 4007, 4008};
// A face is recognised when at most this share of the pixels differ from its picture.
constexpr double MAX_DIFFERING_SHARE = 0.1;
constexpr int CHANNEL_TOLERANCE = 24;

bool IsPaletteDisplay() {
    HDC hScreen = GetDC(nullptr);
    const int nBits = GetDeviceCaps(hScreen, BITSPIXEL) * GetDeviceCaps(hScreen, PLANES);
    ReleaseDC(nullptr, hScreen);
    return nBits < 16;
}

// The pixels of a bitmap as 32-bit BGRX rows, top row first.
std::vector<DWORD> PixelsOf(HDC hDc, HBITMAP hBitmap, int nWidth, int nHeight) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = nWidth;
    info.bmiHeader.biHeight = -nHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> aPixels(static_cast<size_t>(nWidth) * nHeight);
    if (!GetDIBits(hDc, hBitmap, 0, nHeight, aPixels.data(), &info, DIB_RGB_COLORS))
        aPixels.clear();
    return aPixels;
}

bool Close(DWORD a, DWORD b) {
    for (int nShift = 0; nShift < 24; nShift += 8) {
        const int nA = (a >> nShift) & 0xFF;
        const int nB = (b >> nShift) & 0xFF;
        if (std::abs(nA - nB) > CHANNEL_TOLERANCE) return false;
    }
    return true;
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
    const UINT* pIds = IsPaletteDisplay() ? PALETTE_PICTURES : HIGH_COLOUR_PICTURES;
    for (int i = 0; i < 4; ++i) {
        HBITMAP hBitmap = static_cast<HBITMAP>(LoadImageA(hModule, MAKEINTRESOURCEA(pIds[i]),
                                                          IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        if (hBitmap) m_aPictures.push_back({i < 2 ? ButtonFace::EXIT : ButtonFace::STOP, hBitmap});
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
    RECT client;
    if (!IsReady() || !hButton || !IsWindowVisible(hButton) || !GetClientRect(hButton, &client)) {
        return ButtonFace::UNKNOWN;
    }
    const int nWidth = client.right - client.left;
    const int nHeight = client.bottom - client.top;
    POINT origin = {0, 0};
    if (nWidth <= 0 || nHeight <= 0 || !ClientToScreen(hButton, &origin))
        return ButtonFace::UNKNOWN;

    HDC hScreen = GetDC(nullptr);
    HDC hMemory = CreateCompatibleDC(hScreen);
    HBITMAP hShot = CreateCompatibleBitmap(hScreen, nWidth, nHeight);
    HGDIOBJ hOld = SelectObject(hMemory, hShot);
    BitBlt(hMemory, 0, 0, nWidth, nHeight, hScreen, origin.x, origin.y, SRCCOPY);
    SelectObject(hMemory, hOld);
    const std::vector<DWORD> aShown = PixelsOf(hMemory, hShot, nWidth, nHeight);

    ButtonFace best = ButtonFace::UNKNOWN;
    size_t nBestDiffering = aShown.size() + 1;
    HDC hPictureDc = CreateCompatibleDC(hScreen);
    HBITMAP hStretched = CreateCompatibleBitmap(hScreen, nWidth, nHeight);
    for (const Picture& picture : m_aPictures) {
        BITMAP size = {};
        GetObjectA(picture.hBitmap, sizeof(size), &size);
        HGDIOBJ hOldPicture = SelectObject(hPictureDc, picture.hBitmap);
        HGDIOBJ hOldTarget = SelectObject(hMemory, hStretched);
        SetStretchBltMode(hMemory, COLORONCOLOR);
        StretchBlt(hMemory, 0, 0, nWidth, nHeight, hPictureDc, 0, 0, size.bmWidth, size.bmHeight,
                   SRCCOPY);
        SelectObject(hMemory, hOldTarget);
        SelectObject(hPictureDc, hOldPicture);
        const std::vector<DWORD> aExpected = PixelsOf(hMemory, hStretched, nWidth, nHeight);
        if (aExpected.size() != aShown.size() || aShown.empty()) continue;
        size_t nDiffering = 0;
        for (size_t i = 0; i < aShown.size(); ++i) nDiffering += !Close(aShown[i], aExpected[i]);
        if (nDiffering < nBestDiffering) {
            nBestDiffering = nDiffering;
            best = picture.face;
        }
    }
    DeleteObject(hStretched);
    DeleteDC(hPictureDc);
    DeleteObject(hShot);
    DeleteDC(hMemory);
    ReleaseDC(nullptr, hScreen);
    return nBestDiffering <= aShown.size() * MAX_DIFFERING_SHARE ? best : ButtonFace::UNKNOWN;
}
