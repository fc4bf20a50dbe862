// Text panes: bytes kept exactly until the user edits, so loading and saving a file, or
// viewing it in another code page, never changes a byte that was not edited.
#include "views/text_pane.h"

#include <QAbstractTextDocumentLayout>
#include <QDropEvent>
#include <QMimeData>
#include <QTextDocument>
#include <QUrl>

#include <string_view>
#include <vector>

#include "engine/codepage.h"
#include "engine/conversion.h"
#include "views/progress_run.h"

namespace morvane {

namespace {

Bytes Encode(const QString& text, int codePage) {
    const QByteArray utf8 = text.toUtf8();
    Bytes bytes(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    if (codePage != 0)
        ConvertCodePage(bytes, kCodePageUtf8, codePage);
    return bytes;
}

// The progress of a part of some work, the part being size of the whole from start on.
std::function<bool(double)> Part(const std::function<bool(double)>& progress, double start,
                                 double size) {
    return [&progress, start, size](double share) {
        return !progress || progress(start + share * size);
    };
}

// The lines of text, each without its '\n'.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (;;) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            return lines;
        text.remove_prefix(end + 1);
    }
}

std::vector<QStringView> SplitLines(QStringView text) {
    std::vector<QStringView> lines;
    for (;;) {
        const qsizetype end = text.indexOf(QLatin1Char('\n'));
        if (end < 0) {
            lines.push_back(text);
            return lines;
        }
        lines.push_back(text.first(end));
        text = text.sliced(end + 1);
    }
}

QString DroppedFile(const QMimeData* source) {
    if (source == nullptr || !source->hasUrls())
        return QString();
    for (const QUrl& url : source->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return QString();
}

} // namespace

bool MakePaneText(const Bytes& bytes, int codePage, CPaneText& text,
                  const std::function<bool(double)>& progress) {
    Bytes utf8 = bytes;
    if (codePage != 0) {
        Conversion toUtf8;
        toUtf8.fromCodePage = codePage;
        toUtf8.toCodePage = kCodePageUtf8;
        bool stopped = false;
        const bool converted = ConvertWithProgress(utf8, toUtf8, [&](double share) {
            stopped = progress && !progress(share);
            return !stopped;
        });
        // A code page without a converter shows its bytes as they are.
        if (!converted && stopped)
            return false;
    }
    text.text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    text.crLf = text.text.contains(QLatin1String("\r\n"));
    text.text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return true;
}

bool MakePaneContent(const Bytes& bytes, int codePage, const CPaneLayout& layout, CPaneText& text,
                     const std::function<bool(double)>& progress) {
    // Measured on 16 MiB of GBK: decoding takes about as long as filling the document.
    constexpr double kDecodeShare = 0.5;
    if (!MakePaneText(bytes, codePage, text, Part(progress, 0.0, kDecodeShare)))
        return false;
    text.document =
        MakePaneDocument(text.text, layout, Part(progress, kDecodeShare, 1.0 - kDecodeShare));
    return text.document != nullptr;
}

bool MakePaneBytes(const CPaneSource& source, Bytes& bytes,
                   const std::function<bool(double)>& progress) {
    if (!source.edited) {
        bytes = source.bytes;
        return true;
    }
    QString text = source.text;
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    const Bytes newLine = source.crLf ? Bytes("\r\n") : Bytes("\n");
    const std::vector<QStringView> lines = SplitLines(QStringView(text));

    // Lines the user left alone keep their exact bytes, so bytes the code page cannot show
    // and each line's own line end survive an edit elsewhere. The old lines are found again
    // by the text they were shown as when the pane was filled.
    const std::vector<std::string_view> oldLines = SplitLines(std::string_view(source.bytes));
    const std::vector<QStringView> oldShown = SplitLines(QStringView(source.shown));
    const bool linesAgree = source.codePage != 0 && oldShown.size() == oldLines.size();

    Bytes out;
    out.reserve(source.bytes.size() + source.bytes.size() / 16);
    std::size_t next = 0; // the first old line not yet used
    for (std::size_t i = 0; i < lines.size(); ++i) {
        // Often enough for a cancel to be seen at once, seldom enough to cost nothing.
        if (i % 4096 == 0 && progress && !progress(double(i) / double(lines.size())))
            return false;
        std::size_t match = oldLines.size();
        // A short look ahead finds the old line again after lines were added or removed.
        for (std::size_t j = next; linesAgree && j < oldLines.size() && j < next + 64; ++j) {
            if (oldShown[j] == lines[i]) {
                match = j;
                break;
            }
        }
        Bytes lineEnd = newLine;
        if (match == oldLines.size()) {
            out += Encode(lines[i].toString(), source.codePage);
        } else {
            std::string_view kept = oldLines[match];
            const bool endedInLine = match + 1 < oldLines.size();
            if (endedInLine && kept.ends_with('\r')) {
                kept.remove_suffix(1);
                lineEnd = "\r\n";
            } else if (endedInLine) {
                lineEnd = "\n";
            }
            out += kept;
            next = match + 1;
        }
        if (i + 1 < lines.size())
            out += lineEnd;
    }
    bytes = std::move(out);
    return !progress || progress(1.0);
}

CTextPane::CTextPane(int codePage, QWidget* parent)
    : QPlainTextEdit(parent), m_nCodePage(codePage) {
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (m_bSetting)
            return;
        m_bBytesCurrent = false;
        emit edited();
    });
}

bool CTextPane::setCodePage(int codePage, const std::optional<QFont>& font) {
    if (codePage == m_nCodePage) {
        if (font)
            setFont(*font);
        return true;
    }
    // From no code page there are no bytes yet, only typed text: the text is kept.
    const bool typed = m_nCodePage == 0;
    const QString typedText = typed ? toPlainText() : QString();
    const CPaneSource kept = typed ? CPaneSource() : source();
    CPaneLayout layout = PaneLayoutOf(this);
    if (font)
        layout.font = font->toString();
    Bytes bytes;
    CPaneText text;
    const bool done = RunWithProgress(window(), [&](const ProgressReport& report) {
        // Encoding an edited text is quick beside decoding it and filling the document.
        const double encodeShare = typed || kept.edited ? 0.1 : 0.0;
        if (typed)
            bytes = Encode(typedText, codePage);
        else if (!MakePaneBytes(kept, bytes, Part(report, 0.0, encodeShare)))
            return false;
        return MakePaneContent(bytes, codePage, layout, text,
                               Part(report, encodeShare, 1.0 - encodeShare));
    });
    if (!done)
        return false;
    m_nCodePage = codePage;
    fill(bytes, std::move(text), font);
    return true;
}

Bytes CTextPane::bytes() const {
    if (m_bBytesCurrent)
        return m_bytes;
    Bytes bytes;
    MakePaneBytes(source(), bytes);
    return bytes;
}

CPaneSource CTextPane::source() const {
    CPaneSource source;
    source.bytes = m_bytes;
    source.shown = m_shown;
    source.edited = !m_bBytesCurrent;
    // The raw text keeps no-break spaces that toPlainText() would turn into blanks.
    if (source.edited)
        source.text = document()->toRawText();
    source.codePage = m_nCodePage;
    source.crLf = m_bCrLf;
    return source;
}

void CTextPane::setBytes(const Bytes& bytes) {
    CPaneText text;
    MakePaneText(bytes, m_nCodePage, text);
    setBytes(bytes, std::move(text));
}

void CTextPane::setBytes(const Bytes& bytes, CPaneText&& text) {
    fill(bytes, std::move(text), std::nullopt);
}

void CTextPane::fill(const Bytes& bytes, CPaneText&& text, const std::optional<QFont>& font) {
    m_bytes = bytes;
    m_shown = text.text;
    m_bBytesCurrent = true;
    showText(std::move(text), font);
}

void CTextPane::showText(CPaneText&& text, const std::optional<QFont>& font) {
    std::unique_ptr<QTextDocument> fresh = std::move(text.document);
    if (!fresh)
        fresh = MakePaneDocument(text.text, PaneLayoutOf(this));
    Q_ASSERT(fresh->thread() == thread());
    m_bCrLf = text.crLf;

    // Taking a whole new document is what lets a worker make it; setPlainText would parse
    // the whole text here. The edit's own settings that setDocument does not carry over are
    // given back to it. The edit deletes only the document it made itself; those made here
    // are the pane's.
    QTextDocument* const ours = document()->parent() == this ? document() : nullptr;
    const int cursorWidthKept = cursorWidth();
    m_bSetting = true;
    fresh->setParent(this);
    setDocument(fresh.release());
    document()->documentLayout()->setPaintDevice(viewport());
    setCursorWidth(cursorWidthKept);
    // A new font only now, so that the old document is not laid out again in it.
    if (font)
        setFont(*font);
    if (document()->defaultFont() != this->font())
        document()->setDefaultFont(this->font());
    m_bSetting = false;
    // Freeing a big one takes a while: not in the same turn of the event loop as the swap.
    if (ours != nullptr)
        ours->deleteLater();
}

void CTextPane::dragEnterEvent(QDragEnterEvent* event) {
    if (DroppedFile(event->mimeData()).isEmpty())
        QPlainTextEdit::dragEnterEvent(event);
    else
        event->acceptProposedAction();
}

void CTextPane::dragMoveEvent(QDragMoveEvent* event) {
    if (DroppedFile(event->mimeData()).isEmpty())
        QPlainTextEdit::dragMoveEvent(event);
    else
        event->acceptProposedAction();
}

void CTextPane::dropEvent(QDropEvent* event) {
    const QString path = DroppedFile(event->mimeData());
    if (path.isEmpty()) {
        QPlainTextEdit::dropEvent(event);
        return;
    }
    event->acceptProposedAction();
    emit fileDropped(path);
}

} // namespace morvane
