// View 2, Code translate: text between any two code pages of the code page table.
#pragma once

#include "views/two_pane_view.h"

class QComboBox;

namespace morvane {

class CMorvaneView2 : public CTwoPaneView {
    Q_OBJECT
  public:
    explicit CMorvaneView2(QWidget* parent = nullptr);

    QComboBox* ComboLeft() const { return m_comboLeft; }
    QComboBox* ComboRight() const { return m_comboRight; }

    // Restores the two lists' rows from "view2_1" and "view2_2".
    void OnInitialUpdate() override;
    // Stores the two lists' rows (-1 for none).
    void SaveSettings() override;

    void OnConvertRight() override;
    void OnConvertLeft() override;

  protected:
    // A file opens only into a pane whose list has a row chosen.
    int OpenCodePage(Side side) const override;

  private:
    // The code page of the list's chosen row, or -1.
    static int SelectedCodePage(const QComboBox* combo);
    void OnSelchange(Side side);
    void Convert(Side from, Side to);

    QComboBox* m_comboRight;
    QComboBox* m_comboLeft;
    int m_nShownRow[2] = {-1, -1}; // each list's row the pane was last shown in
};

} // namespace morvane
