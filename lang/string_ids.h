// Named ids of the interface texts (IDS_...) and of the menu commands (ID_...). The numbers
// are those the language tables are keyed by; labels of controls share their control's id.
#pragma once

#include <cstdint>

namespace morvane {

// Main window: title, menu, toolbar and icon share this resource id.
constexpr std::uint32_t IDR_MAINFRAME = 128;

// View and language commands of the View menu and the toolbar.
constexpr std::uint32_t ID_VIEW_EXPLAIN = 32771;
constexpr std::uint32_t ID_VIEW_CODE_TRANSLATE = 32772;
constexpr std::uint32_t ID_VIEW_GB_BIG5 = 32773;
constexpr std::uint32_t ID_SELECT_ALL = 32774; // accelerator Ctrl+A only, no menu item
constexpr std::uint32_t ID_LANGUAGE_SIMPLIFIED = 32775;
constexpr std::uint32_t ID_LANGUAGE_TRADITIONAL = 32776;
constexpr std::uint32_t ID_LANGUAGE_ENGLISH = 32777;
constexpr std::uint32_t ID_VIEW_GB_BIG5_SETTING = 32778;
constexpr std::uint32_t ID_VIEW_GBK_INTERNAL = 32779;

// Commands with the numbers the classic desktop frameworks give them.
constexpr std::uint32_t ID_APP_ABOUT = 57664;
constexpr std::uint32_t ID_APP_EXIT = 57665;
constexpr std::uint32_t ID_VIEW_TOOLBAR = 59392;
constexpr std::uint32_t ID_VIEW_STATUS_BAR = 59393;

// Status-bar key indicators; only CAPS, NUM and SCRL are shown.
constexpr std::uint32_t ID_INDICATOR_EXT = 59136;
constexpr std::uint32_t ID_INDICATOR_CAPS = 59137;
constexpr std::uint32_t ID_INDICATOR_NUM = 59138;
constexpr std::uint32_t ID_INDICATOR_SCRL = 59139;
constexpr std::uint32_t ID_INDICATOR_OVR = 59140;
constexpr std::uint32_t ID_INDICATOR_REC = 59141;

// String ids. A command's prompt ("status text\ntool tip") has the command's id.
constexpr std::uint32_t IDS_OK = 1;                 // OK button of the About box
constexpr std::uint32_t IDS_ABOUT_CAPTION = 100;    // About box caption
constexpr std::uint32_t IDS_MAIN_TITLE = IDR_MAINFRAME;
constexpr std::uint32_t IDS_LABEL_GB = 1007;        // GB-BIG5 view, Simplified pane label
constexpr std::uint32_t IDS_LABEL_BIG5 = 1008;      // GB-BIG5 view, Traditional pane label
constexpr std::uint32_t IDS_OPEN_FILE = 1010;       // Open-file buttons
constexpr std::uint32_t IDS_SAVE_AS = 1011;         // Save-as buttons
constexpr std::uint32_t IDS_ABOUT_VERSION = 1016;   // About box name and version line
constexpr std::uint32_t IDS_ABOUT_COPYRIGHT = 1017; // About box copyright line
constexpr std::uint32_t IDS_ABOUT_HOMEPAGE = 1018;  // About box home page link
constexpr std::uint32_t IDS_ABOUT_MAIL = 1019;      // About box mail link (without "mailto:")
constexpr std::uint32_t IDS_LABEL_GLOSSARY = 1021;  // glossary view, label above the text
constexpr std::uint32_t IDS_GLOSSARY_SAVE = 1022;   // glossary view, Save button
constexpr std::uint32_t IDS_USE_GLOSSARY = 1023;    // glossary view, on/off check box
constexpr std::uint32_t IDS_LABEL_GBK_SIMPLIFIED = 1025;
constexpr std::uint32_t IDS_LABEL_GBK_TRADITIONAL = 1026;

constexpr std::uint32_t IDS_APP_TITLE = 57344;    // message box captions
constexpr std::uint32_t IDS_IDLE_MESSAGE = 57345; // status bar idle text

// Status prompts of the system menu's items.
constexpr std::uint32_t IDS_SC_SIZE = 61184;
constexpr std::uint32_t IDS_SC_MOVE = 61185;
constexpr std::uint32_t IDS_SC_MINIMIZE = 61186;
constexpr std::uint32_t IDS_SC_MAXIMIZE = 61187;
constexpr std::uint32_t IDS_SC_CLOSE = 61190;
constexpr std::uint32_t IDS_SC_RESTORE = 61202;

// The top-level pop-ups have no command id; these name them in the menu tables.
constexpr std::uint32_t IDS_MENU_FILE = 61204;
constexpr std::uint32_t IDS_MENU_VIEW = 61205;
constexpr std::uint32_t IDS_MENU_HELP = 61206;

constexpr std::uint32_t IDS_OVERWRITE_PROMPT = 61207; // "%s" takes the file name
constexpr std::uint32_t IDS_NO_MATCHING_FONT = 61208;

} // namespace morvane
