#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "framework/BitmapButton.h"

namespace {
// The pixels a button draws for one state into a bitmap of the released picture's size.
std::vector<DWORD> Drawn(CBitmapButton& button, UINT state) {
    HBITMAP released = LoadBitmapA(GetModuleHandleA(nullptr), "COPYU24");
    BITMAP size{};
    GetObjectA(released, sizeof(size), &size);
    DeleteObject(released);
    BITMAPINFO info{};
    BITMAPINFOHEADER& header = info.bmiHeader;
    header.biSize = sizeof(header);
    header.biWidth = size.bmWidth;
    header.biHeight = size.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP target = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, target);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.itemState = state;
    item.hDC = dc;
    item.rcItem = {0, 0, size.bmWidth, size.bmHeight};
    button.DrawItem(&item);
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + size.bmWidth * size.bmHeight);
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
    return pixels;
}
}  // namespace

// The COPY button's pictures: pressed only while pressed, whatever else its state says.
TEST(BitmapButton, ShowsThePressedPictureOnlyWhenSelected) {
    CBitmapButton button;
    ASSERT_TRUE(button.LoadBitmaps("COPYU24", "COPYD24"));
    const std::vector<DWORD> released = Drawn(button, 0);
    const std::vector<DWORD> pressed = Drawn(button, ODS_SELECTED | ODS_FOCUS);
    EXPECT_NE(released, pressed);
    EXPECT_EQ(Drawn(button, ODS_FOCUS), released);
    EXPECT_EQ(Drawn(button, ODS_DISABLED), released);
}
