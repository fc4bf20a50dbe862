// Open file and Save as on the panes: whole files, UTF-16 files, the overwrite question,
// atomic saves and the messages that name a file that cannot be used.
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QtTest>

#include "tests/test_text.h"
#include "views/morvane_view2.h"
#include "views/morvane_view3.h"
#include "views/morvane_view5.h"
#include "views/pane_files.h"
#include "views/text_pane.h"
#include "window_fixture.h"

using namespace morvane;
using namespace morvane::test;

namespace {

// FF FE and the text as UTF-16LE.
std::string Utf16File(const QString& text) {
    std::string bytes = "\xFF\xFE";
    for (QChar c : text) {
        bytes += static_cast<char>(c.unicode() & 0xFF);
        bytes += static_cast<char>(c.unicode() >> 8);
    }
    return bytes;
}

QPushButton* Button(QWidget* view, const char* id) {
    return view->findChild<QPushButton*>(QLatin1String(id));
}

} // namespace

class TestPaneFiles : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void openLoadsTheWholeFile();
    void openDecodesUtf16IntoThePaneCodePage_data();
    void openDecodesUtf16IntoThePaneCodePage();
    void openCancelledOrEmptyFile();
    void loadingCancelledKeepsThePane();
    void openNeedsAChosenCodePageInCodeTranslate();
    void unreadableFileIsReportedByName_data();
    void unreadableFileIsReportedByName();

    void saveWritesThePaneBytes();
    void saveOfEmptyPaneShowsNoDialog();
    void saveOfEditedPane_data();
    void saveOfEditedPane();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void nameWithoutExtensionGetsTheDefault();
    void failedSaveIsReportedAndDamagesNothing();

  private:
    QString file(const char* name) const { return m_sandbox->Path(QLatin1String(name)); }
    std::unique_ptr<CConfigSandbox> m_sandbox;
    std::unique_ptr<CFakeDialogs> m_dialogs;
};

void TestPaneFiles::init() {
    m_sandbox = std::make_unique<CConfigSandbox>();
    m_dialogs = std::make_unique<CFakeDialogs>();
}

void TestPaneFiles::cleanup() {
    m_dialogs.reset();
    m_sandbox.reset();
}

void TestPaneFiles::openLoadsTheWholeFile() {
    // Far past the old 64 KiB: every byte arrives.
    std::string big;
    while (big.size() < 200000)
        big += Gbk("第") + std::to_string(big.size()) + "\r\n";
    WriteFile(file("big.txt"), big);
    m_dialogs->openAnswers.push_back(file("big.txt"));

    CMorvaneView3 view;
    Button(&view, "1010")->click();
    QCOMPARE(m_dialogs->openDialogs, 1);
    QCOMPARE(m_dialogs->lastFilter, QString::fromLatin1(kPaneFileFilter));
    QCOMPARE(view.Pane(CTwoPaneView::kLeft)->bytes().size(), big.size());
    QVERIFY(view.Pane(CTwoPaneView::kLeft)->bytes() == big);
}

void TestPaneFiles::openDecodesUtf16IntoThePaneCodePage_data() {
    QTest::addColumn<int>("view");
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("codePage");
    QTest::addRow("GB-BIG5 left, GBK") << 3 << 0 << 936;
    QTest::addRow("GB-BIG5 right, BIG5") << 3 << 1 << 950;
    QTest::addRow("GBK right, GBK") << 5 << 1 << 936;
    QTest::addRow("code translate right, Shift-JIS row") << 2 << 1 << 932;
}

void TestPaneFiles::openDecodesUtf16IntoThePaneCodePage() {
    QFETCH(int, view);
    QFETCH(int, side);
    QFETCH(int, codePage);
    WriteFile(file("utf16.txt"), Utf16File(QStringLiteral("中文\r\n")));
    m_dialogs->openAnswers.push_back(file("utf16.txt"));

    std::unique_ptr<CTwoPaneView> form;
    if (view == 2) {
        auto* translate = new CMorvaneView2;
        translate->ComboRight()->setCurrentIndex(1); // 932
        form.reset(translate);
    } else if (view == 3) {
        form = std::make_unique<CMorvaneView3>();
    } else {
        form = std::make_unique<CMorvaneView5>();
    }
    Button(form.get(), side == 0 ? "1010" : "1014")->click();
    QCOMPARE(Shown(form->Pane(CTwoPaneView::Side(side))->bytes()),
             Shown(Encoded("中文\r\n", codePage)));
}

void TestPaneFiles::openCancelledOrEmptyFile() {
    CMorvaneView5 view;
    CTextPane* pane = view.Pane(CTwoPaneView::kLeft);
    pane->setBytes(Gbk("原文"));
    Button(&view, "1010")->click(); // Cancel
    QCOMPARE(Shown(pane->bytes()), Shown(Gbk("原文")));

    WriteFile(file("empty.txt"), "");
    m_dialogs->openAnswers.push_back(file("empty.txt"));
    Button(&view, "1010")->click();
    QCOMPARE(pane->toPlainText(), QString());
}

void TestPaneFiles::loadingCancelledKeepsThePane() {
    WriteFile(file("new.txt"), Gbk("新文"));
    CMorvaneView5 view;
    CTextPane* pane = view.Pane(CTwoPaneView::kLeft);
    pane->setBytes(Gbk("原文"));
    m_dialogs->cancelProgress = true;
    QVERIFY(!LoadFileIntoPane(pane, 936, file("new.txt")));
    QCOMPARE(m_dialogs->progressDialogs, 1);
    QCOMPARE(Shown(pane->bytes()), Shown(Gbk("原文")));
    QVERIFY(m_dialogs->warnings.isEmpty());
}

void TestPaneFiles::openNeedsAChosenCodePageInCodeTranslate() {
    CMorvaneView2 view;
    Button(&view, "1010")->click();
    Button(&view, "1014")->click();
    QCOMPARE(m_dialogs->openDialogs, 0);
    view.ComboLeft()->setCurrentIndex(2);
    Button(&view, "1010")->click();
    QCOMPARE(m_dialogs->openDialogs, 1);
}

void TestPaneFiles::unreadableFileIsReportedByName_data() {
    QTest::addColumn<QString>("name");
    QTest::addRow("missing") << QStringLiteral("gone.txt");
    QTest::addRow("a folder") << QStringLiteral("folder.txt");
}

void TestPaneFiles::unreadableFileIsReportedByName() {
    QFETCH(QString, name);
    QDir().mkpath(m_sandbox->Path(QStringLiteral("folder.txt")));
    m_dialogs->openAnswers.push_back(m_sandbox->Path(name));
    CMorvaneView3 view;
    view.Pane(CTwoPaneView::kLeft)->setBytes("kept");
    Button(&view, "1010")->click();
    QCOMPARE(m_dialogs->warnings.size(), 1);
    QVERIFY(m_dialogs->warnings[0].contains(name));
    QVERIFY(m_dialogs->warnings[0].section(QLatin1Char('\n'), 1).size() > 0); // a reason
    QCOMPARE(view.Pane(CTwoPaneView::kLeft)->bytes(), std::string("kept"));
}

void TestPaneFiles::saveWritesThePaneBytes() {
    CMorvaneView3 view;
    // Bytes loaded from a UTF-16 file are saved in the pane's code page, CR LF kept.
    WriteFile(file("in.txt"), Utf16File(QStringLiteral("繁體\r\n中文")));
    m_dialogs->openAnswers.push_back(file("in.txt"));
    Button(&view, "1014")->click();
    m_dialogs->saveAnswers.push_back(file("out.txt"));
    Button(&view, "1015")->click();
    QCOMPARE(m_dialogs->saveDialogs, 1);
    QCOMPARE(m_dialogs->lastSuffix, QStringLiteral("TXT"));
    QVERIFY(m_dialogs->questions.isEmpty());
    QCOMPARE(Shown(ReadFile(file("out.txt"))), Shown(Big5("繁體\r\n中文")));
}

void TestPaneFiles::saveOfEmptyPaneShowsNoDialog() {
    CMorvaneView5 view;
    Button(&view, "1011")->click();
    QCOMPARE(m_dialogs->saveDialogs, 0);
}

void TestPaneFiles::saveOfEditedPane_data() {
    QTest::addColumn<bool>("cancel");
    QTest::addRow("encoded and saved") << false;
    QTest::addRow("cancelled while encoding") << true;
}

void TestPaneFiles::saveOfEditedPane() {
    QFETCH(bool, cancel);
    CMorvaneView5 view;
    CTextPane* pane = view.Pane(CTwoPaneView::kLeft);
    // An invalid byte and a lone LF that the edit must not touch.
    const std::string loaded = "\xff" + Gbk("旧\n中\r\n文");
    pane->setBytes(loaded);
    pane->moveCursor(QTextCursor::End);
    pane->insertPlainText(QStringLiteral("字"));
    m_dialogs->cancelProgress = cancel;
    m_dialogs->saveAnswers.push_back(file("out.txt"));
    Button(&view, "1011")->click();
    QCOMPARE(m_dialogs->progressDialogs, 1);
    if (cancel) {
        QCOMPARE(m_dialogs->saveDialogs, 0);
        QVERIFY(!QFileInfo::exists(file("out.txt")));
        return;
    }
    QCOMPARE(m_dialogs->saveDialogs, 1);
    QCOMPARE(Shown(ReadFile(file("out.txt"))), Shown(loaded + Gbk("字")));
}

void TestPaneFiles::overwriteQuestion_data() {
    QTest::addColumn<QByteArray>("existing");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("written");
    QTest::addRow("non-empty file, No") << QByteArray("old") << true << false << false;
    QTest::addRow("non-empty file, Yes") << QByteArray("old") << true << true << true;
    QTest::addRow("empty file") << QByteArray("") << false << false << true;
}

void TestPaneFiles::overwriteQuestion() {
    QFETCH(QByteArray, existing);
    QFETCH(bool, asked);
    QFETCH(bool, answer);
    QFETCH(bool, written);
    WriteFile(file("target.txt"), existing.toStdString());
    m_dialogs->saveAnswers.push_back(file("target.txt"));
    m_dialogs->questionAnswers.push_back(answer);

    CMorvaneView5 view;
    view.Pane(CTwoPaneView::kRight)->setBytes(Gbk("新"));
    Button(&view, "1015")->click();
    QCOMPARE(m_dialogs->questions.size(), asked ? 1 : 0);
    if (asked) {
        QCOMPARE(m_dialogs->questions[0], QStringLiteral("File \"%1\" already exist, overwrite?")
                                              .arg(QDir::toNativeSeparators(file("target.txt"))));
    }
    QCOMPARE(ReadFile(file("target.txt")), written ? Gbk("新") : existing.toStdString());
}

void TestPaneFiles::nameWithoutExtensionGetsTheDefault() {
    m_dialogs->saveAnswers.push_back(file("noext"));
    CMorvaneView5 view;
    view.Pane(CTwoPaneView::kLeft)->setBytes("abc");
    Button(&view, "1011")->click();
    QCOMPARE(ReadFile(file("noext.TXT")), std::string("abc"));
}

void TestPaneFiles::failedSaveIsReportedAndDamagesNothing() {
    // A folder where the file should go: the save cannot replace it.
    QDir().mkpath(file("taken.txt"));
    WriteFile(file("taken.txt/inside"), "keep");
    m_dialogs->saveAnswers.push_back(file("taken.txt"));
    m_dialogs->questionAnswers.push_back(true);
    CMorvaneView5 view;
    view.Pane(CTwoPaneView::kLeft)->setBytes("abc");
    Button(&view, "1011")->click();
    QCOMPARE(m_dialogs->warnings.size(), 1);
    QVERIFY(m_dialogs->warnings[0].contains(QStringLiteral("taken.txt")));
    QCOMPARE(ReadFile(file("taken.txt/inside")), std::string("keep"));

    // A folder that does not exist: no file and no stray temporary file appears.
    m_dialogs->saveAnswers.push_back(file("nowhere/out.txt"));
    Button(&view, "1011")->click();
    QCOMPARE(m_dialogs->warnings.size(), 2);
    QVERIFY(!QFileInfo::exists(file("nowhere")));
}

QTEST_MAIN(TestPaneFiles)
#include "pane_files_test.moc"
