// The GB-BIG5 view. The glossary switch is read at every click, so a change in the glossary
// view counts at once.
#include "views/morvane_view3.h"

#include <QLabel>

#include "engine/chinese_chain.h"
#include "engine/codepage.h"
#include "engine/glossary.h"
#include "lang/string_ids.h"
#include "settings/settings_store.h"
#include "views/pane_font.h"
#include "views/text_pane.h"
#include "views/ui_text.h"

namespace morvane {

CMorvaneView3::CMorvaneView3(QWidget* parent)
    : CTwoPaneView(MakeCaption("1007", nullptr), MakeCaption("1008", nullptr), kCodePageGbk,
                   kCodePageBig5, parent),
      m_pLabelLeft(static_cast<QLabel*>(TopControl(kLeft))),
      m_pLabelRight(static_cast<QLabel*>(TopControl(kRight))) {
    SetPaneFontReportOnce(Pane(kLeft), kCodePageGbk);
    SetPaneFontReportOnce(Pane(kRight), kCodePageBig5);
    Relabel();
}

void CMorvaneView3::Relabel() {
    CTwoPaneView::Relabel();
    m_pLabelLeft->setText(LangText(IDS_LABEL_GB));
    m_pLabelRight->setText(LangText(IDS_LABEL_BIG5));
}

void CMorvaneView3::OnConvertRight() {
    Bytes text = Pane(kLeft)->bytes();
    GbToBig5(text, g_glossary, ReadGlossarySwitch());
    Pane(kRight)->setBytes(text);
}

void CMorvaneView3::OnConvertLeft() {
    Bytes text = Pane(kRight)->bytes();
    Big5ToGb(text, g_glossary, ReadGlossarySwitch(), false);
    Pane(kLeft)->setBytes(text);
}

} // namespace morvane
