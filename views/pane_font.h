// Pane fonts: an installed font that covers a code page's script, 16 pixels high.
#pragma once

#include <QFont>
#include <QFontDatabase>

namespace morvane {

// The script a code page's text is written in.
QFontDatabase::WritingSystem WritingSystemForCodePage(int codePage);

// A 16-pixel font covering the writing system, fixed pitch where one exists; false when
// no installed font covers it.
bool FontForWritingSystem(QFontDatabase::WritingSystem system, QFont& font);

// Gives the widget the font of the code page's script; false (font untouched) when none
// is installed.
bool SetFontForCodePage(QWidget* widget, int codePage);

// The same for a pane whose code page is fixed; the first failure of a run is reported
// (message 61208), so a machine without Chinese fonts says so once, not once per pane.
void SetPaneFontReportOnce(QWidget* widget, int codePage);

} // namespace morvane
