// The Explain view: one read-only text that fills the view.
#include "views/morvane_view1.h"

#include <QPlainTextEdit>
#include <QTextCursor>

#include "lang/lang.h"

namespace morvane {

CMorvaneView1::CMorvaneView1(QWidget* parent) : CMorvaneViewBase(parent) {
    m_pText = new QPlainTextEdit(this);
    m_pText->setObjectName(QStringLiteral("1002"));
    m_pText->setReadOnly(true);
    // Selectable and copyable; a visible caret shows where reading starts.
    m_pText->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFocusProxy(m_pText);
    Relabel();
}

void CMorvaneView1::Relabel() {
    const int language = g_nLanguage >= 0 && g_nLanguage < 3 ? g_nLanguage : 0;
    QString help = QString::fromUtf8(g_helpTexts[language]);
    help.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_pText->setPlainText(help);
    CaretToStart();
}

void CMorvaneView1::CaretToStart() {
    QTextCursor cursor = m_pText->textCursor();
    cursor.movePosition(QTextCursor::Start);
    m_pText->setTextCursor(cursor);
    m_pText->ensureCursorVisible();
}

void CMorvaneView1::resizeEvent(QResizeEvent* event) {
    CMorvaneViewBase::resizeEvent(event);
    m_pText->setGeometry(rect());
}

void CMorvaneView1::showEvent(QShowEvent* event) {
    CMorvaneViewBase::showEvent(event);
    CaretToStart();
}

} // namespace morvane
