// View 3, GB-BIG5: GBK Simplified text on the left, BIG5 Traditional text on the right.
#pragma once

#include "views/two_pane_view.h"

namespace morvane {

class CMorvaneView3 : public CTwoPaneView {
    Q_OBJECT
  public:
    explicit CMorvaneView3(QWidget* parent = nullptr);
    void Relabel() override;
    void OnConvertRight() override; // GBK Simplified to BIG5 Traditional
    void OnConvertLeft() override;  // BIG5 Traditional to GBK Simplified

  private:
    QLabel* m_pLabelLeft;
    QLabel* m_pLabelRight;
};

} // namespace morvane
