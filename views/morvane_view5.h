// View 5, GBK Simplified/Traditional: both panes GBK, Simplified left, Traditional right.
#pragma once

#include "views/two_pane_view.h"

namespace morvane {

class CMorvaneView5 : public CTwoPaneView {
    Q_OBJECT
  public:
    explicit CMorvaneView5(QWidget* parent = nullptr);
    void Relabel() override;
    void OnConvertRight() override; // Simplified to Traditional, both GBK
    void OnConvertLeft() override;  // Traditional to Simplified, both GBK

  private:
    QLabel* m_pLabelLeft;
    QLabel* m_pLabelRight;
};

} // namespace morvane
