// Two-pane views: controls in the order of their tab chain, placed by the two-pane layout.
#include "views/two_pane_view.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include <optional>

#include "engine/conversion.h"
#include "engine/glossary.h"
#include "lang/string_ids.h"
#include "settings/settings_store.h"
#include "views/form_layout.h"
#include "views/pane_files.h"
#include "views/progress_run.h"
#include "views/text_pane.h"
#include "views/ui_text.h"

namespace morvane {

namespace {

QPushButton* MakeButton(const char* id, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(id));
    button->setAutoDefault(false);
    return button;
}

} // namespace

QLabel* MakeCaption(const char* id, QWidget* parent) {
    auto* caption = new QLabel(parent);
    caption->setObjectName(QLatin1String(id));
    caption->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    // One line of text inside the edge; the layout keeps this height.
    caption->resize(caption->width(),
                    caption->fontMetrics().height() + 2 * caption->frameWidth() + 2);
    return caption;
}

CTwoPaneView::CTwoPaneView(QWidget* topLeft, QWidget* topRight, int leftCodePage, int rightCodePage,
                           QWidget* parent)
    : CMorvaneViewBase(parent), m_pTop{topLeft, topRight} {
    for (QWidget* top : m_pTop) {
        top->setParent(this);
        // The layout keeps a top-row control's height: a list starts at its natural
        // height, a caption at the one it was made with.
        if (top->height() <= 0 || !top->inherits("QLabel"))
            top->resize(top->width(), top->sizeHint().height());
    }
    m_pPane[kLeft] = new CTextPane(leftCodePage, this);
    m_pPane[kLeft]->setObjectName(QStringLiteral("1002"));
    m_pOpen[kLeft] = MakeButton("1010", QString(), this);
    m_pSave[kLeft] = MakeButton("1011", QString(), this);
    m_pPane[kRight] = new CTextPane(rightCodePage, this);
    m_pPane[kRight]->setObjectName(QStringLiteral("1004"));
    m_pOpen[kRight] = MakeButton("1014", QString(), this);
    m_pSave[kRight] = MakeButton("1015", QString(), this);
    m_pToRight = MakeButton("1009", QStringLiteral(">>"), this);
    m_pToLeft = MakeButton("1013", QStringLiteral("<<"), this);

    connect(m_pToRight, &QPushButton::clicked, this, [this] { OnConvertRight(); });
    connect(m_pToLeft, &QPushButton::clicked, this, [this] { OnConvertLeft(); });
    for (Side side : {kLeft, kRight}) {
        connect(m_pOpen[side], &QPushButton::clicked, this, [this, side] { OnOpen(side); });
        connect(m_pSave[side], &QPushButton::clicked, this, [this, side] { OnSave(side); });
        connect(m_pPane[side], &CTextPane::fileDropped, this,
                [this, side](const QString& path) { onFileDropped(side, path); });
    }
    // Focus given to the view goes to its first pane.
    setFocusProxy(m_pPane[kLeft]);
    Relabel();
}

void CTwoPaneView::Relabel() {
    for (Side side : {kLeft, kRight}) {
        m_pOpen[side]->setText(LangText(IDS_OPEN_FILE));
        m_pSave[side]->setText(LangText(IDS_SAVE_AS));
    }
}

void CTwoPaneView::OnSelectAll() {
    QWidget* focus = QApplication::focusWidget();
    for (CTextPane* pane : m_pPane) {
        if (focus == pane)
            pane->selectAll();
    }
}

void CTwoPaneView::OnOpen(Side side) {
    const int codePage = OpenCodePage(side);
    if (codePage >= 0)
        LoadPaneFile(m_pPane[side], codePage);
}

void CTwoPaneView::OnSave(Side side) {
    SavePaneFile(m_pPane[side]);
}

int CTwoPaneView::OpenCodePage(Side side) const {
    return m_pPane[side]->codePage();
}

void CTwoPaneView::ConvertPane(Side from, Side to, const Conversion* conversion) {
    // Everything the worker touches is its own copy; the panes stay on the GUI thread.
    const CPaneSource source = m_pPane[from]->source();
    const int codePage = m_pPane[to]->codePage();
    const CPaneLayout layout = PaneLayoutOf(m_pPane[to]);
    const std::optional<Conversion> steps =
        conversion != nullptr ? std::optional<Conversion>(*conversion) : std::nullopt;
    Bytes text;
    CPaneText shown;
    const bool done = RunWithProgress(window(), [&](const ProgressReport& report) {
        // An edited source is encoded first, quickly beside the rest; then the conversion
        // fills half of what is left of the bar, the text and document for the pane the rest.
        const double encoded = source.edited ? 0.1 : 0.0;
        const auto part = [&](double start, double size) {
            return [&report, start, size](double share) { return report(start + share * size); };
        };
        if (!MakePaneBytes(source, text, part(0.0, encoded)))
            return false;
        const double converted = steps ? encoded + (1.0 - encoded) / 2 : encoded;
        if (steps && !ConvertWithProgress(text, *steps, part(encoded, converted - encoded)))
            return false;
        return MakePaneContent(text, codePage, layout, shown, part(converted, 1.0 - converted));
    });
    if (done)
        m_pPane[to]->setBytes(text, std::move(shown));
}

void CTwoPaneView::ConvertChinese(Side from, Side to, ConversionKind kind) {
    Conversion conversion;
    conversion.kind = kind;
    conversion.glossary = ReadGlossarySwitch() ? &g_glossary : nullptr;
    // Towards Simplified the views apply the glossary after the mapping.
    conversion.glossaryFirst = false;
    ConvertPane(from, to, &conversion);
}

void CTwoPaneView::onFileDropped(Side side, const QString& path) {
    const int codePage = OpenCodePage(side);
    if (codePage >= 0)
        LoadFileIntoPane(m_pPane[side], codePage, path);
}

void CTwoPaneView::resizeEvent(QResizeEvent* event) {
    CMorvaneViewBase::resizeEvent(event);
    layoutControls();
}

void CTwoPaneView::layoutControls() {
    const TwoPaneRects r =
        ComputeTwoPaneLayout(width(), height(), m_pTop[kLeft]->height(), m_pTop[kRight]->height());
    m_pTop[kLeft]->setGeometry(r.topLeft);
    m_pPane[kLeft]->setGeometry(r.leftPane);
    m_pToRight->setGeometry(r.toRight);
    m_pToLeft->setGeometry(r.toLeft);
    m_pTop[kRight]->setGeometry(r.topRight);
    m_pPane[kRight]->setGeometry(r.rightPane);
    m_pOpen[kLeft]->setGeometry(r.openLeft);
    m_pSave[kLeft]->setGeometry(r.saveLeft);
    m_pOpen[kRight]->setGeometry(r.openRight);
    m_pSave[kRight]->setGeometry(r.saveRight);
}

} // namespace morvane
