// "Open file" and "Save as..." of the text panes, and the dialogs they ask.
#pragma once

#include <QString>

#include <cstdint>

class QWidget;

namespace morvane {

class CTextPane;

// The file type filter of both dialogs and the save dialog's default extension.
extern const char* const kPaneFileFilter;
extern const char* const kPaneDefaultSuffix;

// The open dialog; true with the chosen file's path, false on Cancel.
bool PromptOpenFile(QWidget* parent, QString& path);
// The save dialog and, for an existing non-empty file, the overwrite question; true when
// the caller may write to path. A name without extension gets the default one.
bool PromptSaveFile(QWidget* parent, QString& path);
// The size of the file path names; 0 when there is none or it is a folder.
std::int64_t GetExistingFileSize(const QString& path);

// Asks for a file and loads it into the pane (a UTF-16LE file is decoded into codePage).
void LoadPaneFile(CTextPane* pane, int codePage);
// Loads path into the pane without asking; a file that cannot be read is reported and
// leaves the pane as it was. Returns whether the pane was loaded.
bool LoadFileIntoPane(CTextPane* pane, int codePage, const QString& path);
// Asks for a file name and writes the pane's bytes to it; nothing for an empty pane.
void SavePaneFile(CTextPane* pane);

} // namespace morvane
