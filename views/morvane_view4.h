// View 4, the glossary settings: the glossary file in an editor, its Save, and the switch
// that turns the glossary on or off for the conversion views.
#pragma once

#include "views/view_base.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace morvane {

class CTextPane;

class CMorvaneView4 : public CMorvaneViewBase {
    Q_OBJECT
  public:
    explicit CMorvaneView4(QWidget* parent = nullptr);

    CTextPane* Editor() const { return m_pEditor; }
    QCheckBox* UseGlossaryBox() const { return m_pCheck; }
    QPushButton* SaveButton() const { return m_pSave; }

    // Reads the switch and loads the glossary in use into the editor.
    void OnInitialUpdate() override;
    void Relabel() override;
    void OnSelectAll() override;

    // Stores the check box as "GBTAB" at once.
    void OnUseGlossary();
    // Writes the editor's text to the user's glossary file and reloads the glossary.
    void OnSaveGlossary();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void OnGlossaryTextChange();

    bool m_bUseGlossary = false;
    bool m_bModified = false;
    QCheckBox* m_pCheck;
    QPushButton* m_pSave;
    QLabel* m_pCaption;
    CTextPane* m_pEditor;
};

} // namespace morvane
