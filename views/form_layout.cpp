// The form layouts: 4-pixel side margins, a 1-pixel top margin, 24-pixel buttons at the
// bottom, and for two panes a 40-pixel channel in the middle for the arrow buttons.
#include "views/form_layout.h"

namespace morvane {

TwoPaneRects ComputeTwoPaneLayout(int W, int H, int h1, int h2) {
    const int M = W / 2;
    const int V = H / 2;
    const int CL = M - 24;
    const int CR = (W - 4) - (M + 20);
    const int y1 = 1 + h1 + 4;
    const int y2 = 1 + h2 + 4;
    const int x8 = 4 + CL / 2 + 1;
    const int x10 = M + 20 + CR / 2 + 1;

    TwoPaneRects r;
    r.topLeft = QRect(4, 1, CL, h1);
    r.leftPane = QRect(4, y1, CL, (H - 28) - y1);
    r.toRight = QRect(M - 16, V - 28, 32, 24);
    r.toLeft = QRect(M - 16, V + 4, 32, 24);
    r.topRight = QRect(M + 20, 1, CR, h2);
    r.rightPane = QRect(M + 20, y2, CR, (H - 28) - y2);
    r.openLeft = QRect(4, H - 24, CL / 2 - 1, 24);
    r.saveLeft = QRect(x8, H - 24, (M - 20) - x8, 24);
    r.openRight = QRect(M + 20, H - 24, CR / 2 - 1, 24);
    r.saveRight = QRect(x10, H - 24, (W - 4) - x10, 24);
    return r;
}

OnePaneRects ComputeOnePaneLayout(int W, int H, int h) {
    const int y1 = 1 + h + 4;
    OnePaneRects r;
    r.caption = QRect(4, 1, W - 8, h);
    r.pane = QRect(4, y1, W - 8, (H - 28) - y1);
    r.check = QRect(4, H - 24, W - 90, 24);
    r.save = QRect(W - 84, H - 24, 80, 24);
    return r;
}

} // namespace morvane
