// The interface texts: one string table, one menu table and one help text per language,
// in the order English, Simplified Chinese, Traditional Chinese. All texts are UTF-8, and
// each Simplified text must also fit GBK and each Traditional one BIG5 (a test checks).
// The wording is fixed as users know it, its slips included ("already exist",
// "&Code Translate)"); do not polish it.
#include "lang/lang.h"
#include "lang/string_ids.h"

#include <iterator>

namespace morvane {
namespace {

// Texts that several rows or languages share.
constexpr char kVersionLine[] = "Morvane v2.2";
constexpr char kHomePage[] = "https://morvane.org/";
constexpr char kMailAddress[] = "morvane@morvane.org"; // bare: the About box adds "mailto:"

// A command's prompt is its status-bar text, a line feed, then its tool tip.
constexpr LangEntry kStringsEnglish[] = {
    {IDS_MAIN_TITLE, kVersionLine},
    {IDS_APP_TITLE, "Morvane"},
    {IDS_IDLE_MESSAGE, "Ready"},
    {IDS_SC_SIZE, "Change the window size"},
    {IDS_SC_MOVE, "Change the window position"},
    {IDS_SC_MINIMIZE, "Reduce the window to an icon"},
    {IDS_SC_MAXIMIZE, "Enlarge the window to full size"},
    {IDS_SC_CLOSE, "Close the active window"},
    {IDS_SC_RESTORE, "Restore the window to normal size"},
    {ID_APP_EXIT, "Quit the application\nExit"},
    {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar"},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar"},
    {ID_APP_ABOUT, "Display program information, version number and copyright\nAbout"},
    {ID_VIEW_EXPLAIN, "Introduction of use Morvane\nExplain"},
    {ID_VIEW_CODE_TRANSLATE, "Translate txt between different character set\nCode translate"},
    {ID_VIEW_GB_BIG5, "Translate txt between Chinese(PRC)GB and Chinese(Taiwan)BIG5\nGB-BIG5"},
    {ID_VIEW_GB_BIG5_SETTING, "GB-BIG5 Setting and edit glossary table\nGB-BIG5 Setting"},
    {ID_VIEW_GBK_INTERNAL, "Translate txt between Chinese(PRC)GBK Simplified and Chinese(PRC)GBK "
                           "Traditional\nGBK(Simplified)-GBK(Traditional)"},
    {IDS_OK, "OK"},
    {IDS_LABEL_GB, "Chinese(PRC) Simplified(GBK):"},
    {IDS_LABEL_BIG5, "Chinese(Taiwan) Traditional(BIG5):"},
    {IDS_LABEL_GLOSSARY, "glossary table for GB-BIG5(GBK):"},
    {IDS_LABEL_GBK_SIMPLIFIED, "Chinese GBK Simplified:"},
    {IDS_LABEL_GBK_TRADITIONAL, "Chinese GBK Traditional:"},
    {IDS_USE_GLOSSARY, "Use glossary table for GB-BIG5(GBK)"},
    {IDS_GLOSSARY_SAVE, "Save"},
    {IDS_OPEN_FILE, "Open file"},
    {IDS_SAVE_AS, "Save as..."},
    {IDS_ABOUT_VERSION, kVersionLine},
    {IDS_ABOUT_COPYRIGHT, "Copyright (C) 2026 The Morvane developers"},
    {IDS_ABOUT_HOMEPAGE, kHomePage},
    {IDS_ABOUT_MAIL, kMailAddress},
    {IDS_ABOUT_CAPTION, "About Morvane"},
    {ID_INDICATOR_EXT, "EXT"},
    {ID_INDICATOR_CAPS, "CAPS"},
    {ID_INDICATOR_NUM, "NUM"},
    {ID_INDICATOR_SCRL, "SCRL"},
    {ID_INDICATOR_OVR, "OVR"},
    {ID_INDICATOR_REC, "REC"},
    {IDS_OVERWRITE_PROMPT, "File \"%s\" already exist, overwrite?"},
    {IDS_NO_MATCHING_FONT, "There no font matching the character set on your PC!"},
};

constexpr LangEntry kStringsSimplified[] = {
    {IDS_MAIN_TITLE, kVersionLine},
    {IDS_APP_TITLE, "Morvane"},
    {IDS_IDLE_MESSAGE, "就绪"},
    {IDS_SC_SIZE, "改变窗口大小"},
    {IDS_SC_MOVE, "改变窗口位置"},
    {IDS_SC_MINIMIZE, "将窗口缩小成图标"},
    {IDS_SC_MAXIMIZE, "把窗口放大到最大尺寸"},
    {IDS_SC_CLOSE, "关闭活动的窗口"},
    {IDS_SC_RESTORE, "把窗口恢复到正常大小"},
    {ID_APP_EXIT, "退出Morvane程序\n退出"},
    {ID_VIEW_TOOLBAR, "显示或隐藏工具栏\n显隐工具栏"},
    {ID_VIEW_STATUS_BAR, "显示或隐藏状态栏\n显隐状态栏"},
    {ID_APP_ABOUT, "显示程序信息，版本号和版权\n关于"},
    {ID_VIEW_EXPLAIN, "Morvane软件使用说明\n转换说明"},
    {ID_VIEW_CODE_TRANSLATE, "把文本从一种编码转换为另一种编码\n编码转换"},
    {ID_VIEW_GB_BIG5, "把字符串在GBK编码和BIG5编码间互相转换\n简繁转换"},
    {ID_VIEW_GB_BIG5_SETTING, "简繁转换的设置和词汇对照表编辑\n简繁转换设置"},
    {ID_VIEW_GBK_INTERNAL, "把字符串在GBK简体和GBK繁体间互相转换\nGBK编码内简繁转换"},
    {IDS_OK, "确定"},
    {IDS_LABEL_GB, "简体中文(GBK)："},
    {IDS_LABEL_BIG5, "繁体中文(BIG5)："},
    {IDS_LABEL_GLOSSARY, "简繁词汇对照表(GBK)："},
    {IDS_LABEL_GBK_SIMPLIFIED, "GBK简体："},
    {IDS_LABEL_GBK_TRADITIONAL, "GBK繁体："},
    {IDS_USE_GLOSSARY, "使用简繁词汇对照表"},
    {IDS_GLOSSARY_SAVE, "保存"},
    {IDS_OPEN_FILE, "打开文件"},
    {IDS_SAVE_AS, "另存为..."},
    {IDS_ABOUT_VERSION, kVersionLine},
    {IDS_ABOUT_COPYRIGHT, "版权所有 (C) 2026 Morvane 开发者"},
    {IDS_ABOUT_HOMEPAGE, kHomePage},
    {IDS_ABOUT_MAIL, kMailAddress},
    {IDS_ABOUT_CAPTION, "关于 Morvane"},
    {ID_INDICATOR_EXT, "扩展名"},
    {ID_INDICATOR_CAPS, "大写"},
    {ID_INDICATOR_NUM, "数字"},
    {ID_INDICATOR_SCRL, "滚动"},
    {ID_INDICATOR_OVR, "改写"},
    {ID_INDICATOR_REC, "记录"},
    {IDS_OVERWRITE_PROMPT, "要覆盖文件 \"%s\" 吗？"},
    {IDS_NO_MATCHING_FONT, "您的PC上没有匹配该字符集的字体！"},
};

constexpr LangEntry kStringsTraditional[] = {
    {IDS_MAIN_TITLE, kVersionLine},
    {IDS_APP_TITLE, "Morvane"},
    {IDS_IDLE_MESSAGE, "就緒"},
    {IDS_SC_SIZE, "改變視窗大小"},
    {IDS_SC_MOVE, "改變視窗位置"},
    {IDS_SC_MINIMIZE, "將視窗縮小成圖示"},
    {IDS_SC_MAXIMIZE, "把視窗放大到最大尺寸"},
    {IDS_SC_CLOSE, "關閉活動的視窗"},
    {IDS_SC_RESTORE, "把視窗恢復到正常大小"},
    {ID_APP_EXIT, "退出Morvane程式\n退出"},
    {ID_VIEW_TOOLBAR, "顯示或隱藏工具列\n顯隱工具列"},
    {ID_VIEW_STATUS_BAR, "顯示或隱藏狀態列\n顯隱狀態列"},
    {ID_APP_ABOUT, "顯示程式資訊，版本號和版權\n關於"},
    {ID_VIEW_EXPLAIN, "Morvane軟體使用說明\n轉換說明"},
    {ID_VIEW_CODE_TRANSLATE, "把文字從一種編碼轉換為另一種編碼\n編碼轉換"},
    {ID_VIEW_GB_BIG5, "把字串在GBK編碼和BIG5編碼間互相轉換\n簡繁轉換"},
    {ID_VIEW_GB_BIG5_SETTING, "簡繁轉換的設定和詞彙對照表編輯\n簡繁轉換設定"},
    {ID_VIEW_GBK_INTERNAL, "把字元串在GBK簡體和GBK繁體間互相轉換\nGBK編碼內簡繁轉換"},
    {IDS_OK, "確定"},
    {IDS_LABEL_GB, "簡體中文(GBK)："},
    {IDS_LABEL_BIG5, "繁體中文(BIG5)："},
    {IDS_LABEL_GLOSSARY, "簡繁詞彙對照表(GBK)："},
    {IDS_LABEL_GBK_SIMPLIFIED, "GBK簡體："},
    {IDS_LABEL_GBK_TRADITIONAL, "GBK繁體："},
    {IDS_USE_GLOSSARY, "使用簡繁詞彙對照表"},
    {IDS_GLOSSARY_SAVE, "保存"},
    {IDS_OPEN_FILE, "開啟檔案"},
    {IDS_SAVE_AS, "另存為..."},
    {IDS_ABOUT_VERSION, kVersionLine},
    {IDS_ABOUT_COPYRIGHT, "版權所有 (C) 2026 Morvane 開發者"},
    {IDS_ABOUT_HOMEPAGE, kHomePage},
    {IDS_ABOUT_MAIL, kMailAddress},
    {IDS_ABOUT_CAPTION, "關於 Morvane"},
    {ID_INDICATOR_EXT, "延伸名"},
    {ID_INDICATOR_CAPS, "大寫"},
    {ID_INDICATOR_NUM, "數字"},
    {ID_INDICATOR_SCRL, "滾動"},
    {ID_INDICATOR_OVR, "改寫"},
    {ID_INDICATOR_REC, "記錄"},
    {IDS_OVERWRITE_PROMPT, "要覆寫檔案 \"%s\" 嗎？"},
    {IDS_NO_MATCHING_FONT, "您的PC上沒有匹配該字元集的字型！"},
};

constexpr LangEntry kMenuEnglish[] = {
    {IDS_MENU_FILE, "&File"},
    {IDS_MENU_VIEW, "&View"},
    {IDS_MENU_HELP, "&Help"},
    {ID_APP_EXIT, "E&xit"},
    {ID_VIEW_EXPLAIN, "&Explain"},
    {ID_VIEW_CODE_TRANSLATE, "&Code Translate)"},
    {ID_VIEW_GB_BIG5, "Translate between &GB and BIG5"},
    {ID_VIEW_GB_BIG5_SETTING, "GB-BIG5 Setting"},
    {ID_VIEW_GBK_INTERNAL, "Translate between GBK(Simplified) and GBK(Traditional)"},
    {ID_VIEW_TOOLBAR, "&Toolbar"},
    {ID_VIEW_STATUS_BAR, "&Status Bar"},
    {ID_APP_ABOUT, "&About Morvane..."},
};

constexpr LangEntry kMenuSimplified[] = {
    {IDS_MENU_FILE, "文件(&F)"},
    {IDS_MENU_VIEW, "查看(&V)"},
    {IDS_MENU_HELP, "帮助(&H)"},
    {ID_APP_EXIT, "退出(&E)"},
    {ID_VIEW_EXPLAIN, "转换说明(&E)"},
    {ID_VIEW_CODE_TRANSLATE, "编码转换(&C)"},
    {ID_VIEW_GB_BIG5, "简繁转换(&G)"},
    {ID_VIEW_GB_BIG5_SETTING, "简繁转换设置"},
    {ID_VIEW_GBK_INTERNAL, "GBK编码内简繁转换"},
    {ID_VIEW_TOOLBAR, "显隐工具栏(&T)"},
    {ID_VIEW_STATUS_BAR, "显隐状态栏(&S)"},
    {ID_APP_ABOUT, "关于 Morvane(&A)..."},
};

constexpr LangEntry kMenuTraditional[] = {
    {IDS_MENU_FILE, "檔案(&F)"},
    {IDS_MENU_VIEW, "檢視(&V)"},
    {IDS_MENU_HELP, "幫助(&H)"},
    {ID_APP_EXIT, "退出(&E)"},
    {ID_VIEW_EXPLAIN, "轉換說明(&E)"},
    {ID_VIEW_CODE_TRANSLATE, "編碼轉換(&C)"},
    {ID_VIEW_GB_BIG5, "簡繁轉換(&G)"},
    {ID_VIEW_GB_BIG5_SETTING, "簡繁轉換設定"},
    {ID_VIEW_GBK_INTERNAL, "GBK編碼內簡繁轉換"},
    {ID_VIEW_TOOLBAR, "顯隱工具列(&T)"},
    {ID_VIEW_STATUS_BAR, "顯隱狀態列(&S)"},
    {ID_APP_ABOUT, "關於 Morvane(&A)..."},
};

constexpr char kHelpEnglish[] =
    "Morvane v2.2\r\n"
    "-> Translate txt between different character set\r\n"
    "-> View/Edit multi-language txt\r\n"
    "-> Translate txt between Chinese(PRC)GB and Chinese(Taiwan)BIG5\r\n"
    "\r\n"
    "Function introduction:\r\n"
    "1.Translate txt between different character set(Code1-unicode-Code2)\r\n"
    "2.Translate txt between GB and BIG5(GBK(Simplified)-GBK(Traditional)-unicode-BIG5)\r\n"
    "3.Use cmd line:\r\n"
    "[/X sCodePage dCodePage ] Translate txt between different character set\r\n"
    "[/B] GBK to BIG5\r\n"
    "[/G] BIG5 to GBK\r\n"
    "[/T] Use glossary table for GB-BIG5\r\n"
    "[/S \"File name\"] Source file\r\n"
    "[/D \"File name\"] Destination file\r\n"
    "Example:\r\n"
    "Chinese(PRC) to Japanese\r\n"
    "morvane /X 936 932 /S \"chinese.txt\" /D \"japanese.txt\" \r\n"
    "GB to BIG5 and use glossary table for GB-BIG5\r\n"
    "morvane /B /T /S \"gb2312.txt\" /D \"big5.txt\" \r\n"
    "BIG5 to GB\r\n"
    "morvane /G /S \"big5.txt\" /D \"gb2312.txt\" \r\n";

constexpr char kHelpSimplified[] =
    "Morvane v2.2\r\n"
    "→在不同字符集间转换编码\r\n"
    "→查看编辑多国语言文本\r\n"
    "→简繁转换\r\n"
    "\r\n"
    "功能简介：\r\n"
    "1、编码转换功能在不同字符集间转换编码(Code1-unicode-Code2)\r\n"
    "2、简繁转换功能(GBK简体-GBK繁体-unicode-BIG5)\r\n"
    "3、命令行使用方法：\r\n"
    "[/X sCodePage dCodePage ] 编码转换\r\n"
    "[/B] 简体中文转繁体中文\r\n"
    "[/G] 繁体中文转简体中文\r\n"
    "[/T] 使用简繁词汇对照表\r\n"
    "[/S \"文件名\"] 源文件\r\n"
    "[/D \"文件名\"] 目标文件\r\n"
    "例如：\r\n"
    "简体中文转换为日文\r\n"
    "morvane /X 936 932 /S \"chinese.txt\" /D \"japanese.txt\" \r\n"
    "简体中文转繁体中文并使用简繁词汇对照表\r\n"
    "morvane /B /T /S \"gb2312.txt\" /D \"big5.txt\" \r\n"
    "繁体中文转简体中文\r\n"
    "morvane /G /S \"big5.txt\" /D \"gb2312.txt\" \r\n";

constexpr char kHelpTraditional[] =
    "Morvane v2.2\r\n"
    "→在不同字元集間轉換編碼\r\n"
    "→檢視編輯多國語言文字\r\n"
    "→簡繁轉換\r\n"
    "\r\n"
    "功能簡介：\r\n"
    "1、編碼轉換功能在不同字元集間轉換編碼(Code1-unicode-Code2)\r\n"
    "2、簡繁轉換功能(GBK簡體-GBK繁體-unicode-BIG5)\r\n"
    "3、指令行使用方法：\r\n"
    "[/X sCodePage dCodePage ] 編碼轉換\r\n"
    "[/B] 簡體中文轉繁體中文\r\n"
    "[/G] 繁體中文轉簡體中文\r\n"
    "[/T] 使用簡繁詞彙對照表\r\n"
    "[/S \"檔名\"] 源檔案\r\n"
    "[/D \"檔名\"] 目標檔案\r\n"
    "例如：\r\n"
    "簡體中文轉換為日文\r\n"
    "morvane /X 936 932 /S \"chinese.txt\" /D \"japanese.txt\" \r\n"
    "簡體中文轉繁體中文並使用簡繁詞彙對照表\r\n"
    "morvane /B /T /S \"gb2312.txt\" /D \"big5.txt\" \r\n"
    "繁體中文轉簡體中文\r\n"
    "morvane /G /S \"big5.txt\" /D \"gb2312.txt\" \r\n";

} // namespace

// constinit: the application object reads these during static initialisation.
constinit const LangTable g_stringTables[3] = {
    {kStringsEnglish, static_cast<int>(std::size(kStringsEnglish))},
    {kStringsSimplified, static_cast<int>(std::size(kStringsSimplified))},
    {kStringsTraditional, static_cast<int>(std::size(kStringsTraditional))},
};

// Read only when the menu is relabelled; the Language pop-up has no rows on purpose, its
// labels read the same in every language.
constinit const LangTable g_menuTables[3] = {
    {kMenuEnglish, static_cast<int>(std::size(kMenuEnglish))},
    {kMenuSimplified, static_cast<int>(std::size(kMenuSimplified))},
    {kMenuTraditional, static_cast<int>(std::size(kMenuTraditional))},
};

// Shown in the Explain view and as the batch usage text. Lines end in CR LF because the
// text goes into multi-line edit panes as it is.
constinit const char* const g_helpTexts[3] = {kHelpEnglish, kHelpSimplified, kHelpTraditional};

} // namespace morvane
