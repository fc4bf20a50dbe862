// The base of the three two-pane views: panes, arrow buttons, Open file and Save as.
#pragma once

#include "views/view_base.h"

class QLabel;
class QPushButton;

namespace morvane {

class CTextPane;

class CTwoPaneView : public CMorvaneViewBase {
    Q_OBJECT
  public:
    enum Side { kLeft = 0, kRight = 1 };

    CTextPane* Pane(Side side) const { return m_pPane[side]; }
    QWidget* TopControl(Side side) const { return m_pTop[side]; }

    void Relabel() override;
    void OnSelectAll() override;

    // ">>": the left pane into the right one; "<<": the right pane into the left one.
    virtual void OnConvertRight() = 0;
    virtual void OnConvertLeft() = 0;
    void OnOpen(Side side);
    void OnSave(Side side);

  protected:
    // The top-row controls take the ids given; the panes start with the code pages given.
    CTwoPaneView(QWidget* topLeft, QWidget* topRight, int leftCodePage, int rightCodePage,
                 QWidget* parent);

    // The code page a file opened into the pane is decoded into; -1: the pane cannot
    // open a file now.
    virtual int OpenCodePage(Side side) const;

    void resizeEvent(QResizeEvent* event) override;

  private:
    void layoutControls();
    void onFileDropped(Side side, const QString& path);

    QWidget* m_pTop[2];
    CTextPane* m_pPane[2];
    QPushButton* m_pToRight;
    QPushButton* m_pToLeft;
    QPushButton* m_pOpen[2];
    QPushButton* m_pSave[2];
};

// A caption for the top row of a two-pane or one-pane view, with its thin sunken edge.
QLabel* MakeCaption(const char* id, QWidget* parent);

} // namespace morvane
