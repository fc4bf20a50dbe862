// The main frame: the five views and switching between them, "mode", closing, Ctrl+A, the
// About box, and a language switch that reaches every text, shown or hidden.
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

#include "frame/key_indicators.h"
#include "frame/main_frame.h"
#include "frame/qt_translation.h"
#include "frame/relabel_menu.h"
#include "lang/lang.h"
#include "lang/string_ids.h"
#include "settings/settings_store.h"
#include "tests/test_text.h"
#include "views/about_dlg.h"
#include "views/morvane_view1.h"
#include "views/text_pane.h"
#include "views/two_pane_view.h"
#include "window_fixture.h"

using namespace morvane;
using namespace morvane::test;

namespace {

constexpr std::uint32_t kViewCommands[5] = {ID_VIEW_EXPLAIN, ID_VIEW_CODE_TRANSLATE,
                                            ID_VIEW_GB_BIG5, ID_VIEW_GB_BIG5_SETTING,
                                            ID_VIEW_GBK_INTERNAL};

QString Text(std::uint32_t id) {
    return QString::fromUtf8(GetLangString(id));
}
QString MenuText(std::uint32_t id) {
    return QString::fromUtf8(GetLangMenuString(id));
}

int ShownView(const CMainFrame& frame) {
    int shown = 0;
    for (int n = 1; n <= 5; ++n) {
        if (frame.View(n)->isVisible())
            shown = shown == 0 ? n : -1;
    }
    return shown;
}

QStringList CheckedViewItems(const CMainFrame& frame) {
    QStringList checked;
    for (std::uint32_t id : kViewCommands) {
        if (frame.Action(id)->isChecked())
            checked << QString::number(id);
    }
    return checked;
}

} // namespace

class TestMainFrame : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void firstStartShowsViewFiveWithAllViewsMade();
    void storedModeIsRestored_data();
    void storedModeIsRestored();
    void switchingKeepsEveryViewsTextAndSelection();
    void choosingTheShownViewChangesNothing();
    void switchViewOutOfRangeOnlyRecordsTheNumber();
    void closeWritesModePlacementAndRows();
    void menuAndToolbarHoldEveryCommand();
    void selectAllGoesToTheFocusedPane();
    void explainViewPutsTheCaretBackAtTheStart();
    void aboutBoxTextsAndLinks();

    void languageSwitchReachesEveryText_data();
    void languageSwitchReachesEveryText();
    void sameLanguageDoesNothing();
    void languageSwitchSwapsQtsOwnTexts();

  private:
    void checkEveryText(const CMainFrame& frame);
    std::unique_ptr<CConfigSandbox> m_sandbox;
    std::unique_ptr<CFakeDialogs> m_dialogs;
};

void TestMainFrame::init() {
    g_nLanguage = 0;
    m_sandbox = std::make_unique<CConfigSandbox>();
    m_dialogs = std::make_unique<CFakeDialogs>();
}

void TestMainFrame::cleanup() {
    m_dialogs.reset();
    m_sandbox.reset();
    g_nLanguage = 0;
    InstallQtTranslation(0);
}

void TestMainFrame::firstStartShowsViewFiveWithAllViewsMade() {
    CMainFrame frame;
    frame.show();
    for (int n = 1; n <= 5; ++n)
        QVERIFY(frame.View(n) != nullptr);
    QCOMPARE(frame.CurrentView(), 5);
    QCOMPARE(ShownView(frame), 5);
    QCOMPARE(CheckedViewItems(frame), QStringList{QStringLiteral("32779")});
    QCOMPARE(frame.windowTitle(), QStringLiteral("Morvane v2.2"));
    QCOMPARE(frame.minimumSize(), QSize(320, 240));
    // Offscreen there is no keyboard state to read: the indicators stay greyed.
    QCOMPARE(frame.Indicators()->Pane(0)->text(), QStringLiteral("CAPS"));
    QVERIFY(!frame.Indicators()->Pane(1)->isEnabled());
}

void TestMainFrame::storedModeIsRestored_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("shown");
    QTest::addRow("2") << QByteArray::fromHex("02000000") << 2;
    QTest::addRow("1") << QByteArray::fromHex("01000000") << 1;
    QTest::addRow("4") << QByteArray::fromHex("04000000") << 4;
    QTest::addRow("0, out of range") << QByteArray::fromHex("00000000") << 5;
    QTest::addRow("6, out of range") << QByteArray::fromHex("06000000") << 5;
    QTest::addRow("negative") << QByteArray::fromHex("ffffffff") << 5;
    QTest::addRow("3 bytes") << QByteArray::fromHex("020000") << 5;
    QTest::addRow("5 bytes") << QByteArray::fromHex("0200000000") << 5;
}

void TestMainFrame::storedModeIsRestored() {
    QFETCH(QByteArray, stored);
    QFETCH(int, shown);
    WriteSetting("mode", stored.constData(), static_cast<std::size_t>(stored.size()));
    CMainFrame frame;
    frame.show();
    QCOMPARE(frame.CurrentView(), shown);
    QCOMPARE(ShownView(frame), shown);
    QCOMPARE(CheckedViewItems(frame), QStringList{QString::number(kViewCommands[shown - 1])});
}

void TestMainFrame::switchingKeepsEveryViewsTextAndSelection() {
    CMainFrame frame;
    frame.show();
    auto* gb = static_cast<CTwoPaneView*>(frame.View(3));
    frame.Action(ID_VIEW_GB_BIG5)->trigger();
    gb->Pane(CTwoPaneView::kLeft)->setPlainText(QStringLiteral("软件工程"));
    QTextCursor cursor = gb->Pane(CTwoPaneView::kLeft)->textCursor();
    cursor.setPosition(1);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    gb->Pane(CTwoPaneView::kLeft)->setTextCursor(cursor);
    auto* translate = static_cast<CTwoPaneView*>(frame.View(2));
    translate->findChild<QComboBox*>(QStringLiteral("1000"))->setCurrentIndex(6);

    for (std::uint32_t id : kViewCommands)
        frame.Action(id)->trigger();
    frame.Action(ID_VIEW_GB_BIG5)->trigger();

    QCOMPARE(ShownView(frame), 3);
    QCOMPARE(gb->Pane(CTwoPaneView::kLeft)->toPlainText(), QStringLiteral("软件工程"));
    QCOMPARE(gb->Pane(CTwoPaneView::kLeft)->textCursor().selectedText(), QStringLiteral("件工"));
    QCOMPARE(translate->findChild<QComboBox*>(QStringLiteral("1000"))->currentIndex(), 6);
}

void TestMainFrame::choosingTheShownViewChangesNothing() {
    CMainFrame frame;
    frame.show();
    frame.Action(ID_VIEW_GBK_INTERNAL)->trigger(); // already shown: a click must not uncheck
    QCOMPARE(frame.CurrentView(), 5);
    QCOMPARE(CheckedViewItems(frame), QStringList{QStringLiteral("32779")});
}

void TestMainFrame::switchViewOutOfRangeOnlyRecordsTheNumber() {
    CMainFrame frame;
    frame.show();
    frame.SwitchView(9);
    QCOMPARE(frame.CurrentView(), 9);
    QCOMPARE(ShownView(frame), 5);
    QVERIFY(CheckedViewItems(frame).isEmpty());
    frame.Action(ID_VIEW_EXPLAIN)->trigger(); // the next view command sets things right
    QCOMPARE(ShownView(frame), 1);
    QCOMPARE(CheckedViewItems(frame), QStringList{QStringLiteral("32771")});
}

void TestMainFrame::closeWritesModePlacementAndRows() {
    {
        CMainFrame frame;
        frame.setGeometry(40, 50, 500, 400);
        frame.show();
        frame.Action(ID_VIEW_CODE_TRANSLATE)->trigger();
        auto* translate = frame.View(2);
        translate->findChild<QComboBox*>(QStringLiteral("1000"))->setCurrentIndex(4);
        translate->findChild<QComboBox*>(QStringLiteral("1001"))->setCurrentIndex(7);
        frame.showMinimized();
        QVERIFY(frame.close());
    }
    std::int32_t value = 0;
    QVERIFY(ReadSettingInt32("mode", value));
    QCOMPARE(value, 2);
    QVERIFY(ReadSettingInt32("view2_1", value));
    QCOMPARE(value, 4);
    QVERIFY(ReadSettingInt32("view2_2", value));
    QCOMPARE(value, 7);
    unsigned char pl[44];
    QVERIFY(ReadSetting("pl", pl, sizeof pl));
    QCOMPARE(int(pl[0]), 44);
    QCOMPARE(int(pl[8]), 9); // closed minimised from normal: restore next time

    CMainFrame next;
    next.show();
    QCOMPARE(ShownView(next), 2);
    QCOMPARE(next.View(2)->findChild<QComboBox*>(QStringLiteral("1001"))->currentIndex(), 7);
}

void TestMainFrame::menuAndToolbarHoldEveryCommand() {
    CMainFrame frame;
    frame.show();
    const QList<QAction*> top = frame.menuBar()->actions();
    QCOMPARE(top.size(), 3);
    QCOMPARE(top[0]->text(), QStringLiteral("&File"));
    QCOMPARE(top[1]->text(), QStringLiteral("&View"));
    QCOMPARE(top[2]->text(), QStringLiteral("&Help"));

    // Separators as 0, the Language pop-up as 1.
    QList<std::uint32_t> viewMenu;
    for (QAction* item : top[1]->menu()->actions())
        viewMenu << (item->isSeparator() ? 0 : item->menu() ? 1 : CommandId(item));
    QCOMPARE(viewMenu,
             (QList<std::uint32_t>{32771, 32772, 32773, 32778, 32779, 0, 59392, 59393, 0, 1}));

    QList<QAction*> expected = {frame.Action(32771), nullptr,
                                frame.Action(32772), nullptr,
                                frame.Action(32773), frame.Action(32779),
                                frame.Action(32778), nullptr,
                                frame.Action(57664)};
    const QList<QAction*> buttons = frame.ToolBar()->actions();
    QCOMPARE(buttons.size(), expected.size());
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        if (expected[i] == nullptr)
            QVERIFY(buttons[i]->isSeparator());
        else
            QCOMPARE(buttons[i], expected[i]);
    }
    QCOMPARE(frame.ToolBar()->iconSize(), QSize(20, 20));
    QVERIFY(!frame.Action(32773)->icon().isNull());

    frame.Action(ID_VIEW_TOOLBAR)->trigger();
    QVERIFY(!frame.Action(ID_VIEW_TOOLBAR)->isChecked());
    QVERIFY(frame.ToolBar()->isHidden());
    frame.Action(ID_VIEW_STATUS_BAR)->trigger();
    QVERIFY(frame.statusBar()->isHidden());
}

void TestMainFrame::selectAllGoesToTheFocusedPane() {
    CMainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    frame.Action(ID_VIEW_GB_BIG5)->trigger();
    auto* gb = static_cast<CTwoPaneView*>(frame.View(3));
    CTextPane* right = gb->Pane(CTwoPaneView::kRight);
    right->setPlainText(QStringLiteral("全部选中"));
    right->setFocus();
    QTRY_VERIFY(right->hasFocus());
    frame.Action(ID_SELECT_ALL)->trigger();
    QCOMPARE(right->textCursor().selectedText(), QStringLiteral("全部选中"));

    // A button with the focus: nothing is selected.
    right->moveCursor(QTextCursor::End);
    auto* button = gb->findChild<QAbstractButton*>(QStringLiteral("1009"));
    button->setFocus();
    QTRY_VERIFY(button->hasFocus());
    frame.Action(ID_SELECT_ALL)->trigger();
    QVERIFY(right->textCursor().selectedText().isEmpty());

    // The Explain view does not answer Ctrl+A.
    frame.Action(ID_VIEW_EXPLAIN)->trigger();
    auto* explain = frame.ExplainView();
    explain->HelpText()->setFocus();
    QTest::keyClick(explain->HelpText(), Qt::Key_A, Qt::ControlModifier);
    QVERIFY(explain->HelpText()->textCursor().selectedText().isEmpty());
}

void TestMainFrame::explainViewPutsTheCaretBackAtTheStart() {
    CMainFrame frame;
    frame.show();
    frame.Action(ID_VIEW_EXPLAIN)->trigger();
    QPlainTextEdit* help = frame.ExplainView()->HelpText();
    QVERIFY(help->isReadOnly());
    QTextCursor cursor = help->textCursor();
    cursor.setPosition(40);
    help->setTextCursor(cursor);
    frame.Action(ID_VIEW_GB_BIG5)->trigger();
    frame.Action(ID_VIEW_EXPLAIN)->trigger();
    QCOMPARE(help->textCursor().position(), 0);
    QVERIFY(!help->textCursor().hasSelection());
}

void TestMainFrame::aboutBoxTextsAndLinks() {
    for (int language = 0; language < 3; ++language) {
        g_nLanguage = language;
        CAboutDlg about;
        QCOMPARE(about.windowTitle(), Text(IDS_ABOUT_CAPTION));
        QCOMPARE(about.findChild<QAbstractButton*>(QStringLiteral("1"))->text(), Text(IDS_OK));
        for (std::uint32_t id : {1016u, 1017u}) {
            QCOMPARE(about.findChild<QLabel*>(QString::number(id))->text(), Text(id));
        }
    }
    CAboutDlg about;
    about.findChild<QAbstractButton*>(QStringLiteral("1018"))->click();
    about.findChild<QAbstractButton*>(QStringLiteral("1019"))->click();
    QCOMPARE(m_dialogs->urls.size(), 2);
    QCOMPARE(m_dialogs->urls[0].toString(), Text(IDS_ABOUT_HOMEPAGE));
    QCOMPARE(m_dialogs->urls[1].toString(), QStringLiteral("mailto:") + Text(IDS_ABOUT_MAIL));
}

void TestMainFrame::languageSwitchReachesEveryText_data() {
    QTest::addColumn<QList<int>>("switches");
    QTest::addRow("to Traditional") << QList<int>{2};
    QTest::addRow("to Simplified") << QList<int>{1};
    QTest::addRow("Traditional, Simplified, English") << QList<int>{2, 1, 0};
    QTest::addRow("Simplified, Traditional") << QList<int>{1, 2};
}

void TestMainFrame::languageSwitchReachesEveryText() {
    QFETCH(QList<int>, switches);
    CMainFrame frame;
    frame.show();
    frame.Action(ID_VIEW_GB_BIG5)->trigger(); // views 1, 2, 4 and 5 are hidden
    for (int language : switches)
        frame
            .Action(language == 0   ? ID_LANGUAGE_ENGLISH
                    : language == 1 ? ID_LANGUAGE_SIMPLIFIED
                                    : ID_LANGUAGE_TRADITIONAL)
            ->trigger();
    QCOMPARE(g_nLanguage, switches.last());
    checkEveryText(frame);
}

void TestMainFrame::checkEveryText(const CMainFrame& frame) {
    // Menu: the three pop-ups, every command with a row, Language left as it is.
    const QList<QAction*> top = frame.menuBar()->actions();
    QCOMPARE(top[0]->text(), MenuText(IDS_MENU_FILE));
    QCOMPARE(top[1]->text(), MenuText(IDS_MENU_VIEW));
    QCOMPARE(top[2]->text(), MenuText(IDS_MENU_HELP));
    for (std::uint32_t id :
         {32771u, 32772u, 32773u, 32778u, 32779u, 59392u, 59393u, 57664u, 57665u})
        QCOMPARE(frame.Action(id)->text(), MenuText(id));
    QCOMPARE(top[1]->menu()->actions().last()->text(), QStringLiteral("Language"));
    QCOMPARE(frame.Action(ID_LANGUAGE_TRADITIONAL)->text(),
             QStringLiteral("Chinese (Traditional)"));
    for (std::uint32_t id : {32775u, 32776u, 32777u}) {
        const bool current = (id == 32777u && g_nLanguage == 0) ||
                             (id == 32775u && g_nLanguage == 1) ||
                             (id == 32776u && g_nLanguage == 2);
        QCOMPARE(frame.Action(id)->isChecked(), current);
    }

    // Status prompts and tool tips, title, idle text, indicators.
    for (std::uint32_t id : {32771u, 32772u, 32773u, 32778u, 32779u, 57664u}) {
        const QStringList prompt = Text(id).split(QLatin1Char('\n'));
        QCOMPARE(frame.Action(id)->statusTip(), prompt[0]);
        QCOMPARE(frame.Action(id)->toolTip(), prompt[1]);
    }
    QCOMPARE(frame.windowTitle(), Text(IDS_MAIN_TITLE));
    QCOMPARE(frame.IdleText()->text(), Text(IDS_IDLE_MESSAGE));
    QCOMPARE(frame.Indicators()->Pane(0)->text(), Text(ID_INDICATOR_CAPS));
    QCOMPARE(frame.Indicators()->Pane(2)->text(), Text(ID_INDICATOR_SCRL));

    // Every view's labels and buttons, hidden or shown, and the help text.
    struct Control {
        int view;
        const char* name;
        std::uint32_t id;
    };
    static const Control kControls[] = {
        {2, "1010", 1010}, {2, "1011", 1011}, {2, "1014", 1010}, {2, "1015", 1011},
        {3, "1007", 1007}, {3, "1008", 1008}, {3, "1010", 1010}, {3, "1011", 1011},
        {3, "1014", 1010}, {3, "1015", 1011}, {4, "1021", 1021}, {4, "1023", 1023},
        {4, "1022", 1022}, {5, "1025", 1025}, {5, "1026", 1026}, {5, "1010", 1010},
        {5, "1011", 1011}, {5, "1014", 1010}, {5, "1015", 1011},
    };
    for (const Control& control : kControls) {
        QObject* widget =
            frame.View(control.view)->findChild<QObject*>(QLatin1String(control.name));
        QVERIFY2(widget != nullptr, control.name);
        QCOMPARE(widget->property("text").toString(), Text(control.id));
    }
    QString help = QString::fromUtf8(g_helpTexts[g_nLanguage]);
    help.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QCOMPARE(frame.ExplainView()->HelpText()->toPlainText(), help);
    QCOMPARE(frame.View(3)->findChild<QAbstractButton*>(QStringLiteral("1009"))->text(),
             QStringLiteral(">>"));
}

void TestMainFrame::sameLanguageDoesNothing() {
    CMainFrame frame;
    frame.show();
    frame.statusBar()->showMessage(QStringLiteral("a prompt"));
    frame.SetLanguage(0);
    QCOMPARE(frame.statusBar()->currentMessage(), QStringLiteral("a prompt"));
    frame.SetLanguage(2);
    QCOMPARE(frame.statusBar()->currentMessage(), QString());
    QCOMPARE(frame.IdleText()->text(), QStringLiteral("就緒"));
}

void TestMainFrame::languageSwitchSwapsQtsOwnTexts() {
    CMainFrame frame;
    const QString english = QCoreApplication::translate("QPlatformTheme", "Cancel");
    QCOMPARE(english, QStringLiteral("Cancel"));
    frame.SetLanguage(1);
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
    frame.SetLanguage(0);
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}

QTEST_MAIN(TestMainFrame)
#include "main_frame_test.moc"
