#include "ScreenCapture.h"

#include <vector>

int DisplayColourBits() {
    HDC hScreen = GetDC(nullptr);
    const int nBits = GetDeviceCaps(hScreen, PLANES) * GetDeviceCaps(hScreen, BITSPIXEL);
    ReleaseDC(nullptr, hScreen);
    return nBits;
}

bool IsPaletteDisplay() { return DisplayColourBits() < 16; }

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
