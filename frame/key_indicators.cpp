// Lock-key indicators. X11 tells the real state of the keyboard's lock indicators; other
// platforms (Wayland, offscreen) do not tell it to applications, so there the panes stay
// greyed: a greyed pane means "off or unknown", never a false "on".
#include "frame/key_indicators.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QStatusBar>

#include "lang/lang.h"
#include "lang/string_ids.h"

#ifdef MORVANE_HAVE_XKB
#include <QtGui/qguiapplication_platform.h>
#endif

namespace morvane {

namespace {

// Whether lock key i is on; false when the platform does not say.
bool LockKeyOn(int i);

} // namespace

CKeyIndicators::CKeyIndicators(QStatusBar* statusBar) : QObject(statusBar) {
    for (int i = 0; i < 3; ++i) {
        m_panes[i] = new QLabel(statusBar);
        m_panes[i]->setAlignment(Qt::AlignCenter);
        m_panes[i]->setObjectName(QString::number(ID_INDICATOR_CAPS + i));
        statusBar->addPermanentWidget(m_panes[i]);
    }
    Relabel();
    Refresh();
    qApp->installEventFilter(this);
}

void CKeyIndicators::Relabel() {
    for (int i = 0; i < 3; ++i) {
        const char* text = GetLangString(ID_INDICATOR_CAPS + static_cast<std::uint32_t>(i));
        m_panes[i]->setText(QString::fromUtf8(text ? text : ""));
    }
}

void CKeyIndicators::Refresh() {
    for (int i = 0; i < 3; ++i)
        m_panes[i]->setEnabled(LockKeyOn(i));
}

bool CKeyIndicators::eventFilter(QObject* watched, QEvent* event) {
    // Lock keys change on a key event of ours, or while another program has the focus.
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ApplicationActivate:
        Refresh();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace morvane

// X11 headers define None, Bool, Status... as macros: they come after every Qt header.
#ifdef MORVANE_HAVE_XKB
#include <X11/XKBlib.h>

namespace morvane {
namespace {

bool LockKeyOn(int i) {
    static const char* const kNames[3] = {"Caps Lock", "Num Lock", "Scroll Lock"};
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 ? x11->display() : nullptr;
    if (display == nullptr)
        return false;
    const Atom name = XInternAtom(display, kNames[i], True);
    int on = 0;
    if (name == 0 || !XkbGetNamedIndicator(display, name, nullptr, &on, nullptr, nullptr))
        return false;
    return on != 0;
}

} // namespace
} // namespace morvane
#else
namespace morvane {
namespace {
bool LockKeyOn(int) {
    return false;
}
} // namespace
} // namespace morvane
#endif
