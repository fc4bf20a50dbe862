// How long a 16 MiB pane takes to convert and to show, and the longest the window stops
// answering meanwhile; printed for people, never asserted, since the time depends on the
// machine.
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "engine/codepage.h"
#include "engine/conversion.h"
#include "engine/glossary.h"
#include "tests/test_text.h"
#include "views/morvane_view2.h"
#include "views/morvane_view5.h"
#include "views/text_pane.h"
#include "window_fixture.h"

using namespace morvane;
using namespace morvane::test;

namespace {

// Lines of everyday Simplified text with a glossary word in each, up to size bytes of GBK.
std::string BigGbkText(std::size_t size) {
    const std::string line =
        Gbk("这个软件的程序在处理简体中文的时候会把每一个字转换成繁体，然后显示出来。") + "\r\n";
    std::string text;
    text.reserve(size + line.size());
    while (text.size() < size)
        text += line;
    return text;
}

// The longest stretch between two turns of the GUI thread's event loop while it lives,
// seen by a timer that asks for a turn every 10 ms.
class CGuiStall {
  public:
    CGuiStall() {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout,
                         [this] { m_longest = std::max(m_longest, m_clock.restart()); });
        m_clock.start();
        m_timer.start();
    }
    qint64 longestMs() const { return std::max(m_longest, m_clock.elapsed()); }

  private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_longest = 0;
};

// One action of a person (a click, a choice in a list) as they see it, until the window has
// painted the result.
struct ClickTimes {
    qint64 clickMs;
    qint64 stallMs;
};

ClickTimes ActAndPaint(const std::function<void()>& act) {
    QTest::qWait(200); // a person acts after the window has settled
    QElapsedTimer clock;
    CGuiStall stall;
    clock.start();
    act();
    const qint64 clickMs = clock.elapsed();
    QTest::qWait(200); // the paint of the new text
    return {clickMs, stall.longestMs()};
}

ClickTimes ClickAndPaint(QPushButton* button) {
    return ActAndPaint([button] { button->click(); });
}

void Report(const char* what, const ClickTimes& times) {
    qInfo("%s: %lld ms, the GUI thread stalled at most %lld ms", what, times.clickMs,
          times.stallMs);
}

} // namespace

class TestPaneTiming : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        m_sandbox = std::make_unique<CConfigSandbox>();
        m_sandbox->WriteGlossary(SmallGlossary());
    }
    void cleanup() { m_sandbox.reset(); }

    void sixteenMebibytes();
    void sixteenMebibytesInOtherCodePagesAndEdited();

  private:
    std::unique_ptr<CConfigSandbox> m_sandbox;
    CFakeDialogs m_dialogs;
};

void TestPaneTiming::sixteenMebibytes() {
    const Bytes source = BigGbkText(16u << 20);
    QElapsedTimer clock;

    Bytes converted = source;
    Conversion conversion;
    conversion.kind = ConversionKind::SimplifiedToTraditional;
    conversion.glossary = &g_glossary;
    clock.start();
    QVERIFY(ConvertWithProgress(converted, conversion, [](double) { return true; }));
    const qint64 convertMs = clock.elapsed();

    CMorvaneView5 view;
    view.resize(800, 600);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    CTextPane* right = view.Pane(CTwoPaneView::kRight);

    // The pane's text and document are made on the worker; only taking them is left to the GUI.
    CPaneText text;
    clock.restart();
    QVERIFY(MakePaneContent(converted, kCodePageGbk, PaneLayoutOf(right), text));
    const qint64 makeMs = clock.elapsed();
    const qsizetype lines = text.text.count(QLatin1Char('\n'));
    clock.restart();
    right->setBytes(converted, std::move(text));
    const qint64 setMs = clock.elapsed();

    // The whole click, into an empty pane and into one that holds the last result.
    view.Pane(CTwoPaneView::kLeft)->setBytes(source);
    right->setBytes(Bytes());
    QPushButton* toRight = view.findChild<QPushButton*>(QStringLiteral("1009"));
    const ClickTimes intoEmpty = ClickAndPaint(toRight);
    QCOMPARE(right->bytes().size(), converted.size());
    const ClickTimes intoFull = ClickAndPaint(toRight);
    QCOMPARE(right->bytes().size(), converted.size());

    qInfo("16 MiB GBK, %lld lines: on the worker, converting %lld ms and making the pane's "
          "text and document %lld ms; on the GUI thread, taking the document %lld ms",
          static_cast<long long>(lines), convertMs, makeMs, setMs);
    qInfo("the whole >> click into an empty pane %lld ms, the GUI thread stalled at most %lld ms",
          intoEmpty.clickMs, intoEmpty.stallMs);
    qInfo("the whole >> click into a full pane %lld ms, the GUI thread stalled at most %lld ms",
          intoFull.clickMs, intoFull.stallMs);
}

void TestPaneTiming::sixteenMebibytesInOtherCodePagesAndEdited() {
    CMorvaneView2 view;
    view.resize(800, 600);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.ComboLeft()->setCurrentIndex(2);  // GBK
    view.ComboRight()->setCurrentIndex(4); // BIG5
    CTextPane* left = view.Pane(CTwoPaneView::kLeft);
    const Bytes source = BigGbkText(16u << 20);
    left->setBytes(source);

    Report("16 MiB: the left list from GBK to BIG5",
           ActAndPaint([&] { view.ComboLeft()->setCurrentIndex(4); }));
    Report("16 MiB: the left list from BIG5 to GB18030",
           ActAndPaint([&] { view.ComboLeft()->setCurrentIndex(16); }));
    Report("16 MiB: the left list from GB18030 to GBK",
           ActAndPaint([&] { view.ComboLeft()->setCurrentIndex(2); }));
    QVERIFY(left->bytes() == source);

    // One character typed at the end, as a person edits a loaded file.
    left->moveCursor(QTextCursor::End);
    left->insertPlainText(QStringLiteral("完"));
    QElapsedTimer clock;
    clock.start();
    const Bytes edited = left->bytes();
    qInfo("16 MiB edited: bytes() on the GUI thread %lld ms", clock.elapsed());
    QCOMPARE(edited.size(), source.size() + 2);

    const QString path = m_sandbox->Path(QStringLiteral("saved.txt"));
    m_dialogs.saveAnswers.push_back(path);
    Report("16 MiB edited: Save as", ActAndPaint([&] { view.OnSave(CTwoPaneView::kLeft); }));
    QCOMPARE(ReadFile(path).size(), edited.size());
    Report("16 MiB edited: >> into BIG5",
           ClickAndPaint(view.findChild<QPushButton*>(QStringLiteral("1009"))));
    Report("16 MiB edited: the left list from GBK to BIG5",
           ActAndPaint([&] { view.ComboLeft()->setCurrentIndex(4); }));
    QVERIFY(left->bytes() == edited);
}

QTEST_MAIN(TestPaneTiming)
#include "pane_timing_test.moc"
