// The caps, num and scroll lock indicators at the right end of the status bar.
#pragma once

#include <QObject>

class QLabel;
class QStatusBar;

namespace morvane {

class CKeyIndicators : public QObject {
    Q_OBJECT
  public:
    // Adds the three indicator panes to the status bar.
    explicit CKeyIndicators(QStatusBar* statusBar);

    // Sets the indicator texts of the current language.
    void Relabel();
    // Reads the lock keys' state again and shows it.
    void Refresh();
    // The pane of indicator i (0 caps, 1 num, 2 scroll).
    QLabel* Pane(int i) const { return m_panes[i]; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLabel* m_panes[3];
};

} // namespace morvane
