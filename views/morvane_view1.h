// View 1, Explain: the help text of the interface language, read-only.
#pragma once

#include "views/view_base.h"

class QPlainTextEdit;

namespace morvane {

class CMorvaneView1 : public CMorvaneViewBase {
    Q_OBJECT
  public:
    explicit CMorvaneView1(QWidget* parent = nullptr);

    QPlainTextEdit* HelpText() const { return m_pText; }

    void Relabel() override;
    // An empty selection before the first character, scrolled to the top.
    void CaretToStart();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    QPlainTextEdit* m_pText;
};

} // namespace morvane
