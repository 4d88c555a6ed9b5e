#include "app/Environment.h"
#include "app/TransferDlg.h"
#include "display/PicturePaint.h"
#include "display/TransferPanelLayout.h"

namespace {
// The layout runs once per program, at the first paint, before the first pictures.
short g_layoutDone = 0;
}  // namespace

void CTransferDlg::OnPaint() {
    if (g_layoutDone == 0) {
        LayoutTransferPanel(m_hWnd, StandardDialog());
        ++g_layoutDone;
        // What the standard part drew at its old places must not linger.
        ::RedrawWindow(StandardDialog(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    PaintPictures(m_hWnd, m_pictureDibs, DisplayMode);
    Default();
}
