// Text panes: bytes in and out, a change of code page, edits, dropped files, and documents
// built on a worker thread.
#include <QComboBox>
#include <QMimeData>
#include <QtConcurrent/QtConcurrentRun>
#include <QtTest>

#include "tests/test_text.h"
#include "views/morvane_view2.h"
#include "views/morvane_view3.h"
#include "views/text_pane.h"
#include "window_fixture.h"

using namespace morvane;
using namespace morvane::test;

namespace {

// A drag that enters the pane and drops there: Qt delivers a drop only to the widget that
// accepted the drag's entry.
void DropFile(CTextPane* pane, const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(pane->viewport(), &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(pane->viewport(), &drop);
}

// Text and document for pane made on a worker thread, as the views make them.
CPaneText MadeOnWorker(const CTextPane& pane, const std::string& bytes) {
    const CPaneLayout layout = PaneLayoutOf(&pane);
    const int codePage = pane.codePage();
    CPaneText text;
    QtConcurrent::run([&] { MakePaneContent(bytes, codePage, layout, text); }).waitForFinished();
    return text;
}

} // namespace

class TestTextPane : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        m_sandbox = std::make_unique<CConfigSandbox>();
        m_dialogs.cancelProgress = false;
    }
    void cleanup() { m_sandbox.reset(); }

    void bytesShowAsTextOfTheCodePage_data();
    void bytesShowAsTextOfTheCodePage();
    void unchangedPaneGivesBackExactlyItsBytes_data();
    void unchangedPaneGivesBackExactlyItsBytes();
    void editedTextIsEncodedWithItsLineBreaks();
    void otherCodePageKeepsTheBytes();
    void firstCodePageKeepsTypedText();
    void droppedFileOpensAsOpenFileWould();
    void dropWithoutCodePageDoesNothing();
    void workerDocumentShowsAsSetPlainTextWould_data();
    void workerDocumentShowsAsSetPlainTextWould();
    void fillLeavesNothingToUndo();
    void filledDocumentKeepsThePaneLook();
    void stoppedWorkMakesNoDocument_data();
    void stoppedWorkMakesNoDocument();
    void editKeepsTheBytesOfUntouchedLines_data();
    void editKeepsTheBytesOfUntouchedLines();
    void cancelledCodePageLeavesThePane_data();
    void cancelledCodePageLeavesThePane();

  private:
    std::unique_ptr<CConfigSandbox> m_sandbox;
    CFakeDialogs m_dialogs;
};

void TestTextPane::bytesShowAsTextOfTheCodePage_data() {
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QString>("text");
    QTest::addRow("GBK") << 936 << QStringLiteral("简体中文");
    QTest::addRow("BIG5") << 950 << QStringLiteral("繁體中文");
    QTest::addRow("Shift-JIS") << 932 << QStringLiteral("日本語のテキスト");
    QTest::addRow("Cyrillic") << 1251 << QStringLiteral("Привет");
    QTest::addRow("UTF-8") << 65001 << QStringLiteral("mixed 中文 ελληνικά");
}

void TestTextPane::bytesShowAsTextOfTheCodePage() {
    QFETCH(int, codePage);
    QFETCH(QString, text);
    CTextPane pane(codePage);
    pane.setBytes(Encoded(text.toStdString(), codePage));
    QCOMPARE(pane.toPlainText(), text);
    pane.setPlainText(text); // typed: encoded back into the code page
    QCOMPARE(Shown(pane.bytes()), Shown(Encoded(text.toStdString(), codePage)));
}

void TestTextPane::unchangedPaneGivesBackExactlyItsBytes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addRow("CR LF line breaks") << QByteArray("one\r\ntwo\r\n");
    QTest::addRow("mixed line breaks") << QByteArray("a\nb\r\nc\rd");
    QTest::addRow("invalid GBK bytes") << QByteArray::fromHex("41ff80d6d042");
    QTest::addRow("lone lead byte at the end") << QByteArray::fromHex("4142d6");
    QTest::addRow("no-break space") << QByteArray::fromHex("41a1a142");
}

void TestTextPane::unchangedPaneGivesBackExactlyItsBytes() {
    QFETCH(QByteArray, bytes);
    CTextPane pane(936);
    pane.setBytes(bytes.toStdString());
    QCOMPARE(Shown(pane.bytes()), Shown(bytes.toStdString()));
}

void TestTextPane::editedTextIsEncodedWithItsLineBreaks() {
    CTextPane pane(936);
    pane.setBytes(Gbk("第一\r\n第二"));
    QSignalSpy edited(&pane, &CTextPane::edited);
    pane.moveCursor(QTextCursor::End);
    pane.insertPlainText(QStringLiteral("\n第三"));
    QCOMPARE(edited.count(), 1);
    QCOMPARE(Shown(pane.bytes()), Shown(Gbk("第一\r\n第二\r\n第三")));

    CTextPane plain(936);
    plain.setPlainText(QStringLiteral("甲\n乙"));
    QCOMPARE(Shown(plain.bytes()), Shown(Gbk("甲\n乙")));
}

void TestTextPane::otherCodePageKeepsTheBytes() {
    CTextPane pane(936);
    const std::string bytes = Gbk("中文");
    pane.setBytes(bytes);
    pane.setCodePage(950);
    QCOMPARE(Shown(pane.bytes()), Shown(bytes));
    QCOMPARE(pane.toPlainText(), QString::fromStdString(Utf8(bytes, 950)));
    pane.setCodePage(936);
    QCOMPARE(pane.toPlainText(), QStringLiteral("中文"));
}

void TestTextPane::firstCodePageKeepsTypedText() {
    CTextPane pane(0);
    pane.setPlainText(QStringLiteral("中文"));
    pane.setCodePage(936);
    QCOMPARE(pane.toPlainText(), QStringLiteral("中文"));
    QCOMPARE(Shown(pane.bytes()), Shown(Gbk("中文")));
}

void TestTextPane::droppedFileOpensAsOpenFileWould() {
    const QString file = m_sandbox->Path(QStringLiteral("dropped.txt"));
    WriteFile(file, Big5("繁體"));
    CMorvaneView3 view;
    CTextPane* right = view.Pane(CTwoPaneView::kRight);
    DropFile(right, file);
    QCOMPARE(Shown(right->bytes()), Shown(Big5("繁體")));
    QCOMPARE(m_dialogs.openDialogs, 0);

    DropFile(right, m_sandbox->Path(QStringLiteral("missing.txt")));
    QCOMPARE(m_dialogs.warnings.size(), 1);
    QVERIFY(m_dialogs.warnings[0].contains(QStringLiteral("missing.txt")));
    QCOMPARE(Shown(right->bytes()), Shown(Big5("繁體")));
}

void TestTextPane::dropWithoutCodePageDoesNothing() {
    const QString file = m_sandbox->Path(QStringLiteral("dropped.txt"));
    WriteFile(file, "text");
    CMorvaneView2 view;
    DropFile(view.Pane(CTwoPaneView::kLeft), file);
    QCOMPARE(view.Pane(CTwoPaneView::kLeft)->toPlainText(), QString());
    view.ComboLeft()->setCurrentIndex(7);
    DropFile(view.Pane(CTwoPaneView::kLeft), file);
    QCOMPARE(view.Pane(CTwoPaneView::kLeft)->toPlainText(), QStringLiteral("text"));
}

void TestTextPane::workerDocumentShowsAsSetPlainTextWould_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("codePage");
    // The worker fills the document in pieces of 256 Ki characters.
    const QString piece(256 * 1024 - 1, QLatin1Char('a'));
    QTest::addRow("empty") << QString() << 936;
    QTest::addRow("CR LF lines") << QStringLiteral("第一\r\n第二\r\n") << 936;
    QTest::addRow("lone CR") << QStringLiteral("a\rb\nc") << 936;
    QTest::addRow("no-break space") << QStringLiteral("a\u00a0b") << 65001;
    QTest::addRow("surrogate pair across pieces")
        << piece + QStringLiteral("\U0001F600b\nc") << 65001;
    QTest::addRow("many pieces of lines") << QStringLiteral("一行中文\n").repeated(300000) << 950;
}

void TestTextPane::workerDocumentShowsAsSetPlainTextWould() {
    QFETCH(QString, text);
    QFETCH(int, codePage);
    const std::string bytes = Encoded(text.toStdString(), codePage);
    CTextPane pane(codePage);
    pane.setBytes(bytes, MadeOnWorker(pane, bytes));

    QCOMPARE(pane.document()->thread(), pane.thread());
    QPlainTextEdit reference;
    reference.setPlainText(QString::fromStdString(Utf8(bytes, codePage))
                               .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QCOMPARE(pane.document()->blockCount(), reference.document()->blockCount());
    QVERIFY(pane.document()->toRawText() == reference.document()->toRawText());
    QVERIFY(pane.bytes() == bytes);
    QCOMPARE(pane.textCursor().position(), 0);
}

void TestTextPane::fillLeavesNothingToUndo() {
    CTextPane pane(936);
    QSignalSpy edited(&pane, &CTextPane::edited);
    pane.setBytes(Gbk("第一\r\n第二"));
    pane.moveCursor(QTextCursor::End);
    pane.insertPlainText(QStringLiteral("甲"));
    QVERIFY(pane.document()->isUndoAvailable());
    QCOMPARE(edited.count(), 1);

    const std::string loaded = Gbk("丙\r\n丁");
    pane.setBytes(loaded, MadeOnWorker(pane, loaded));
    QVERIFY(!pane.document()->isUndoAvailable());
    QVERIFY(!pane.document()->isRedoAvailable());
    QVERIFY(!pane.document()->isModified());
    QCOMPARE(edited.count(), 1);

    // Edits after the fill are undone back to the loaded text, not beyond it.
    pane.moveCursor(QTextCursor::End);
    pane.insertPlainText(QStringLiteral("戊"));
    QCOMPARE(edited.count(), 2);
    pane.undo();
    QCOMPARE(pane.toPlainText(), QStringLiteral("丙\n丁"));
    QVERIFY(!pane.document()->isUndoAvailable());
    QCOMPARE(Shown(pane.bytes()), Shown(loaded));
}

void TestTextPane::filledDocumentKeepsThePaneLook() {
    CTextPane pane(936);
    QFont font = pane.font();
    font.setPixelSize(23);
    pane.setFont(font);
    pane.setLineWrapMode(QPlainTextEdit::NoWrap);
    pane.setTabStopDistance(57);
    const std::string bytes = Gbk("中文\t字");
    pane.setBytes(bytes, MadeOnWorker(pane, bytes));
    QCOMPARE(pane.document()->defaultFont(), font);
    QCOMPARE(pane.document()->defaultTextOption().wrapMode(), QTextOption::NoWrap);
    QCOMPARE(pane.tabStopDistance(), 57.0);

    // A font given later still reaches the document the pane now shows.
    font.setPixelSize(31);
    pane.setFont(font);
    QCOMPARE(pane.document()->defaultFont(), font);
}

void TestTextPane::stoppedWorkMakesNoDocument_data() {
    QTest::addColumn<double>("stopAt");
    QTest::addRow("while decoding") << 0.0;
    QTest::addRow("while the document is built") << 0.6;
    QTest::addRow("at the end") << 1.0;
}

void TestTextPane::stoppedWorkMakesNoDocument() {
    QFETCH(double, stopAt);
    CTextPane pane(936);
    const std::string bytes = Gbk(std::string(600000, 'a') + "\r\n中文");
    CPaneText text;
    QList<double> shares;
    const bool done = MakePaneContent(bytes, 936, PaneLayoutOf(&pane), text, [&](double share) {
        shares << share;
        return share < stopAt;
    });
    QVERIFY(!done);
    QVERIFY(text.document == nullptr);
    QVERIFY(shares.last() >= stopAt);
    QVERIFY(std::is_sorted(shares.begin(), shares.end()));

    CPaneText whole;
    shares.clear();
    QVERIFY(MakePaneContent(bytes, 936, PaneLayoutOf(&pane), whole, [&](double share) {
        shares << share;
        return true;
    }));
    QVERIFY(whole.document != nullptr);
    QVERIFY(std::is_sorted(shares.begin(), shares.end()));
    QCOMPARE(shares.last(), 1.0);
}

void TestTextPane::editKeepsTheBytesOfUntouchedLines_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("shownIn"); // the code page the pane shows them in when edited
    QTest::addColumn<QString>("typedAtEnd");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<bool>("worker"); // the pane filled with a document made on a worker
    const auto gbk = [](const char* utf8) { return QByteArray::fromStdString(Gbk(utf8)); };
    struct Case {
        const char* name;
        QByteArray bytes;
        int shownIn;
        QString typedAtEnd;
        QByteArray expected;
    };
    const Case cases[] = {
        {"a line added after CR LF lines", gbk("第一\r\n第二"), 936, QStringLiteral("\n第三"),
         gbk("第一\r\n第二\r\n第三")},
        {"bytes GBK cannot show", QByteArray::fromHex("41ff0d0a") + gbk("中"), 936,
         QStringLiteral("文"), QByteArray::fromHex("41ff0d0a") + gbk("中文")},
        {"each line its own end", "a\nb\r\nc", 936, QStringLiteral("d"), "a\nb\r\ncd"},
        {"ideographic space", QByteArray::fromHex("41a1a1420d0a43"), 936, QStringLiteral("D"),
         QByteArray::fromHex("41a1a1420d0a4344")},
        // The untouched lines are found by the text of the code page shown, not the first;
        // BIG5 cannot hold GBK's AA 84 and would give it back as '?'.
        {"shown in another code page", gbk("獎中\r\n文"), 950, QStringLiteral("\nB"),
         gbk("獎中\r\n文") + "\r\nB"},
    };
    for (const Case& c : cases) {
        for (bool worker : {false, true}) {
            QTest::addRow("%s, filled %s", c.name, worker ? "on the worker" : "here")
                << c.bytes << c.shownIn << c.typedAtEnd << c.expected << worker;
        }
    }
}

void TestTextPane::editKeepsTheBytesOfUntouchedLines() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, shownIn);
    QFETCH(QString, typedAtEnd);
    QFETCH(QByteArray, expected);
    QFETCH(bool, worker);
    CTextPane pane(936);
    if (worker)
        pane.setBytes(bytes.toStdString(), MadeOnWorker(pane, bytes.toStdString()));
    else
        pane.setBytes(bytes.toStdString());
    QVERIFY(pane.setCodePage(shownIn));
    pane.moveCursor(QTextCursor::End);
    pane.insertPlainText(typedAtEnd);

    QCOMPARE(Shown(pane.bytes()), Shown(expected.toStdString()));
    // What a worker encodes from the pane's source is the same.
    const CPaneSource source = pane.source();
    Bytes made;
    QtConcurrent::run([&] { MakePaneBytes(source, made); }).waitForFinished();
    QCOMPARE(Shown(made), Shown(expected.toStdString()));
    // Asked again, the pane answers the same: nothing was used up.
    QCOMPARE(Shown(pane.bytes()), Shown(expected.toStdString()));
}

void TestTextPane::cancelledCodePageLeavesThePane_data() {
    QTest::addColumn<bool>("edited");
    QTest::addRow("as filled") << false;
    QTest::addRow("edited") << true;
}

void TestTextPane::cancelledCodePageLeavesThePane() {
    QFETCH(bool, edited);
    CTextPane pane(936);
    QFont font = pane.font();
    font.setPixelSize(21);
    pane.setFont(font);
    const std::string bytes = Gbk("第一\r\n第二");
    pane.setBytes(bytes);
    if (edited) {
        pane.moveCursor(QTextCursor::End);
        pane.insertPlainText(QStringLiteral("甲"));
    }
    const QTextDocument* document = pane.document();
    const QString text = pane.toPlainText();
    const std::string before = pane.bytes();

    QFont other = font;
    other.setPixelSize(33);
    const int dialogs = m_dialogs.progressDialogs;
    m_dialogs.cancelProgress = true;
    QVERIFY(!pane.setCodePage(950, other));
    QCOMPARE(m_dialogs.progressDialogs, dialogs + 1);
    QCOMPARE(pane.codePage(), 936);
    QCOMPARE(pane.document(), document);
    QCOMPARE(pane.toPlainText(), text);
    QCOMPARE(pane.font(), font);
    QCOMPARE(pane.document()->isUndoAvailable(), edited);
    QCOMPARE(Shown(pane.bytes()), Shown(before));

    // Not cancelled, the same change shows the bytes in the new code page and font.
    m_dialogs.cancelProgress = false;
    QVERIFY(pane.setCodePage(950, other));
    QCOMPARE(pane.codePage(), 950);
    QCOMPARE(pane.font(), other);
    QCOMPARE(pane.document()->defaultFont(), other);
    QCOMPARE(Shown(pane.bytes()), Shown(before));
    QCOMPARE(pane.toPlainText(), QString::fromStdString(Utf8(before, 950))
                                     .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

QTEST_MAIN(TestTextPane)
#include "text_pane_test.moc"
