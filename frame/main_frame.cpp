// The main frame reads like its creation: actions, menus, toolbar, status bar, views,
// settings; then one relabel for every text, and one update of the check marks.
#include "frame/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>

#include "frame/key_indicators.h"
#include "frame/qt_translation.h"
#include "frame/relabel_menu.h"
#include "frame/toolbar_images.h"
#include "frame/window_placement.h"
#include "lang/lang.h"
#include "lang/string_ids.h"
#include "settings/settings_store.h"
#include "views/about_dlg.h"
#include "views/morvane_view1.h"
#include "views/morvane_view2.h"
#include "views/morvane_view3.h"
#include "views/morvane_view4.h"
#include "views/morvane_view5.h"
#include "views/ui_text.h"

namespace morvane {

namespace {

// The command that shows each view, by view number.
constexpr std::uint32_t kViewCommands[5] = {ID_VIEW_EXPLAIN, ID_VIEW_CODE_TRANSLATE,
                                            ID_VIEW_GB_BIG5, ID_VIEW_GB_BIG5_SETTING,
                                            ID_VIEW_GBK_INTERNAL};
// The language commands, by language index.
constexpr std::uint32_t kLanguageCommands[3] = {ID_LANGUAGE_ENGLISH, ID_LANGUAGE_SIMPLIFIED,
                                                ID_LANGUAGE_TRADITIONAL};

CMorvaneViewBase* CreateView(int n) {
    switch (n) {
    case 1:
        return new CMorvaneView1;
    case 2:
        return new CMorvaneView2;
    case 3:
        return new CMorvaneView3;
    case 4:
        return new CMorvaneView4;
    default:
        return new CMorvaneView5;
    }
}

} // namespace

CMainFrame::CMainFrame() {
    setMinimumSize(320, 240);
    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    createViews();
    relabel();
    readSettings();
    updateCommandUI();
}

void CMainFrame::createActions() {
    for (int n = 1; n <= 5; ++n) {
        QAction* action = addCommand(kViewCommands[n - 1], true);
        connect(action, &QAction::triggered, this, [this, n] { onViewCommand(n); });
    }
    static const char* const kLanguageNames[3] = {"English", "Chinese (Simplified)",
                                                  "Chinese (Traditional)"};
    for (int language = 0; language < 3; ++language) {
        QAction* action = addCommand(kLanguageCommands[language], true);
        // These three read the same in every language, so a reader can always find theirs.
        action->setText(QString::fromLatin1(kLanguageNames[language]));
        connect(action, &QAction::triggered, this, [this, language] { SetLanguage(language); });
    }

    QAction* statusBarToggle = addCommand(ID_VIEW_STATUS_BAR, true);
    statusBarToggle->setChecked(true);
    connect(statusBarToggle, &QAction::toggled, this,
            [this](bool on) { statusBar()->setVisible(on); });

    connect(addCommand(ID_APP_ABOUT), &QAction::triggered, this, [this] { ShowAboutBox(this); });
    addCommand(ID_APP_ABOUT)->setIcon(ToolbarIcon(6));
    connect(addCommand(ID_APP_EXIT), &QAction::triggered, this, &QWidget::close);

    QAction* selectAll = addCommand(ID_SELECT_ALL);
    selectAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    connect(selectAll, &QAction::triggered, this, [this] { onSelectAll(); });
    addAction(selectAll); // an accelerator only, in no menu

    static const int kImages[5] = {1, 2, 3, 5, 4};
    for (int n = 1; n <= 5; ++n)
        Action(kViewCommands[n - 1])->setIcon(ToolbarIcon(kImages[n - 1]));
}

void CMainFrame::createMenus() {
    // Labelled in English here; relabel() gives them the current language.
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(Action(ID_APP_EXIT));

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    for (std::uint32_t id : kViewCommands)
        view->addAction(Action(id));
    view->addSeparator();
    // The toolbar's own toggle is added in createToolBar(), ahead of the status bar's.
    view->addAction(Action(ID_VIEW_STATUS_BAR));
    view->addSeparator();
    QMenu* language = view->addMenu(QStringLiteral("Language"));
    language->addAction(Action(ID_LANGUAGE_ENGLISH));
    language->addAction(Action(ID_LANGUAGE_SIMPLIFIED));
    language->addAction(Action(ID_LANGUAGE_TRADITIONAL));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(Action(ID_APP_ABOUT));
}

void CMainFrame::createToolBar() {
    m_wndToolBar = addToolBar(QStringLiteral("Toolbar"));
    m_wndToolBar->setObjectName(QStringLiteral("toolbar"));
    m_wndToolBar->setIconSize(QSize(20, 20));
    m_wndToolBar->setMovable(true);
    m_wndToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_wndToolBar->addAction(Action(ID_VIEW_EXPLAIN));
    m_wndToolBar->addSeparator();
    m_wndToolBar->addAction(Action(ID_VIEW_CODE_TRANSLATE));
    m_wndToolBar->addSeparator();
    m_wndToolBar->addAction(Action(ID_VIEW_GB_BIG5));
    m_wndToolBar->addAction(Action(ID_VIEW_GBK_INTERNAL));
    m_wndToolBar->addAction(Action(ID_VIEW_GB_BIG5_SETTING));
    m_wndToolBar->addSeparator();
    m_wndToolBar->addAction(Action(ID_APP_ABOUT));

    QAction* toggle = m_wndToolBar->toggleViewAction();
    SetCommandId(toggle, ID_VIEW_TOOLBAR);
    m_actions[ID_VIEW_TOOLBAR] = toggle;
    QMenu* view = menuBar()->actions().at(1)->menu();
    view->insertAction(Action(ID_VIEW_STATUS_BAR), toggle);
}

void CMainFrame::createStatusBar() {
    // The idle text is an ordinary widget: QStatusBar hides it while a prompt shows and
    // brings it back when the prompt is cleared.
    m_pIdleText = new QLabel(statusBar());
    m_pIdleText->setObjectName(QStringLiteral("idle"));
    statusBar()->addWidget(m_pIdleText, 1);
    m_pIndicators = new CKeyIndicators(statusBar());
}

void CMainFrame::createViews() {
    m_pStack = new QStackedWidget(this);
    setCentralWidget(m_pStack);
    // All five exist from here on; view 5 ends up shown, as on a first start.
    for (int n = 1; n <= 5; ++n)
        SwitchView(n);
    for (CMorvaneViewBase* view : m_pViews)
        view->OnInitialUpdate();
}

void CMainFrame::readSettings() {
    std::int32_t mode = 0;
    // A number that names no view is not followed: the first start's view stays.
    if (ReadSettingInt32("mode", mode) && mode >= 1 && mode <= 5)
        SwitchView(mode);
}

void CMainFrame::writeSettings() {
    WriteSettingInt32("mode", m_nView);
    SavePlacement(*this);
    for (CMorvaneViewBase* view : m_pViews) {
        if (view != nullptr)
            view->SaveSettings();
    }
}

void CMainFrame::relabel() {
    // The toolbar's title renames its toggle action, so the menu is relabelled after it.
    m_wndToolBar->setWindowTitle(TipPart(ID_VIEW_TOOLBAR));
    RelabelMenu(menuBar());
    for (auto& [id, action] : m_actions) {
        action->setStatusTip(StatusPart(id));
        action->setToolTip(TipPart(id));
    }
    setWindowTitle(LangText(IDS_MAIN_TITLE));
    for (CMorvaneViewBase* view : m_pViews) {
        if (view != nullptr)
            view->Relabel();
    }
    m_pIdleText->setText(LangText(IDS_IDLE_MESSAGE));
    statusBar()->clearMessage();
    m_pIndicators->Relabel();
}

void CMainFrame::updateCommandUI() {
    for (int n = 1; n <= 5; ++n)
        Action(kViewCommands[n - 1])->setChecked(m_nView == n);
    for (int language = 0; language < 3; ++language)
        Action(kLanguageCommands[language])->setChecked(g_nLanguage == language);
}

void CMainFrame::SwitchView(int n) {
    m_nView = n;
    if (n < 1 || n > 5) {
        updateCommandUI();
        return;
    }
    if (m_pViews[n - 1] == nullptr) {
        m_pViews[n - 1] = CreateView(n);
        m_pStack->addWidget(m_pViews[n - 1]);
    }
    CMorvaneViewBase* view = m_pViews[n - 1];
    const bool hadFocus = m_pStack->isAncestorOf(focusWidget());
    m_pStack->setCurrentWidget(view);
    // The view's last focused control gets the focus back, as if it had never left.
    if (hadFocus || isActiveWindow()) {
        if (QWidget* last = view->focusWidget())
            last->setFocus();
        else
            view->setFocus();
    }
    updateCommandUI();
}

void CMainFrame::SetLanguage(int n) {
    if (n == g_nLanguage || n < 0 || n > 2) {
        updateCommandUI();
        return;
    }
    g_nLanguage = n;
    InstallQtTranslation(n);
    relabel();
    updateCommandUI();
}

CMorvaneViewBase* CMainFrame::View(int n) const {
    return n >= 1 && n <= 5 ? m_pViews[n - 1] : nullptr;
}

CMorvaneView1* CMainFrame::ExplainView() const {
    return static_cast<CMorvaneView1*>(m_pViews[0]);
}

QAction* CMainFrame::Action(std::uint32_t id) const {
    const auto it = m_actions.find(id);
    return it != m_actions.end() ? it->second : nullptr;
}

QAction* CMainFrame::addCommand(std::uint32_t id, bool checkable) {
    if (QAction* existing = Action(id))
        return existing;
    auto* action = new QAction(this);
    SetCommandId(action, id);
    action->setCheckable(checkable);
    m_actions[id] = action;
    return action;
}

void CMainFrame::onViewCommand(int n) {
    if (m_nView != n)
        SwitchView(n);
    else
        updateCommandUI(); // a click on the checked item must not uncheck it
}

void CMainFrame::onSelectAll() {
    if (CMorvaneViewBase* view = View(m_nView))
        view->OnSelectAll();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    writeSettings();
    event->accept();
}

} // namespace morvane
