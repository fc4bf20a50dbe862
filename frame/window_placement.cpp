// Filling the 44-byte placement from a Qt window and applying it back.
#include "frame/window_placement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include "settings/settings_store.h"

namespace morvane {

namespace {

void Put(PlacementBytes& bytes, std::size_t field, std::int32_t value) {
    const auto raw = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i)
        bytes[field * 4 + i] = static_cast<unsigned char>(raw >> (8 * i));
}

std::int32_t Get(const PlacementBytes& bytes, std::size_t field) {
    std::uint32_t raw = 0;
    for (std::size_t i = 0; i < 4; ++i)
        raw |= std::uint32_t(bytes[field * 4 + i]) << (8 * i);
    return static_cast<std::int32_t>(raw);
}

bool OnSomeScreen(const QRect& rect) {
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersects(rect))
            return true;
    }
    return false;
}

} // namespace

PlacementBytes EncodePlacement(const WindowPlacement& p) {
    PlacementBytes bytes{};
    const std::int32_t fields[11] = {p.length, p.flags, p.showCmd, p.minX,  p.minY,  p.maxX,
                                     p.maxY,   p.left,  p.top,     p.right, p.bottom};
    for (std::size_t i = 0; i < 11; ++i)
        Put(bytes, i, fields[i]);
    return bytes;
}

WindowPlacement DecodePlacement(const PlacementBytes& bytes) {
    WindowPlacement p;
    p.length = static_cast<std::int32_t>(kPlacementSize); // whatever was stored
    p.flags = Get(bytes, 1);
    p.showCmd = Get(bytes, 2);
    p.minX = Get(bytes, 3);
    p.minY = Get(bytes, 4);
    p.maxX = Get(bytes, 5);
    p.maxY = Get(bytes, 6);
    p.left = Get(bytes, 7);
    p.top = Get(bytes, 8);
    p.right = Get(bytes, 9);
    p.bottom = Get(bytes, 10);
    return p;
}

WindowPlacement PlacementForClose(const QWidget& window) {
    WindowPlacement p;
    const Qt::WindowStates state = window.windowState();
    // Qt keeps the maximised bit while a maximised window is minimised: that is the flag.
    if (state & Qt::WindowMaximized)
        p.flags = WPF_RESTORETOMAXIMIZED;
    if (state & Qt::WindowMinimized)
        p.showCmd = (p.flags & WPF_RESTORETOMAXIMIZED) ? SW_SHOWMAXIMIZED : SW_RESTORE;
    else if (state & Qt::WindowMaximized)
        p.showCmd = SW_SHOWMAXIMIZED;
    else
        p.showCmd = SW_SHOWNORMAL;
    // The restored rectangle is the client geometry (what setGeometry takes back), which
    // stays exact on every window manager, unlike the decorated frame.
    const QRect normal =
        window.normalGeometry().isValid() ? window.normalGeometry() : window.geometry();
    p.left = normal.left();
    p.top = normal.top();
    p.right = normal.left() + normal.width();
    p.bottom = normal.top() + normal.height();
    return p;
}

void ApplyPlacementAndShow(QWidget& window, const WindowPlacement& p) {
    const QRect normal(p.left, p.top, p.right - p.left, p.bottom - p.top);
    if (normal.width() > 0 && normal.height() > 0) {
        if (OnSomeScreen(normal))
            window.setGeometry(normal);
        else
            window.resize(normal.size());
    }
    switch (p.showCmd) {
    case SW_SHOWMAXIMIZED:
        window.showMaximized();
        break;
    case SW_SHOWMINIMIZED:
        window.showMinimized();
        break;
    default:
        // Hidden (0) or any other command still shows the window: a hand-edited value must
        // not leave a running program without a window.
        window.show();
        break;
    }
}

void RestorePlacementAndShow(QWidget& window) {
    PlacementBytes bytes{};
    if (ReadSetting("pl", bytes.data(), bytes.size()))
        ApplyPlacementAndShow(window, DecodePlacement(bytes));
    else {
        // First start: room for two panes of text rather than the bare minimum size.
        window.resize(760, 480);
        window.show();
    }
}

void SavePlacement(const QWidget& window) {
    const PlacementBytes bytes = EncodePlacement(PlacementForClose(window));
    WriteSetting("pl", bytes.data(), bytes.size());
}

} // namespace morvane
