// The main window's placement as the 44-byte "pl" setting: eleven 32-bit little-endian fields.
#pragma once

#include <array>
#include <cstdint>

class QWidget;

namespace morvane {

// Show commands and the one flag the placement uses.
constexpr std::int32_t SW_SHOWNORMAL = 1;
constexpr std::int32_t SW_SHOWMINIMIZED = 2;
constexpr std::int32_t SW_SHOWMAXIMIZED = 3;
constexpr std::int32_t SW_SHOW = 5;
constexpr std::int32_t SW_RESTORE = 9;
constexpr std::int32_t WPF_RESTORETOMAXIMIZED = 2;

struct WindowPlacement {
    std::int32_t length = 44;
    std::int32_t flags = 0;
    std::int32_t showCmd = SW_SHOW;
    std::int32_t minX = -1, minY = -1;                     // minimised position (unused by us)
    std::int32_t maxX = -1, maxY = -1;                     // maximised position (unused by us)
    std::int32_t left = 0, top = 0, right = 0, bottom = 0; // the restored rectangle
};

constexpr std::size_t kPlacementSize = 44;
using PlacementBytes = std::array<unsigned char, kPlacementSize>;

PlacementBytes EncodePlacement(const WindowPlacement& placement);
WindowPlacement DecodePlacement(const PlacementBytes& bytes);

// The window's placement as it should be stored at close: a minimised window is stored as
// maximised or restored, so it never starts minimised from a placement it saved itself.
WindowPlacement PlacementForClose(const QWidget& window);

// Places and shows the window as the placement says. A rectangle that is empty or lies on
// no screen is not applied, so a stale or hand-edited value cannot lose the window.
void ApplyPlacementAndShow(QWidget& window, const WindowPlacement& placement);

// Reads "pl" and shows the window by it, or with its default geometry when there is none.
void RestorePlacementAndShow(QWidget& window);
// Writes "pl" from the window's state.
void SavePlacement(const QWidget& window);

} // namespace morvane
