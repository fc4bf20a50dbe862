// The main window: menu, toolbar, status bar and the five views, one shown at a time.
#pragma once

#include <QMainWindow>

#include <cstdint>
#include <map>

class QLabel;
class QStackedWidget;
class QToolBar;

namespace morvane {

class CKeyIndicators;
class CMorvaneView1;
class CMorvaneViewBase;

class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    CMainFrame();

    // Shows view n (1 to 5), creating it first if it does not exist yet. m_nView takes n
    // whatever it is; a number outside 1 to 5 changes nothing else.
    void SwitchView(int n);
    // Switches the whole interface to language n (0, 1 or 2).
    void SetLanguage(int n);

    int CurrentView() const { return m_nView; }
    CMorvaneViewBase* View(int n) const;
    CMorvaneView1* ExplainView() const;
    // The action of a command id (view, language, toolbar, status bar, about, exit...).
    QAction* Action(std::uint32_t id) const;
    QToolBar* ToolBar() const { return m_wndToolBar; }
    QLabel* IdleText() const { return m_pIdleText; }
    CKeyIndicators* Indicators() const { return m_pIndicators; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void createViews();
    void readSettings();
    void writeSettings();
    // Every text of the window in the current language: the one place a switch calls.
    void relabel();
    // Check marks of the view and language items, pressed state of the view buttons.
    void updateCommandUI();

    void onViewCommand(int n);
    void onSelectAll();

    QAction* addCommand(std::uint32_t id, bool checkable = false);

    QStackedWidget* m_pStack = nullptr;
    QToolBar* m_wndToolBar = nullptr;
    QLabel* m_pIdleText = nullptr;
    CKeyIndicators* m_pIndicators = nullptr;
    CMorvaneViewBase* m_pViews[5] = {};
    int m_nView = 1;
    std::map<std::uint32_t, QAction*> m_actions;
};

} // namespace morvane
