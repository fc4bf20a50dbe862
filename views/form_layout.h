// Where the controls of the two-pane and one-pane views go for a given client size.
#pragma once

#include <QRect>

namespace morvane {

// Two panes side by side: a top-row control over each, ">>" and "<<" between them and
// "Open file" and "Save as..." under each.
struct TwoPaneRects {
    QRect topLeft, leftPane, toRight, toLeft, topRight, rightPane;
    QRect openLeft, saveLeft, openRight, saveRight;
};
// W, H: the client size; h1, h2: the current heights of the two top-row controls.
TwoPaneRects ComputeTwoPaneLayout(int W, int H, int h1, int h2);

// One pane across the width: a caption over it, a check box and Save under it.
struct OnePaneRects {
    QRect caption, pane, check, save;
};
OnePaneRects ComputeOnePaneLayout(int W, int H, int h);

} // namespace morvane
