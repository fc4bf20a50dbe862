// The GB-BIG5 view. The glossary switch is read at every click, so a change in the glossary
// view counts at once.
#include "views/morvane_view3.h"

#include <QLabel>

#include "engine/codepage.h"
#include "engine/conversion.h"
#include "lang/string_ids.h"
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
    ConvertChinese(kLeft, kRight, ConversionKind::GbToBig5);
}

void CMorvaneView3::OnConvertLeft() {
    ConvertChinese(kRight, kLeft, ConversionKind::Big5ToGb);
}

} // namespace morvane
