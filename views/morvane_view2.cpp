// The Code translate view: two code page lists, each pane shown in its list's code page.
#include "views/morvane_view2.h"

#include <QComboBox>
#include <QSignalBlocker>

#include "engine/codepage.h"
#include "engine/conversion.h"
#include "lang/string_ids.h"
#include "settings/settings_store.h"
#include "views/code_page_table.h"
#include "views/dialog_seam.h"
#include "views/pane_font.h"
#include "views/text_pane.h"
#include "views/ui_text.h"

namespace morvane {

namespace {

QComboBox* MakeCodePageList(const char* id) {
    auto* combo = new QComboBox;
    combo->setObjectName(QLatin1String(id));
    for (int row = 0; row < kCodePageRows; ++row)
        combo->addItem(QString::fromLatin1(g_codePageTable[row].pszLabel), row);
    combo->setCurrentIndex(-1);
    combo->setMaxVisibleItems(kCodePageRows);
    return combo;
}

} // namespace

CMorvaneView2::CMorvaneView2(QWidget* parent)
    : CTwoPaneView(MakeCodePageList("1000"), MakeCodePageList("1001"), 0, 0, parent),
      m_comboRight(static_cast<QComboBox*>(TopControl(kRight))),
      m_comboLeft(static_cast<QComboBox*>(TopControl(kLeft))) {
    connect(m_comboLeft, &QComboBox::currentIndexChanged, this, [this] { OnSelchange(kLeft); });
    connect(m_comboRight, &QComboBox::currentIndexChanged, this, [this] { OnSelchange(kRight); });
}

void CMorvaneView2::OnInitialUpdate() {
    const char* const names[2] = {"view2_1", "view2_2"};
    QComboBox* const combos[2] = {m_comboLeft, m_comboRight};
    for (int i = 0; i < 2; ++i) {
        std::int32_t row = -1;
        if (ReadSettingInt32(names[i], row) && row >= 0 && row < kCodePageRows)
            combos[i]->setCurrentIndex(row);
    }
}

void CMorvaneView2::SaveSettings() {
    WriteSettingInt32("view2_1", m_comboLeft->currentIndex());
    WriteSettingInt32("view2_2", m_comboRight->currentIndex());
}

int CMorvaneView2::SelectedCodePage(const QComboBox* combo) {
    const int row = combo->currentIndex() >= 0 ? combo->currentData().toInt() : -1;
    return row >= 0 && row < kCodePageRows ? g_codePageTable[row].nCodePage : -1;
}

int CMorvaneView2::OpenCodePage(Side side) const {
    return SelectedCodePage(side == kLeft ? m_comboLeft : m_comboRight);
}

void CMorvaneView2::OnSelchange(Side side) {
    QComboBox* const combo = side == kLeft ? m_comboLeft : m_comboRight;
    const int codePage = OpenCodePage(side);
    if (codePage < 0) {
        m_nShownRow[side] = combo->currentIndex();
        return;
    }
    // The pane keeps its bytes and shows them as text of the new code page, in the font of
    // its script, which the worker lays the text out in.
    QFont font;
    const bool hasFont = FontForWritingSystem(WritingSystemForCodePage(codePage), font);
    if (!Pane(side)->setCodePage(codePage, hasFont ? std::optional<QFont>(font) : std::nullopt)) {
        // Cancelled: the list shows again the code page the pane still shows.
        const QSignalBlocker quiet(combo);
        combo->setCurrentIndex(m_nShownRow[side]);
        return;
    }
    m_nShownRow[side] = combo->currentIndex();
    if (!hasFont)
        Dialogs().information(window(), LangText(IDS_NO_MATCHING_FONT));
}

void CMorvaneView2::OnConvertRight() {
    Convert(kLeft, kRight);
}

void CMorvaneView2::OnConvertLeft() {
    Convert(kRight, kLeft);
}

void CMorvaneView2::Convert(Side from, Side to) {
    const int source = OpenCodePage(from);
    const int target = OpenCodePage(to);
    if (source < 0 || target < 0)
        return;
    Conversion conversion;
    conversion.fromCodePage = source;
    conversion.toCodePage = target;
    // The same code page on both sides copies the bytes exactly.
    ConvertPane(from, to, source != target ? &conversion : nullptr);
}

} // namespace morvane
