// The 44-byte placement: its bytes, the minimised-on-close rule, and restoring it.
#include <QtTest>

#include "frame/window_placement.h"
#include "settings/settings_store.h"
#include "window_fixture.h"

using namespace morvane;
using namespace morvane::test;

class TestWindowPlacement : public QObject {
    Q_OBJECT
  private slots:
    void init() { m_sandbox = std::make_unique<CConfigSandbox>(); }
    void cleanup() { m_sandbox.reset(); }

    void bytesAreElevenLittleEndianFields();
    void minimisedOnCloseRule_data();
    void minimisedOnCloseRule();
    void storedPlacementIsRestored_data();
    void storedPlacementIsRestored();
    void wrongSizeIsIgnored();
    void rectangleOffEveryScreenKeepsOnlyItsSize();

  private:
    std::unique_ptr<CConfigSandbox> m_sandbox;
};

void TestWindowPlacement::bytesAreElevenLittleEndianFields() {
    WindowPlacement p;
    p.flags = 2;
    p.showCmd = 3;
    p.left = 10;
    p.top = -20;
    p.right = 0x01020304;
    p.bottom = 400;
    const PlacementBytes bytes = EncodePlacement(p);
    QCOMPARE(bytes[0], 44);
    QCOMPARE(bytes[4], 2);
    QCOMPARE(bytes[8], 3);
    QCOMPARE(bytes[12], 0xFF); // minimised x of -1
    QCOMPARE(bytes[32], 0xEC); // top of -20
    QCOMPARE(bytes[35], 0xFF);
    QCOMPARE(bytes[36], 0x04);
    QCOMPARE(bytes[39], 0x01);

    PlacementBytes stored = bytes;
    stored[0] = 7; // the length read back is always 44
    const WindowPlacement back = DecodePlacement(stored);
    QCOMPARE(back.length, 44);
    QCOMPARE(back.showCmd, 3);
    QCOMPARE(back.top, -20);
    QCOMPARE(back.right, 0x01020304);
    QCOMPARE(back.bottom, 400);
}

void TestWindowPlacement::minimisedOnCloseRule_data() {
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("showCmd");
    QTest::addColumn<int>("flags");
    QTest::addRow("normal") << int(Qt::WindowNoState) << SW_SHOWNORMAL << 0;
    QTest::addRow("maximised") << int(Qt::WindowMaximized) << SW_SHOWMAXIMIZED
                               << WPF_RESTORETOMAXIMIZED;
    QTest::addRow("minimised from normal") << int(Qt::WindowMinimized) << SW_RESTORE << 0;
    QTest::addRow("minimised from maximised") << int(Qt::WindowMinimized | Qt::WindowMaximized)
                                              << SW_SHOWMAXIMIZED << WPF_RESTORETOMAXIMIZED;
}

void TestWindowPlacement::minimisedOnCloseRule() {
    QFETCH(int, state);
    QFETCH(int, showCmd);
    QFETCH(int, flags);
    QWidget window;
    window.setGeometry(50, 60, 400, 300);
    window.setWindowState(Qt::WindowStates(state));
    const WindowPlacement p = PlacementForClose(window);
    QCOMPARE(p.showCmd, showCmd);
    QCOMPARE(p.flags, flags);

    SavePlacement(window);
    PlacementBytes stored{};
    QVERIFY(ReadSetting("pl", stored.data(), stored.size()));
    QCOMPARE(DecodePlacement(stored).showCmd, showCmd);
}

void TestWindowPlacement::storedPlacementIsRestored_data() {
    QTest::addColumn<int>("showCmd");
    QTest::addColumn<bool>("maximised");
    QTest::addRow("normal") << SW_SHOWNORMAL << false;
    QTest::addRow("restore") << SW_RESTORE << false;
    QTest::addRow("maximised") << SW_SHOWMAXIMIZED << true;
    QTest::addRow("hidden still shows") << 0 << false;
}

void TestWindowPlacement::storedPlacementIsRestored() {
    QFETCH(int, showCmd);
    QFETCH(bool, maximised);
    WindowPlacement p;
    p.showCmd = showCmd;
    p.left = 30;
    p.top = 40;
    p.right = 30 + 420;
    p.bottom = 40 + 310;
    const PlacementBytes bytes = EncodePlacement(p);
    WriteSetting("pl", bytes.data(), bytes.size());

    QWidget window;
    RestorePlacementAndShow(window);
    QVERIFY(window.isVisible());
    QCOMPARE(window.isMaximized(), maximised);
    QCOMPARE(window.normalGeometry().size(), QSize(420, 310));
}

void TestWindowPlacement::wrongSizeIsIgnored() {
    WindowPlacement p;
    p.showCmd = SW_SHOWMAXIMIZED;
    const PlacementBytes bytes = EncodePlacement(p);
    WriteSetting("pl", bytes.data(), 40);
    QWidget window;
    RestorePlacementAndShow(window);
    QVERIFY(window.isVisible());
    QVERIFY(!window.isMaximized());
    QCOMPARE(window.size(), QSize(760, 480)); // the first-start size, as with no "pl" at all
}

void TestWindowPlacement::rectangleOffEveryScreenKeepsOnlyItsSize() {
    WindowPlacement p;
    p.showCmd = SW_SHOWNORMAL;
    p.left = 90000;
    p.top = 90000;
    p.right = 90500;
    p.bottom = 90300;
    QWidget window;
    ApplyPlacementAndShow(window, p);
    QCOMPARE(window.size(), QSize(500, 300));
    QVERIFY(window.x() < 90000);
}

QTEST_MAIN(TestWindowPlacement)
#include "window_placement_test.moc"
