// A text pane: an edit that holds its text as bytes of one code page.
#pragma once

#include <QPlainTextEdit>
#include <QTextDocument>

#include <functional>
#include <memory>
#include <optional>

#include "engine/bytes.h"
#include "views/pane_document.h"

namespace morvane {

// What a pane shows for its bytes, made apart from any pane so a worker thread can make it.
struct CPaneText {
    QString text;      // line breaks as single LFs, as the edit keeps them
    bool crLf = false; // they came as CR LF
    // The text as a document ready for the pane, or null for the pane to make it.
    std::unique_ptr<QTextDocument> document;
};

// The text of bytes of codePage (0: taken as UTF-8), reporting the share done to progress,
// which may stop the work by returning false; then returns false.
bool MakePaneText(const Bytes& bytes, int codePage, CPaneText& text,
                  const std::function<bool(double)>& progress = {});
// The same, and the document too, laid out as layout (PaneLayoutOf the pane) says: all a
// worker thread can do, so that the pane only has to take the document.
bool MakePaneContent(const Bytes& bytes, int codePage, const CPaneLayout& layout, CPaneText& text,
                     const std::function<bool(double)>& progress = {});

// What a pane's bytes are made from, copied on the pane's thread (CTextPane::source) so that
// a worker thread can make them.
struct CPaneSource {
    Bytes bytes;         // as the pane was last filled with them
    QString shown;       // the text they were shown as then (CPaneText::text)
    bool edited = false; // the user has changed the text since
    QString text;        // if so, the edit's text as it is now (QTextDocument::toRawText)
    int codePage = 0;
    bool crLf = false;
};

// The pane's bytes (as CTextPane::bytes says) made from source, reporting the share done to
// progress, which may stop the work by returning false; then returns false.
bool MakePaneBytes(const CPaneSource& source, Bytes& bytes,
                   const std::function<bool(double)>& progress = {});

class CTextPane : public QPlainTextEdit {
    Q_OBJECT
  public:
    // codePage 0: no code page chosen yet; the text is kept as it is typed.
    explicit CTextPane(int codePage, QWidget* parent = nullptr);

    int codePage() const { return m_nCodePage; }
    // Shows the pane's bytes as text of another code page, in font when one is given; the
    // bytes stay as they are. From "no code page" the text itself is kept. The work runs on
    // a worker thread with progress; false, the pane left as it was, when cancelled.
    bool setCodePage(int codePage, const std::optional<QFont>& font = std::nullopt);

    // The pane's bytes: exactly what setBytes put there while the text is not edited;
    // after an edit, the text encoded into the code page with the line breaks it came with,
    // lines left alone keeping their bytes.
    Bytes bytes() const;
    // What bytes() is made from, for MakePaneBytes on a worker thread.
    CPaneSource source() const;
    // Replaces the whole text with bytes of the pane's code page.
    void setBytes(const Bytes& bytes);
    // The same with the text already made by MakePaneText or MakePaneContent from bytes and
    // the pane's code page. Like setPlainText, leaves nothing to undo.
    void setBytes(const Bytes& bytes, CPaneText&& text);

  signals:
    // The user changed the text (not setBytes or setCodePage).
    void edited();
    // A local file was dropped on the pane; it is not inserted as text.
    void fileDropped(const QString& path);

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void fill(const Bytes& bytes, CPaneText&& text, const std::optional<QFont>& font);
    void showText(CPaneText&& text, const std::optional<QFont>& font);

    int m_nCodePage;
    Bytes m_bytes;   // what the pane was last filled with; still its bytes while m_bBytesCurrent
    QString m_shown; // the text m_bytes were shown as, kept so an edit need not decode them again
    bool m_bBytesCurrent = true;
    bool m_bCrLf = false;    // line breaks came as CR LF
    bool m_bSetting = false; // the text is being set by us, not edited
};

} // namespace morvane
