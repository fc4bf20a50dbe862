// What the main frame asks of every view.
#pragma once

#include <QWidget>

namespace morvane {

class CMorvaneViewBase : public QWidget {
    Q_OBJECT
  public:
    using QWidget::QWidget;

    // Once, after the frame has created every view: restores the view's own settings.
    virtual void OnInitialUpdate() {}
    // Sets every text of the view in the current language.
    virtual void Relabel() = 0;
    // Ctrl+A: selects the whole text of the focused pane, if a pane has the focus.
    virtual void OnSelectAll() {}
    // At the frame's close: stores the view's own settings.
    virtual void SaveSettings() {}
};

} // namespace morvane
