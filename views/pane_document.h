// A pane's document built away from the pane: on a worker thread, then handed to the pane's
// thread, so filling a big pane never holds up the window.
#pragma once

#include <QFont>
#include <QString>
#include <QTextOption>

#include <functional>
#include <memory>

class QPlainTextEdit;
class QTextDocument;
class QThread;

namespace morvane {

// How an edit lays out its document, copied on the edit's thread for use on another.
struct CPaneLayout {
    QString font; // QFont::toString(): a copy that shares nothing with the edit's font
    QTextOption option;
    qreal margin = 0;
    bool undoRedo = true;
    QThread* thread = nullptr; // where the edit lives
};

// The layout of edit's current document; call on the edit's thread.
CPaneLayout PaneLayoutOf(const QPlainTextEdit* edit);

// A plain-text document of text, laid out as layout says, unmodified and with nothing to undo,
// living in layout.thread. Filled in pieces so that progress (told the share done) may stop it by
// returning false; then null.
std::unique_ptr<QTextDocument> MakePaneDocument(const QString& text, const CPaneLayout& layout,
                                                const std::function<bool(double)>& progress = {});

} // namespace morvane
