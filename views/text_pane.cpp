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

namespace morvane {

namespace {

Bytes Encode(const QString& text, int codePage) {
    const QByteArray utf8 = text.toUtf8();
    Bytes bytes(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    if (codePage != 0)
        ConvertCodePage(bytes, kCodePageUtf8, codePage);
    return bytes;
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
    const auto part = [&](double start, double size) {
        return [&progress, start, size](double share) {
            return !progress || progress(start + share * size);
        };
    };
    if (!MakePaneText(bytes, codePage, text, part(0.0, kDecodeShare)))
        return false;
    text.document = MakePaneDocument(text.text, layout, part(kDecodeShare, 1.0 - kDecodeShare));
    return text.document != nullptr;
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

void CTextPane::setCodePage(int codePage) {
    if (codePage == m_nCodePage)
        return;
    if (m_nCodePage == 0) {
        // There were no bytes yet, only typed text: keep the text.
        const Bytes typed = Encode(toPlainText(), codePage);
        m_nCodePage = codePage;
        setBytes(typed);
        return;
    }
    const Bytes kept = bytes();
    m_nCodePage = codePage;
    setBytes(kept);
}

Bytes CTextPane::bytes() const {
    return m_bBytesCurrent ? m_bytes : encodeText();
}

void CTextPane::setBytes(const Bytes& bytes) {
    CPaneText text;
    MakePaneText(bytes, m_nCodePage, text);
    setBytes(bytes, std::move(text));
}

void CTextPane::setBytes(const Bytes& bytes, CPaneText&& text) {
    m_bytes = bytes;
    m_bBytesCurrent = true;
    showText(std::move(text));
}

void CTextPane::showText(CPaneText&& text) {
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
    if (document()->defaultFont() != font())
        document()->setDefaultFont(font());
    m_bSetting = false;
    // Freeing a big one takes a while: not in the same turn of the event loop as the swap.
    if (ours != nullptr)
        ours->deleteLater();
}

Bytes CTextPane::encodeText() const {
    // The raw text keeps no-break spaces that toPlainText() would turn into blanks.
    QString text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    const Bytes newLine = m_bCrLf ? Bytes("\r\n") : Bytes("\n");
    const QStringList lines = text.split(QLatin1Char('\n'));

    // Lines the user left alone keep their exact bytes, so bytes the code page cannot show
    // and each line's own line end survive an edit elsewhere.
    std::vector<std::string_view> oldLines; // each without its '\n'
    for (std::string_view rest(m_bytes);;) {
        const std::size_t end = rest.find('\n');
        oldLines.push_back(rest.substr(0, end));
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    CPaneText shown;
    MakePaneText(m_bytes, m_nCodePage, shown);
    const QStringList oldShown = shown.text.split(QLatin1Char('\n'));
    const bool linesAgree = m_nCodePage != 0 && oldShown.size() == qsizetype(oldLines.size());

    Bytes out;
    std::size_t next = 0; // the first old line not yet used
    for (qsizetype i = 0; i < lines.size(); ++i) {
        std::size_t match = oldLines.size();
        // A short look ahead finds the old line again after lines were added or removed.
        for (std::size_t j = next; linesAgree && j < oldLines.size() && j < next + 64; ++j) {
            if (oldShown[qsizetype(j)] == lines[i]) {
                match = j;
                break;
            }
        }
        Bytes body;
        Bytes lineEnd = newLine;
        if (match == oldLines.size()) {
            body = Encode(lines[i], m_nCodePage);
        } else {
            std::string_view kept = oldLines[match];
            const bool endedInLine = match + 1 < oldLines.size();
            if (endedInLine && kept.ends_with('\r')) {
                kept.remove_suffix(1);
                lineEnd = "\r\n";
            } else if (endedInLine) {
                lineEnd = "\n";
            }
            body = Bytes(kept);
            next = match + 1;
        }
        out += body;
        if (i + 1 < lines.size())
            out += lineEnd;
    }
    return out;
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
