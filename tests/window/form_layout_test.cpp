// The form layouts, computed and as the views apply them to their controls.
#include <QComboBox>
#include <QLabel>
#include <QtTest>

#include "views/form_layout.h"
#include "views/morvane_view2.h"
#include "views/morvane_view3.h"
#include "views/morvane_view4.h"
#include "views/morvane_view5.h"
#include "window_fixture.h"

using namespace morvane;
using namespace morvane::test;

namespace {

// The ten controls of a two-pane view by their ids, in layout order.
const char* const kTwoPaneIds[10] = {nullptr, "1002", "1009", "1013", nullptr,
                                     "1004",  "1010", "1011", "1014", "1015"};

QList<QRect> Flatten(const TwoPaneRects& r) {
    return {r.topLeft,   r.leftPane, r.toRight,  r.toLeft,    r.topRight,
            r.rightPane, r.openLeft, r.saveLeft, r.openRight, r.saveRight};
}

QList<QRect> Example600x400() {
    return {QRect(4, 1, 276, 20),    QRect(4, 25, 276, 347),   QRect(284, 172, 32, 24),
            QRect(284, 204, 32, 24), QRect(320, 1, 276, 20),   QRect(320, 25, 276, 347),
            QRect(4, 376, 137, 24),  QRect(143, 376, 137, 24), QRect(320, 376, 137, 24),
            QRect(459, 376, 137, 24)};
}

} // namespace

class TestFormLayout : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { m_sandbox = std::make_unique<CConfigSandbox>(); }
    void cleanupTestCase() { m_sandbox.reset(); }

    void twoPaneComputed_data();
    void twoPaneComputed();
    void twoPaneViewsPlaceTheirControls_data();
    void twoPaneViewsPlaceTheirControls();
    void onePaneComputedAndApplied();
    void resizingFollowsAndKeepsTopRowHeights();

  private:
    std::unique_ptr<CConfigSandbox> m_sandbox;
    CFakeDialogs m_dialogs;
};

void TestFormLayout::twoPaneComputed_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QList<QRect>>("expected");
    QTest::addRow("600x400") << 600 << 400 << Example600x400();
    QList<QRect> odd = Example600x400();
    // One more pixel of width goes to the right column.
    odd[4] = QRect(320, 1, 277, 20);
    odd[5] = QRect(320, 25, 277, 347);
    odd[8] = QRect(320, 376, 137, 24);
    odd[9] = QRect(459, 376, 138, 24);
    QTest::addRow("601x400, odd width") << 601 << 400 << odd;
}

void TestFormLayout::twoPaneComputed() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QList<QRect>, expected);
    QCOMPARE(Flatten(ComputeTwoPaneLayout(width, height, 20, 20)), expected);
}

void TestFormLayout::twoPaneViewsPlaceTheirControls_data() {
    QTest::addColumn<int>("view");
    QTest::addRow("code translate") << 2;
    QTest::addRow("GB-BIG5") << 3;
    QTest::addRow("GBK") << 5;
}

void TestFormLayout::twoPaneViewsPlaceTheirControls() {
    QFETCH(int, view);
    std::unique_ptr<CTwoPaneView> form;
    if (view == 2)
        form = std::make_unique<CMorvaneView2>();
    else if (view == 3)
        form = std::make_unique<CMorvaneView3>();
    else
        form = std::make_unique<CMorvaneView5>();
    form->TopControl(CTwoPaneView::kLeft)->resize(10, 20);
    form->TopControl(CTwoPaneView::kRight)->resize(10, 20);
    form->resize(600, 400);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));

    const QList<QRect> expected = Example600x400();
    for (int i = 0; i < 10; ++i) {
        const QWidget* control =
            kTwoPaneIds[i] == nullptr
                ? form->TopControl(i == 0 ? CTwoPaneView::kLeft : CTwoPaneView::kRight)
                : form->findChild<QWidget*>(QLatin1String(kTwoPaneIds[i]));
        QVERIFY2(control != nullptr, kTwoPaneIds[i]);
        QCOMPARE(control->geometry(), expected[i]);
    }
}

void TestFormLayout::onePaneComputedAndApplied() {
    const OnePaneRects r = ComputeOnePaneLayout(600, 400, 20);
    QCOMPARE(r.caption, QRect(4, 1, 592, 20));
    QCOMPARE(r.pane, QRect(4, 25, 592, 347));
    QCOMPARE(r.check, QRect(4, 376, 510, 24));
    QCOMPARE(r.save, QRect(516, 376, 80, 24));

    CMorvaneView4 form;
    form.findChild<QLabel*>(QStringLiteral("1021"))->resize(10, 20);
    form.resize(600, 400);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.findChild<QWidget*>(QStringLiteral("1021"))->geometry(), r.caption);
    QCOMPARE(form.findChild<QWidget*>(QStringLiteral("1002"))->geometry(), r.pane);
    QCOMPARE(form.findChild<QWidget*>(QStringLiteral("1023"))->geometry(), r.check);
    QCOMPARE(form.findChild<QWidget*>(QStringLiteral("1022"))->geometry(), r.save);
}

void TestFormLayout::resizingFollowsAndKeepsTopRowHeights() {
    CMorvaneView2 form;
    const int listHeight = form.ComboLeft()->height();
    QVERIFY(listHeight > 0);
    form.resize(600, 400);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.resize(800, 500);
    QTRY_COMPARE(form.findChild<QWidget*>(QStringLiteral("1015"))->geometry(),
                 ComputeTwoPaneLayout(800, 500, listHeight, listHeight).saveRight);
    QCOMPARE(form.ComboLeft()->height(), listHeight);
    QCOMPARE(form.ComboRight()->geometry(),
             ComputeTwoPaneLayout(800, 500, listHeight, listHeight).topRight);
}

QTEST_MAIN(TestFormLayout)
#include "form_layout_test.moc"
