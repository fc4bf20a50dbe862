// How long a 16 MiB pane takes to convert and to show; printed for people, never asserted,
// since the time depends on the machine.
#include <QElapsedTimer>
#include <QPushButton>
#include <QtTest>

#include "engine/codepage.h"
#include "engine/conversion.h"
#include "engine/glossary.h"
#include "tests/test_text.h"
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

    // The pane's text is made on the worker too; only filling the edit is left to the GUI.
    CPaneText text;
    clock.restart();
    QVERIFY(MakePaneText(converted, kCodePageGbk, text));
    const qint64 decodeMs = clock.elapsed();

    CMorvaneView5 view;
    view.resize(800, 600);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    clock.restart();
    view.Pane(CTwoPaneView::kRight)->setBytes(converted, text);
    const qint64 setMs = clock.elapsed();

    // The whole click, as a person sees it.
    view.Pane(CTwoPaneView::kLeft)->setBytes(source);
    view.Pane(CTwoPaneView::kRight)->setBytes(Bytes());
    clock.restart();
    view.findChild<QPushButton*>(QStringLiteral("1009"))->click();
    const qint64 clickMs = clock.elapsed();
    QCOMPARE(view.Pane(CTwoPaneView::kRight)->bytes().size(), converted.size());

    qInfo("16 MiB GBK, %lld lines: on the worker, converting %lld ms and making the pane's "
          "text %lld ms; on the GUI thread, filling the pane %lld ms; the whole >> click %lld ms",
          static_cast<long long>(text.text.count(QLatin1Char('\n'))), convertMs, decodeMs, setMs,
          clickMs);
}

QTEST_MAIN(TestPaneTiming)
#include "pane_timing_test.moc"
