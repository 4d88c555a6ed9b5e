#include "ScreenCapture.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

// How far a channel of a drawn pixel may lie from the colour asked for.
constexpr int CHANNEL_TOLERANCE = 24;

long Distance(COLORREF a, COLORREF b) {
    const long dr = GetRValue(a) - GetRValue(b), dg = GetGValue(a) - GetGValue(b),
               db = GetBValue(a) - GetBValue(b);
    return dr * dr + dg * dg + db * db;
}

// The system palette's reserved colours, nearest to a colour first.
std::vector<COLORREF> ReservedColoursNearest(COLORREF clr) {
    HDC hScreen = GetDC(nullptr);
    const int nReserved = GetDeviceCaps(hScreen, NUMRESERVED);
    const int nSize = GetDeviceCaps(hScreen, SIZEPALETTE);
    std::vector<PALETTEENTRY> aEntries(static_cast<size_t>(nSize));
    GetSystemPaletteEntries(hScreen, 0, nSize, aEntries.data());
    ReleaseDC(nullptr, hScreen);
    std::vector<COLORREF> aColours;
    for (int i = 0; i < nSize; ++i) {
        if (i < nReserved / 2 || i >= nSize - nReserved / 2)
            aColours.push_back(RGB(aEntries[i].peRed, aEntries[i].peGreen, aEntries[i].peBlue));
    }
    std::stable_sort(aColours.begin(), aColours.end(),
                     [&](COLORREF a, COLORREF b) { return Distance(a, clr) < Distance(b, clr); });
    return aColours;
}

}  // namespace

int DisplayColourBits() {
    HDC hScreen = GetDC(nullptr);
    const int nBits = GetDeviceCaps(hScreen, PLANES) * GetDeviceCaps(hScreen, BITSPIXEL);
    ReleaseDC(nullptr, hScreen);
    return nBits;
}

bool IsPaletteDisplay() { return DisplayColourBits() < 16; }

COLORREF ShownColour(COLORREF clrAsked) {
    return IsPaletteDisplay() ? ReservedColoursNearest(clrAsked).front() : clrAsked;
}

CScreenCapture::CScreenCapture(const RECT& rcScreenArea)
    : m_rcArea(rcScreenArea),
      m_nWidth(rcScreenArea.right - rcScreenArea.left),
      m_nHeight(rcScreenArea.bottom - rcScreenArea.top),
      m_hBitmap(nullptr),
      m_pBits(nullptr) {
    if (m_nWidth <= 0 || m_nHeight <= 0) return;
    HDC hScreen = GetDC(nullptr);
    HDC hMemory = CreateCompatibleDC(hScreen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = m_nWidth;
    info.bmiHeader.biHeight = -m_nHeight;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    m_hBitmap = CreateDIBSection(hScreen, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (m_hBitmap && hMemory) {
        HGDIOBJ hPrevious = SelectObject(hMemory, m_hBitmap);
        if (BitBlt(hMemory, 0, 0, m_nWidth, m_nHeight, hScreen, m_rcArea.left, m_rcArea.top,
                   SRCCOPY)) {
            GdiFlush();
            m_pBits = static_cast<const DWORD*>(pBits);
        }
        SelectObject(hMemory, hPrevious);
    }
    if (hMemory) DeleteDC(hMemory);
    ReleaseDC(nullptr, hScreen);
}

CScreenCapture::~CScreenCapture() {
    if (m_hBitmap) DeleteObject(m_hBitmap);
}

COLORREF CScreenCapture::Pixel(POINT ptScreen) const {
    if (!m_pBits || !PtInRect(&m_rcArea, ptScreen)) return CLR_INVALID;
    const DWORD nWord =
        m_pBits[(ptScreen.y - m_rcArea.top) * m_nWidth + (ptScreen.x - m_rcArea.left)];
    return RGB((nWord >> 16) & 0xFF, (nWord >> 8) & 0xFF, nWord & 0xFF);
}

bool CScreenCapture::SaveBitmapFile(const std::string& strPath) const {
    if (!m_pBits) return false;
    const DWORD nRowBytes = (static_cast<DWORD>(m_nWidth) * 3 + 3) & ~3u;
    const DWORD nImageBytes = nRowBytes * static_cast<DWORD>(m_nHeight);
    BITMAPFILEHEADER fileHeader = {};
    BITMAPINFOHEADER infoHeader = {};
    fileHeader.bfType = 0x4D42;
    fileHeader.bfOffBits = sizeof(fileHeader) + sizeof(infoHeader);
    fileHeader.bfSize = fileHeader.bfOffBits + nImageBytes;
    infoHeader.biSize = sizeof(infoHeader);
    infoHeader.biWidth = m_nWidth;
    infoHeader.biHeight = m_nHeight;  // bottom-up, as every reader expects
    infoHeader.biPlanes = 1;
    infoHeader.biBitCount = 24;
    infoHeader.biCompression = BI_RGB;
    infoHeader.biSizeImage = nImageBytes;

    std::vector<BYTE> aImage(nImageBytes, 0);
    for (int y = 0; y < m_nHeight; ++y) {
        BYTE* pRow = &aImage[static_cast<size_t>(m_nHeight - 1 - y) * nRowBytes];
        for (int x = 0; x < m_nWidth; ++x) {
            const DWORD nWord = m_pBits[y * m_nWidth + x];
            pRow[3 * x] = static_cast<BYTE>(nWord & 0xFF);
            pRow[3 * x + 1] = static_cast<BYTE>((nWord >> 8) & 0xFF);
            pRow[3 * x + 2] = static_cast<BYTE>((nWord >> 16) & 0xFF);
        }
    }

    HANDLE hFile =
        CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return false;
    DWORD nWritten = 0;
    DWORD nTotal = 0;
    bool bOk = WriteFile(hFile, &fileHeader, sizeof(fileHeader), &nWritten, nullptr) != 0;
    nTotal += nWritten;
    bOk = bOk && WriteFile(hFile, &infoHeader, sizeof(infoHeader), &nWritten, nullptr) != 0;
    nTotal += nWritten;
    bOk = bOk && WriteFile(hFile, aImage.data(), nImageBytes, &nWritten, nullptr) != 0;
    nTotal += nWritten;
    CloseHandle(hFile);
    return bOk && nTotal == fileHeader.bfSize;
}

std::vector<COLORREF> StretchedPixels(HBITMAP hPicture, int nWidth, int nHeight,
                                      bool bDisplayColours) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = nWidth;
    info.bmiHeader.biHeight = -nHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC hScreen = GetDC(nullptr);
    HDC hSource = CreateCompatibleDC(hScreen);
    HDC hTarget = CreateCompatibleDC(hScreen);
    void* pBits = nullptr;
    HBITMAP hStretched = bDisplayColours
                             ? CreateCompatibleBitmap(hScreen, nWidth, nHeight)
                             : CreateDIBSection(hScreen, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    BITMAP size = {};
    GetObjectA(hPicture, sizeof(size), &size);
    HGDIOBJ hOldSource = SelectObject(hSource, hPicture);
    HGDIOBJ hOldTarget = SelectObject(hTarget, hStretched);
    SetStretchBltMode(hTarget, COLORONCOLOR);
    StretchBlt(hTarget, 0, 0, nWidth, nHeight, hSource, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    SelectObject(hTarget, hOldTarget);
    SelectObject(hSource, hOldSource);
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

double ShareUnlike(const RECT& rcScreenArea, const std::vector<COLORREF>& aExpected) {
    const int nWidth = rcScreenArea.right - rcScreenArea.left;
    const int nHeight = rcScreenArea.bottom - rcScreenArea.top;
    const CScreenCapture shown(rcScreenArea);
    if (!shown.IsValid() || nWidth <= 0 || aExpected.size() != size_t(nWidth) * nHeight) return 1;
    // Wine shows a realized palette's colours in the reserved colours, though not always in the
    // nearest one: either of the two nearest passes.
    const bool bPalette = IsPaletteDisplay();
    std::map<COLORREF, std::vector<COLORREF>> nearest;
    size_t nUnlike = 0;
    for (int y = 0; y < nHeight; ++y) {
        for (int x = 0; x < nWidth; ++x) {
            const COLORREF clrShown = shown.Pixel({rcScreenArea.left + x, rcScreenArea.top + y});
            const COLORREF clrAsked = aExpected[size_t(y) * nWidth + x];
            bool bLike = std::abs(GetRValue(clrShown) - GetRValue(clrAsked)) <= CHANNEL_TOLERANCE &&
                         std::abs(GetGValue(clrShown) - GetGValue(clrAsked)) <= CHANNEL_TOLERANCE &&
                         std::abs(GetBValue(clrShown) - GetBValue(clrAsked)) <= CHANNEL_TOLERANCE;
            if (!bLike && bPalette) {
                auto found = nearest.find(clrAsked);
                if (found == nearest.end())
                    found = nearest.emplace(clrAsked, ReservedColoursNearest(clrAsked)).first;
                bLike = clrShown == found->second[0] || clrShown == found->second[1];
            }
            nUnlike += !bLike;
        }
    }
    return double(nUnlike) / double(aExpected.size());
}
