// The GBK Simplified/Traditional view: the chain without the code page step. The glossary
// switch is read at every click.
#include "views/morvane_view5.h"

#include <QLabel>

#include "engine/codepage.h"
#include "engine/conversion.h"
#include "lang/string_ids.h"
#include "views/pane_font.h"
#include "views/text_pane.h"
#include "views/ui_text.h"

namespace morvane {

CMorvaneView5::CMorvaneView5(QWidget* parent)
    : CTwoPaneView(MakeCaption("1025", nullptr), MakeCaption("1026", nullptr), kCodePageGbk,
                   kCodePageGbk, parent),
      m_pLabelLeft(static_cast<QLabel*>(TopControl(kLeft))),
      m_pLabelRight(static_cast<QLabel*>(TopControl(kRight))) {
    SetPaneFontReportOnce(Pane(kLeft), kCodePageGbk);
    SetPaneFontReportOnce(Pane(kRight), kCodePageGbk);
    Relabel();
}

void CMorvaneView5::Relabel() {
    CTwoPaneView::Relabel();
    m_pLabelLeft->setText(LangText(IDS_LABEL_GBK_SIMPLIFIED));
    m_pLabelRight->setText(LangText(IDS_LABEL_GBK_TRADITIONAL));
}

void CMorvaneView5::OnConvertRight() {
    ConvertChinese(kLeft, kRight, ConversionKind::SimplifiedToTraditional);
}

void CMorvaneView5::OnConvertLeft() {
    ConvertChinese(kRight, kLeft, ConversionKind::TraditionalToSimplified);
}

} // namespace morvane
