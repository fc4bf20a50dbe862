// Gives a menu bar or menu, and every sub-menu below it, the labels of the current language.
#pragma once

#include <cstdint>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace morvane {

// The command id an action answers to (0 for none); RelabelMenu finds items by it.
void SetCommandId(QAction* action, std::uint32_t id);
std::uint32_t CommandId(const QAction* action);

// Relabels items from the menu table: commands by their id, the File, View and Help
// pop-ups by the label they carry now. Items without a row (Language) keep their labels.
void RelabelMenu(QMenuBar* menuBar);
void RelabelMenu(QMenu* menu);

} // namespace morvane
