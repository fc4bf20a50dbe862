// The conversion views: each direction with and without the glossary, the Code translate
// lists and their memory, and the glossary view's editor, switch and Save.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

#include "engine/glossary.h"
#include "settings/settings_store.h"
#include "tests/test_text.h"
#include "views/code_page_table.h"
#include "views/morvane_view2.h"
#include "views/morvane_view3.h"
#include "views/morvane_view4.h"
#include "views/morvane_view5.h"
#include "views/pane_font.h"
#include "views/text_pane.h"
#include "window_fixture.h"

using namespace morvane;
using namespace morvane::test;

namespace {

// A line of words, in lines long enough that filling the pane stays quick.
std::string Line(const QString& words, int codePage) {
    return Encoded(words.repeated(10).toStdString(), codePage) + "\r\n";
}

// A text of several worker chunks: the line again and again, past size bytes.
std::string Repeated(const std::string& line, std::size_t size) {
    std::string text;
    while (text.size() < size)
        text += line;
    return text;
}

std::unique_ptr<CTwoPaneView> MakeView(int view) {
    if (view == 2) {
        auto translate = std::make_unique<CMorvaneView2>();
        translate->ComboLeft()->setCurrentIndex(2);   // GBK
        translate->ComboRight()->setCurrentIndex(15); // UTF-8
        return translate;
    }
    if (view == 3)
        return std::make_unique<CMorvaneView3>();
    return std::make_unique<CMorvaneView5>();
}

} // namespace

class TestConversionViews : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void chineseViews_data();
    void chineseViews();
    void glossarySwitchCountsAtTheNextClick();
    void emptyPaneEmptiesTheTarget();
    void longConversionWithProgress_data();
    void longConversionWithProgress();
    void eventsAreDispatchedWhileTheWorkerConverts();
    void bigPaneFillsBesideTheWindow_data();
    void bigPaneFillsBesideTheWindow();

    void codeTranslateConverts_data();
    void codeTranslateConverts();
    void codeTranslateNeedsBothLists();
    void codeTranslateConvertsAnEditedPane();
    void codeTranslateListsOfferSeventeenRows();
    void codeTranslateRemembersItsRows_data();
    void codeTranslateRemembersItsRows();
    void codeTranslateOtherRowKeepsThePaneBytes();
    void codeTranslateBigPaneSwitchesBesideTheWindow_data();
    void codeTranslateBigPaneSwitchesBesideTheWindow();
    void everyCodePageHasAFont_data();
    void everyCodePageHasAFont();

    void glossaryViewLoadsTheWholeFile();
    void glossaryViewSaveRewritesAndReloads();
    void glossaryViewCheckBoxStoresTheSwitch();
    void glossaryViewSaveIntoMissingFolderCreatesIt();
    void glossaryViewStartsFromTheShippedGlossary();
    void glossaryViewFailedSaveKeepsSaveEnabled();

  private:
    int TimerFiringsWhileFilling(double fillFrom, bool cancel,
                                 const std::function<bool()>& asBefore,
                                 const std::function<void()>& work);

    std::unique_ptr<CConfigSandbox> m_sandbox;
    std::unique_ptr<CFakeDialogs> m_dialogs;
};

// Runs work with a timer that fires whenever the window's events are dispatched, and counts
// the firings that came while the progress bar stood between fillFrom and its end (the pane's
// document being built on the worker) and asBefore held; with cancel, such a firing cancels.
int TestConversionViews::TimerFiringsWhileFilling(double fillFrom, bool cancel,
                                                  const std::function<bool()>& asBefore,
                                                  const std::function<void()>& work) {
    int fired = 0;
    QTimer timer;
    timer.setInterval(0);
    connect(&timer, &QTimer::timeout, [&] {
        const QList<double>& shares = m_dialogs->progressShares;
        if (m_dialogs->progressOpen == 0 || shares.isEmpty() || shares.last() <= fillFrom ||
            shares.last() >= 1.0)
            return;
        if (asBefore())
            ++fired;
        if (cancel)
            m_dialogs->cancelProgress = true;
    });
    timer.start();
    work();
    timer.stop();
    return fired;
}

void TestConversionViews::init() {
    m_sandbox = std::make_unique<CConfigSandbox>();
    m_dialogs = std::make_unique<CFakeDialogs>();
    m_sandbox->WriteGlossary(SmallGlossary());
}

void TestConversionViews::cleanup() {
    m_dialogs.reset();
    m_sandbox.reset();
}

void TestConversionViews::chineseViews_data() {
    QTest::addColumn<int>("view");
    QTest::addColumn<bool>("toRight");
    QTest::addColumn<bool>("glossary");
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("inputCodePage");
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("outputCodePage");
    // The glossary works on Simplified text: before the mapping one way, after it the other.
    QTest::addRow("GB-BIG5 >> with glossary")
        << 3 << true << true << "软件" << 936 << "軟體" << 950;
    QTest::addRow("GB-BIG5 >> without") << 3 << true << false << "软件" << 936 << "軟件" << 950;
    QTest::addRow("GB-BIG5 << maps first") << 3 << false << true << "軟體" << 950 << "软体" << 936;
    QTest::addRow("GB-BIG5 << with glossary")
        << 3 << false << true << "程式" << 950 << "程序" << 936;
    QTest::addRow("GB-BIG5 << without") << 3 << false << false << "程式" << 950 << "程式" << 936;
    QTest::addRow("GBK >> with glossary") << 5 << true << true << "软件" << 936 << "軟體" << 936;
    QTest::addRow("GBK >> without") << 5 << true << false << "软件" << 936 << "軟件" << 936;
    QTest::addRow("GBK << with glossary") << 5 << false << true << "程式" << 936 << "程序" << 936;
    QTest::addRow("GBK << without") << 5 << false << false << "程式" << 936 << "程式" << 936;
}

void TestConversionViews::chineseViews() {
    QFETCH(int, view);
    QFETCH(bool, toRight);
    QFETCH(bool, glossary);
    QFETCH(QString, input);
    QFETCH(int, inputCodePage);
    QFETCH(QString, output);
    QFETCH(int, outputCodePage);
    WriteSettingInt32("GBTAB", glossary ? 1 : 0);

    std::unique_ptr<CTwoPaneView> form;
    if (view == 3)
        form = std::make_unique<CMorvaneView3>();
    else
        form = std::make_unique<CMorvaneView5>();
    const auto from = toRight ? CTwoPaneView::kLeft : CTwoPaneView::kRight;
    const auto to = toRight ? CTwoPaneView::kRight : CTwoPaneView::kLeft;
    form->Pane(from)->setBytes(Encoded(input.toStdString(), inputCodePage));
    form->findChild<QPushButton*>(toRight ? QStringLiteral("1009") : QStringLiteral("1013"))
        ->click();
    QCOMPARE(Shown(form->Pane(to)->bytes()), Shown(Encoded(output.toStdString(), outputCodePage)));
    QCOMPARE(form->Pane(to)->toPlainText(), output);
    // The source pane keeps its text.
    QCOMPARE(form->Pane(from)->toPlainText(), input);
}

void TestConversionViews::glossarySwitchCountsAtTheNextClick() {
    CMorvaneView3 gbBig5;
    CMorvaneView4 settings;
    settings.OnInitialUpdate();
    gbBig5.Pane(CTwoPaneView::kLeft)->setBytes(Gbk("软件"));
    gbBig5.OnConvertRight();
    QCOMPARE(gbBig5.Pane(CTwoPaneView::kRight)->toPlainText(), QStringLiteral("軟體"));
    settings.UseGlossaryBox()->click();
    gbBig5.OnConvertRight();
    QCOMPARE(gbBig5.Pane(CTwoPaneView::kRight)->toPlainText(), QStringLiteral("軟件"));
}

void TestConversionViews::emptyPaneEmptiesTheTarget() {
    CMorvaneView5 view;
    view.Pane(CTwoPaneView::kRight)->setBytes(Gbk("旧"));
    view.OnConvertRight();
    QCOMPARE(view.Pane(CTwoPaneView::kRight)->toPlainText(), QString());
}

void TestConversionViews::longConversionWithProgress_data() {
    QTest::addColumn<int>("view");
    QTest::addColumn<bool>("toRight");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("inputCodePage");
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("outputCodePage");
    for (bool cancel : {false, true}) {
        const char* how = cancel ? "cancelled" : "finished";
        QTest::addRow("GB-BIG5 >>, %s", how)
            << 3 << true << cancel << "软件程序" << 936 << "軟體程式" << 950;
        QTest::addRow("GBK <<, %s", how)
            << 5 << false << cancel << "軟體程式" << 936 << "软体程序" << 936;
        QTest::addRow("code translate >>, %s", how)
            << 2 << true << cancel << "中文字" << 936 << "中文字" << 65001;
    }
}

void TestConversionViews::longConversionWithProgress() {
    QFETCH(int, view);
    QFETCH(bool, toRight);
    QFETCH(bool, cancel);
    QFETCH(QString, input);
    QFETCH(int, inputCodePage);
    QFETCH(QString, output);
    QFETCH(int, outputCodePage);
    WriteSettingInt32("GBTAB", 1);
    const std::unique_ptr<CTwoPaneView> form = MakeView(view);
    // Panes of a real width: wrapping at the width of a hidden pane is what takes time.
    form->resize(800, 600);
    form->show();
    const auto from = toRight ? CTwoPaneView::kLeft : CTwoPaneView::kRight;
    const auto to = toRight ? CTwoPaneView::kRight : CTwoPaneView::kLeft;
    // Lines run across the worker's chunks, glossary words too.
    const std::string source = Repeated(Line(input, inputCodePage), 2500000);
    const std::size_t lines = source.size() / Line(input, inputCodePage).size();
    const std::string old = Encoded("舊", outputCodePage);
    form->Pane(from)->setBytes(source);
    form->Pane(to)->setBytes(old);
    m_dialogs->cancelProgress = cancel;
    // Only the click's progress counts, not that of choosing the lists' code pages.
    m_dialogs->progressDialogs = 0;
    m_dialogs->progressShares.clear();

    form->findChild<QPushButton*>(toRight ? QStringLiteral("1009") : QStringLiteral("1013"))
        ->click();
    QCOMPARE(m_dialogs->progressDialogs, 1);
    QCOMPARE(m_dialogs->progressOpen, 0);
    if (cancel) {
        QCOMPARE(Shown(form->Pane(to)->bytes()), Shown(old));
        QCOMPARE(form->Pane(to)->toPlainText(), QStringLiteral("舊"));
        return;
    }
    std::string expected;
    for (std::size_t i = 0; i < lines; ++i)
        expected += Line(output, outputCodePage);
    QVERIFY(form->Pane(to)->bytes() == expected);
    QCOMPARE(form->Pane(to)->document()->blockCount(), int(lines) + 1);
    QVERIFY(std::is_sorted(m_dialogs->progressShares.begin(), m_dialogs->progressShares.end()));
    QCOMPARE(m_dialogs->progressShares.last(), 1.0);
    // An unchanged pane still gives back exactly the bytes it was given.
    QVERIFY(form->Pane(from)->bytes() == source);
}

void TestConversionViews::eventsAreDispatchedWhileTheWorkerConverts() {
    CMorvaneView5 view;
    view.resize(800, 600);
    view.show();
    view.Pane(CTwoPaneView::kLeft)
        ->setBytes(Repeated(Line(QStringLiteral("软件程序"), 936), 4u << 20));
    int firedWhileConverting = 0;
    QTimer timer;
    timer.setInterval(0);
    connect(&timer, &QTimer::timeout, [&] {
        if (m_dialogs->progressOpen > 0 && view.Pane(CTwoPaneView::kRight)->bytes().empty())
            ++firedWhileConverting;
    });
    timer.start();
    view.OnConvertRight();
    timer.stop();
    QVERIFY(firedWhileConverting > 0);
    QVERIFY(view.Pane(CTwoPaneView::kRight)->bytes().size() > (4u << 20));
}

void TestConversionViews::bigPaneFillsBesideTheWindow_data() {
    QTest::addColumn<bool>("cancel");
    QTest::addRow("finished") << false;
    QTest::addRow("cancelled while the document is built") << true;
}

void TestConversionViews::bigPaneFillsBesideTheWindow() {
    QFETCH(bool, cancel);
    WriteSettingInt32("GBTAB", 1);
    CMorvaneView5 view;
    view.resize(800, 600);
    view.show();
    const std::string source = Repeated(Line(QStringLiteral("软件程序"), 936), 4u << 20);
    view.Pane(CTwoPaneView::kLeft)->setBytes(source);
    // The target as a person left it: loaded, then edited, with a step to undo.
    CTextPane* target = view.Pane(CTwoPaneView::kRight);
    target->setBytes(Gbk("旧"));
    target->moveCursor(QTextCursor::End);
    target->insertPlainText(QStringLiteral("文"));
    const QTextDocument* document = target->document();

    // The last quarter of the bar is the pane's document being built on the worker.
    const int firedDuringFill = TimerFiringsWhileFilling(
        0.75, cancel,
        [&] {
            return target->document() == document &&
                   target->toPlainText() == QStringLiteral("旧文");
        },
        [&] { view.OnConvertRight(); });
    QVERIFY(firedDuringFill > 0);

    if (cancel) {
        QCOMPARE(target->document(), document);
        QCOMPARE(target->toPlainText(), QStringLiteral("旧文"));
        QCOMPARE(Shown(target->bytes()), Shown(Gbk("旧文")));
        QVERIFY(target->document()->isUndoAvailable());
        return;
    }
    const std::string expected = Repeated(Line(QStringLiteral("軟體程式"), 936), 4u << 20);
    QVERIFY(target->bytes() == expected);
    QCOMPARE(target->toPlainText(), QString::fromStdString(Utf8(expected, 936))
                                        .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QVERIFY(!target->document()->isUndoAvailable());
}

void TestConversionViews::codeTranslateConverts_data() {
    QTest::addColumn<int>("leftRow");
    QTest::addColumn<int>("rightRow");
    QTest::addColumn<QString>("text");
    QTest::addRow("GBK to Shift-JIS") << 2 << 1 << QStringLiteral("中文の字");
    QTest::addRow("BIG5 to UTF-8") << 4 << 15 << QStringLiteral("繁體中文");
    QTest::addRow("GB18030 to GBK") << 16 << 2 << QStringLiteral("简体");
    QTest::addRow("Cyrillic to Cyrillic") << 6 << 6 << QStringLiteral("Привет");
    QTest::addRow("Korean to Johab") << 3 << 14 << QStringLiteral("한국어");
}

void TestConversionViews::codeTranslateConverts() {
    QFETCH(int, leftRow);
    QFETCH(int, rightRow);
    QFETCH(QString, text);
    const int from = g_codePageTable[leftRow].nCodePage;
    const int to = g_codePageTable[rightRow].nCodePage;
    CMorvaneView2 view;
    view.ComboLeft()->setCurrentIndex(leftRow);
    view.ComboRight()->setCurrentIndex(rightRow);
    view.Pane(CTwoPaneView::kLeft)->setBytes(Encoded(text.toStdString(), from));
    view.OnConvertRight();
    QCOMPARE(Shown(view.Pane(CTwoPaneView::kRight)->bytes()),
             Shown(Encoded(text.toStdString(), to)));
    view.Pane(CTwoPaneView::kLeft)->setBytes("");
    view.OnConvertLeft();
    QCOMPARE(view.Pane(CTwoPaneView::kLeft)->toPlainText(), text);
    QVERIFY(m_dialogs->informations.isEmpty()); // every script has a font
}

void TestConversionViews::codeTranslateNeedsBothLists() {
    CMorvaneView2 view;
    QCOMPARE(view.ComboLeft()->currentIndex(), -1);
    view.Pane(CTwoPaneView::kLeft)->setPlainText(QStringLiteral("abc"));
    view.ComboLeft()->setCurrentIndex(7);
    view.OnConvertRight();
    QCOMPARE(view.Pane(CTwoPaneView::kRight)->toPlainText(), QString());
    view.ComboRight()->setCurrentIndex(7);
    view.OnConvertRight();
    QCOMPARE(view.Pane(CTwoPaneView::kRight)->toPlainText(), QStringLiteral("abc"));
}

void TestConversionViews::codeTranslateConvertsAnEditedPane() {
    CMorvaneView2 view;
    view.ComboLeft()->setCurrentIndex(2);  // GBK
    view.ComboRight()->setCurrentIndex(4); // BIG5
    CTextPane* left = view.Pane(CTwoPaneView::kLeft);
    left->setBytes(Gbk("中文\n繁體\r\n"));
    left->moveCursor(QTextCursor::End);
    left->insertPlainText(QStringLiteral("字"));
    m_dialogs->progressShares.clear();
    view.OnConvertRight();
    QCOMPARE(Shown(view.Pane(CTwoPaneView::kRight)->bytes()), Shown(Big5("中文\n繁體\r\n字")));
    QVERIFY(std::is_sorted(m_dialogs->progressShares.begin(), m_dialogs->progressShares.end()));
    QCOMPARE(m_dialogs->progressShares.last(), 1.0);
}

void TestConversionViews::codeTranslateListsOfferSeventeenRows() {
    CMorvaneView2 view;
    QCOMPARE(view.ComboLeft()->count(), 17);
    QCOMPARE(view.ComboRight()->itemText(1), QStringLiteral("932, Japanese, SHIFTJIS_CHARSET"));
    QCOMPARE(view.ComboRight()->itemText(14), QStringLiteral("1361, Korean, JOHAB_CHARSET"));
    QCOMPARE(view.ComboRight()->itemText(15), QStringLiteral("65001, Unicode, UTF-8"));
    QCOMPARE(view.ComboRight()->itemText(16), QStringLiteral("54936, Chinese, GB18030"));
}

void TestConversionViews::codeTranslateRemembersItsRows_data() {
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("restoredLeft");
    QTest::addColumn<int>("restoredRight");
    QTest::addRow("rows 4 and 7") << 4 << 7 << 4 << 7;
    QTest::addRow("the added rows") << 15 << 16 << 15 << 16;
    QTest::addRow("none chosen") << -1 << 0 << -1 << 0;
}

void TestConversionViews::codeTranslateRemembersItsRows() {
    QFETCH(int, left);
    QFETCH(int, right);
    QFETCH(int, restoredLeft);
    QFETCH(int, restoredRight);
    {
        CMorvaneView2 view;
        view.ComboLeft()->setCurrentIndex(left);
        view.ComboRight()->setCurrentIndex(right);
        view.SaveSettings();
    }
    CMorvaneView2 next;
    next.OnInitialUpdate();
    QCOMPARE(next.ComboLeft()->currentIndex(), restoredLeft);
    QCOMPARE(next.ComboRight()->currentIndex(), restoredRight);
    if (restoredLeft >= 0) {
        QCOMPARE(next.Pane(CTwoPaneView::kLeft)->codePage(),
                 g_codePageTable[restoredLeft].nCodePage);
    }

    // Values past the table, as a first start stores none, leave the list empty.
    WriteSettingInt32("view2_1", 28);
    WriteSettingInt32("view2_2", 17);
    CMorvaneView2 stale;
    stale.OnInitialUpdate();
    QCOMPARE(stale.ComboLeft()->currentIndex(), -1);
    QCOMPARE(stale.ComboRight()->currentIndex(), -1);
}

void TestConversionViews::codeTranslateOtherRowKeepsThePaneBytes() {
    CMorvaneView2 view;
    view.ComboLeft()->setCurrentIndex(2);
    const std::string bytes = Gbk("中文");
    view.Pane(CTwoPaneView::kLeft)->setBytes(bytes);
    view.ComboLeft()->setCurrentIndex(4);
    QCOMPARE(Shown(view.Pane(CTwoPaneView::kLeft)->bytes()), Shown(bytes));
    QCOMPARE(view.Pane(CTwoPaneView::kLeft)->toPlainText(),
             QString::fromStdString(Utf8(bytes, 950)));
    QCOMPARE(view.Pane(CTwoPaneView::kLeft)->font().pixelSize(), 16);
}

void TestConversionViews::codeTranslateBigPaneSwitchesBesideTheWindow_data() {
    QTest::addColumn<bool>("edited");
    QTest::addColumn<bool>("cancel");
    for (bool edited : {false, true}) {
        for (bool cancel : {false, true}) {
            QTest::addRow("%s, %s", edited ? "edited" : "as loaded",
                          cancel ? "cancelled while the document is built" : "finished")
                << edited << cancel;
        }
    }
}

void TestConversionViews::codeTranslateBigPaneSwitchesBesideTheWindow() {
    QFETCH(bool, edited);
    QFETCH(bool, cancel);
    CMorvaneView2 view;
    view.resize(800, 600);
    view.show();
    view.ComboLeft()->setCurrentIndex(2); // GBK
    CTextPane* pane = view.Pane(CTwoPaneView::kLeft);
    std::string bytes = Repeated(Line(QStringLiteral("软件程序"), 936), 4u << 20);
    pane->setBytes(bytes);
    if (edited) {
        pane->moveCursor(QTextCursor::End);
        pane->insertPlainText(QStringLiteral("完"));
        bytes += Gbk("完");
    }
    const QTextDocument* document = pane->document();
    const QString text = pane->toPlainText();
    const QFont font = pane->font();
    m_dialogs->progressShares.clear();

    // The second half of the bar is the pane's document being built on the worker.
    const int firedDuringFill = TimerFiringsWhileFilling(
        0.6, cancel, [&] { return pane->document() == document && pane->codePage() == 936; },
        [&] { view.ComboLeft()->setCurrentIndex(4); }); // BIG5
    QVERIFY(firedDuringFill > 0);
    QVERIFY(pane->bytes() == bytes);

    if (cancel) {
        QCOMPARE(view.ComboLeft()->currentIndex(), 2);
        QCOMPARE(pane->codePage(), 936);
        QCOMPARE(pane->document(), document);
        QVERIFY(pane->toPlainText() == text);
        QCOMPARE(pane->font(), font);
        QCOMPARE(pane->document()->isUndoAvailable(), edited);
        // The list still works after the cancel, from where it was put back.
        m_dialogs->cancelProgress = false;
        view.ComboLeft()->setCurrentIndex(4);
    }
    QCOMPARE(view.ComboLeft()->currentIndex(), 4);
    QCOMPARE(pane->codePage(), 950);
    QVERIFY(pane->bytes() == bytes);
    QVERIFY(pane->toPlainText() == QString::fromStdString(Utf8(bytes, 950))
                                       .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QFont big5Font;
    QVERIFY(FontForWritingSystem(QFontDatabase::TraditionalChinese, big5Font));
    QCOMPARE(pane->font(), big5Font);
    QCOMPARE(pane->document()->defaultFont(), big5Font);
}

void TestConversionViews::everyCodePageHasAFont_data() {
    QTest::addColumn<int>("row");
    for (int row = 0; row < kCodePageRows; ++row)
        QTest::addRow("%s", g_codePageTable[row].pszLabel) << row;
}

void TestConversionViews::everyCodePageHasAFont() {
    // The fonts the project installs cover every script the lists offer.
    QFETCH(int, row);
    CMorvaneView2 view;
    view.ComboRight()->setCurrentIndex(row);
    QVERIFY(m_dialogs->informations.isEmpty());
    const QFont font = view.Pane(CTwoPaneView::kRight)->font();
    QCOMPARE(font.pixelSize(), 16);
    const QFontDatabase::WritingSystem system =
        WritingSystemForCodePage(g_codePageTable[row].nCodePage);
    QVERIFY2(QFontDatabase::writingSystems(font.family()).contains(system) ||
                 system == QFontDatabase::Any,
             qPrintable(font.family()));
}

void TestConversionViews::glossaryViewLoadsTheWholeFile() {
    QStringList lines = SmallGlossary();
    for (int i = 0; lines.join(QStringLiteral("\r\n")).size() < 70000; ++i)
        lines << QStringLiteral("词%1<>詞%1").arg(i);
    m_sandbox->WriteGlossary(lines);
    const std::string file = ReadFile(QString::fromStdString(GlossaryPath()));
    QVERIFY(file.size() > 65536);

    CMorvaneView4 view;
    view.OnInitialUpdate();
    QCOMPARE(view.Editor()->bytes().size(), file.size());
    QVERIFY(!view.SaveButton()->isEnabled());

    // An edit and a Save keep every line that was in the file.
    view.Editor()->moveCursor(QTextCursor::End);
    view.Editor()->insertPlainText(QStringLiteral("新词<>新詞\n"));
    QVERIFY(view.SaveButton()->isEnabled());
    view.SaveButton()->click();
    QCOMPARE(Shown(ReadFile(QString::fromStdString(GlossaryPath()))),
             Shown(file + Gbk("新词<>新詞\r\n")));
}

void TestConversionViews::glossaryViewSaveRewritesAndReloads() {
    CMorvaneView4 view;
    view.OnInitialUpdate();
    QCOMPARE(view.Editor()->toPlainText(), QStringLiteral("[words]\n软件<>軟體\n程序<>程式\n"));
    view.Editor()->setPlainText(QStringLiteral("软件>軟體\r\n"));
    QVERIFY(view.SaveButton()->isEnabled());
    view.SaveButton()->click();
    QVERIFY(!view.SaveButton()->isEnabled());
    QCOMPARE(g_glossary.Size(), std::size_t(1));

    CMorvaneView5 gbk;
    gbk.Pane(CTwoPaneView::kRight)->setBytes(Gbk("程式"));
    gbk.OnConvertLeft();
    QCOMPARE(gbk.Pane(CTwoPaneView::kLeft)->toPlainText(), QStringLiteral("程式"));

    // An empty editor saves an empty file and an empty glossary.
    view.Editor()->setPlainText(QString());
    view.SaveButton()->click();
    QCOMPARE(ReadFile(QString::fromStdString(GlossaryPath())), std::string());
    QCOMPARE(g_glossary.Size(), std::size_t(0));
}

void TestConversionViews::glossaryViewCheckBoxStoresTheSwitch() {
    CMorvaneView4 view;
    view.OnInitialUpdate();
    QVERIFY(view.UseGlossaryBox()->isChecked()); // no value stored: on
    view.UseGlossaryBox()->click();
    std::int32_t stored = -1;
    QVERIFY(ReadSettingInt32("GBTAB", stored));
    QCOMPARE(stored, 0);
    QVERIFY(!view.SaveButton()->isEnabled());

    CMorvaneView4 next;
    next.OnInitialUpdate();
    QVERIFY(!next.UseGlossaryBox()->isChecked());
}

void TestConversionViews::glossaryViewSaveIntoMissingFolderCreatesIt() {
    const QString path = QString::fromStdString(GlossaryPath());
    QVERIFY(QDir(QFileInfo(path).absolutePath()).removeRecursively());
    CMorvaneView4 view;
    view.OnInitialUpdate();
    QCOMPARE(view.Editor()->toPlainText(), QString());
    QVERIFY(m_dialogs->warnings.isEmpty()); // no file yet is no error
    view.Editor()->setPlainText(QStringLiteral("软件<>軟體"));
    view.OnSaveGlossary();
    QCOMPARE(ReadFile(path), Gbk("软件<>軟體"));
    QCOMPARE(g_glossary.Size(), std::size_t(1));
}

void TestConversionViews::glossaryViewStartsFromTheShippedGlossary() {
    const QString user = QString::fromStdString(GlossaryPath());
    QVERIFY(QFile::remove(user));
    WriteFile(m_sandbox->DataDir() + QStringLiteral("/GB-BIG5.txt"), Gbk("程序<>程式\r\n"));
    CMorvaneView4 view;
    view.OnInitialUpdate();
    QCOMPARE(view.Editor()->toPlainText(), QStringLiteral("程序<>程式\n"));

    // Save writes the user's own file, edits included; the shipped one stays as it was.
    view.Editor()->moveCursor(QTextCursor::End);
    view.Editor()->insertPlainText(QStringLiteral("软件<>軟體\n"));
    view.SaveButton()->click();
    QCOMPARE(Shown(ReadFile(user)), Shown(Gbk("程序<>程式\r\n软件<>軟體\r\n")));
    QCOMPARE(ReadFile(m_sandbox->DataDir() + QStringLiteral("/GB-BIG5.txt")),
             Gbk("程序<>程式\r\n"));
    QCOMPARE(g_glossary.Size(), std::size_t(2));
}

void TestConversionViews::glossaryViewFailedSaveKeepsSaveEnabled() {
    const QString path = QString::fromStdString(GlossaryPath());
    QFile::remove(path);
    QDir().mkpath(path); // a folder in the file's place
    CMorvaneView4 view;
    view.OnInitialUpdate();
    QCOMPARE(m_dialogs->warnings.size(), 1); // it cannot be read either
    view.Editor()->setPlainText(QStringLiteral("软件<>軟體"));
    view.SaveButton()->click();
    QCOMPARE(m_dialogs->warnings.size(), 2);
    QVERIFY(m_dialogs->warnings[1].contains(QStringLiteral("GB-BIG5.txt")));
    QVERIFY(view.SaveButton()->isEnabled());
    QVERIFY(QFileInfo(path).isDir());
}

QTEST_MAIN(TestConversionViews)
#include "conversion_views_test.moc"
