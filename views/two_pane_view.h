// The base of the three two-pane views: panes, arrow buttons, Open file and Save as.
#pragma once

#include "views/view_base.h"

class QLabel;
class QPushButton;

namespace morvane {

class CTextPane;
struct Conversion;
enum class ConversionKind;

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

    // Puts the from pane's bytes, converted (null: as they are), into the to pane. The work
    // runs off the GUI thread with a progress dialog; a cancel leaves the to pane as it was.
    void ConvertPane(Side from, Side to, const Conversion* conversion);
    // The same for a Simplified/Traditional chain, with the glossary when its switch, read
    // at every click, is on.
    void ConvertChinese(Side from, Side to, ConversionKind kind);

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
