// Pane file load and save. Files are read whole and saved atomically; a failure is
// reported with the file's name and the system's reason.
#include "views/pane_files.h"

#include <QDir>
#include <QFileInfo>

#include "engine/codepage.h"
#include "lang/string_ids.h"
#include "views/dialog_seam.h"
#include "views/file_io.h"
#include "views/progress_run.h"
#include "views/text_pane.h"
#include "views/ui_text.h"

namespace morvane {

// "*" rather than "*.*": on this system a name need not have a dot.
const char* const kPaneFileFilter = "TXT Files(*.txt *.ini);;All Files (*)";
const char* const kPaneDefaultSuffix = "TXT";

bool PromptOpenFile(QWidget* parent, QString& path) {
    const QString chosen = Dialogs().openFile(parent, QString::fromLatin1(kPaneFileFilter));
    if (chosen.isEmpty())
        return false;
    path = chosen;
    return true;
}

bool PromptSaveFile(QWidget* parent, QString& path) {
    QString chosen = Dialogs().saveFile(parent, QString::fromLatin1(kPaneFileFilter),
                                        QString::fromLatin1(kPaneDefaultSuffix));
    if (chosen.isEmpty())
        return false;
    // Native dialogs may hand the name back as typed.
    if (QFileInfo(chosen).suffix().isEmpty())
        chosen += QLatin1Char('.') + QString::fromLatin1(kPaneDefaultSuffix);
    path = chosen;
    if (GetExistingFileSize(path) == 0)
        return true;
    QString question = LangText(IDS_OVERWRITE_PROMPT);
    const qsizetype slot = question.indexOf(QLatin1String("%s"));
    if (slot >= 0)
        question.replace(slot, 2, QDir::toNativeSeparators(path));
    return Dialogs().question(parent, question);
}

std::int64_t GetExistingFileSize(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return 0;
    return info.size();
}

void LoadPaneFile(CTextPane* pane, int codePage) {
    if (pane == nullptr)
        return;
    QString path;
    if (PromptOpenFile(pane->window(), path))
        LoadFileIntoPane(pane, codePage, path);
}

bool LoadFileIntoPane(CTextPane* pane, int codePage, const QString& path) {
    // A big file is read and decoded on a worker thread, with the conversions' progress.
    Bytes bytes;
    QString reason;
    bool read = false;
    CPaneText text;
    const int paneCodePage = pane->codePage();
    const CPaneLayout layout = PaneLayoutOf(pane);
    const bool done = RunWithProgress(pane->window(), [&](const ProgressReport& report) {
        read = ReadFileBytes(path, bytes, reason);
        if (!read)
            return true;
        DecodeLoadedText(bytes, codePage);
        return MakePaneContent(bytes, paneCodePage, layout, text, report);
    });
    if (!done)
        return false;
    if (!read) {
        Dialogs().warning(pane->window(), ReadErrorText(path, reason));
        return false;
    }
    pane->setBytes(bytes, std::move(text));
    return true;
}

void SavePaneFile(CTextPane* pane) {
    if (pane == nullptr)
        return;
    // An edited pane is encoded on the worker: a big one takes a while.
    const CPaneSource source = pane->source();
    Bytes bytes;
    if (!RunWithProgress(pane->window(), [&](const ProgressReport& report) {
            return MakePaneBytes(source, bytes, report);
        }))
        return;
    if (bytes.empty())
        return;
    QString path;
    if (!PromptSaveFile(pane->window(), path))
        return;
    QString reason;
    if (!WriteFileAtomically(path, bytes, reason))
        Dialogs().warning(pane->window(), SaveErrorText(path, reason));
}

} // namespace morvane
