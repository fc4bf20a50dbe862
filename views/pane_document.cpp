// Qt's text documents are reentrant, so one may be filled on a worker thread and then moved to
// the pane's thread: the edit then only swaps documents instead of parsing the whole text.
#include "views/pane_document.h"

#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QThread>

namespace morvane {

namespace {

// Big enough that the pieces cost little, small enough that a cancel is seen at once.
constexpr qsizetype kPieceChars = 256 * 1024;

} // namespace

CPaneLayout PaneLayoutOf(const QPlainTextEdit* edit) {
    const QTextDocument* document = edit->document();
    CPaneLayout layout;
    layout.font = edit->font().toString();
    layout.option = document->defaultTextOption();
    layout.margin = document->documentMargin();
    layout.undoRedo = document->isUndoRedoEnabled();
    layout.thread = edit->thread();
    return layout;
}

std::unique_ptr<QTextDocument> MakePaneDocument(const QString& text, const CPaneLayout& layout,
                                                const std::function<bool(double)>& progress) {
    auto document = std::make_unique<QTextDocument>();
    document->setDocumentLayout(new QPlainTextDocumentLayout(document.get()));
    QFont font;
    font.fromString(layout.font);
    document->setDefaultFont(font);
    document->setDefaultTextOption(layout.option);
    document->setDocumentMargin(layout.margin);

    // As QPlainTextEdit::setPlainText does: the text arrives unmodified, with no step to undo.
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document.get());
    for (qsizetype start = 0; start < text.size();) {
        qsizetype length = std::min(kPieceChars, text.size() - start);
        // A surrogate pair stays in one piece.
        if (start + length < text.size() && text[start + length - 1].isHighSurrogate())
            ++length;
        cursor.insertText(text.sliced(start, length));
        start += length;
        if (progress && !progress(double(start) / double(text.size())))
            return nullptr;
    }
    document->setUndoRedoEnabled(layout.undoRedo);
    document->setModified(false);
    // The edit gives every line a layout object when it takes the document; making them here
    // halves what is left for its thread.
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        block.layout();

    if (layout.thread != nullptr)
        document->moveToThread(layout.thread);
    return document;
}

} // namespace morvane
