// The About box, laid out in a grid so that every language's texts fit.
#include "views/about_dlg.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

#include "lang/string_ids.h"
#include "views/dialog_seam.h"
#include "views/ui_text.h"

namespace morvane {

namespace {

QPushButton* MakeLinkButton(const char* id, std::uint32_t textId, QWidget* parent) {
    auto* button = new QPushButton(LangText(textId), parent);
    button->setObjectName(QLatin1String(id));
    button->setFlat(true);
    button->setAutoDefault(false);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(QStringLiteral("text-align: left; color: palette(link);"));
    return button;
}

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(LangText(IDS_ABOUT_CAPTION));

    auto* icon = new QLabel(this);
    icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    auto* version = new QLabel(LangText(IDS_ABOUT_VERSION), this);
    version->setObjectName(QStringLiteral("1016"));
    version->setTextFormat(Qt::PlainText);
    auto* copyright = new QLabel(LangText(IDS_ABOUT_COPYRIGHT), this);
    copyright->setObjectName(QStringLiteral("1017"));
    copyright->setTextFormat(Qt::PlainText);
    m_pHomePage = MakeLinkButton("1018", IDS_ABOUT_HOMEPAGE, this);
    m_pMail = MakeLinkButton("1019", IDS_ABOUT_MAIL, this);
    auto* ok = new QPushButton(LangText(IDS_OK), this);
    ok->setObjectName(QStringLiteral("1"));
    ok->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(16);
    grid->addWidget(icon, 0, 0, 4, 1);
    grid->addWidget(version, 0, 1);
    grid->addWidget(ok, 0, 2, Qt::AlignTop);
    grid->addWidget(copyright, 1, 1, 1, 2);
    grid->addWidget(m_pHomePage, 2, 1, 1, 2, Qt::AlignLeft);
    grid->addWidget(m_pMail, 3, 1, 1, 2, Qt::AlignLeft);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_pHomePage, &QPushButton::clicked, this, [this] { OnHomePage(); });
    connect(m_pMail, &QPushButton::clicked, this, [this] { OnMailTo(); });
    ok->setFocus();
}

void CAboutDlg::OnHomePage() {
    Dialogs().openUrl(QUrl(m_pHomePage->text()));
}

void CAboutDlg::OnMailTo() {
    Dialogs().openUrl(QUrl(QStringLiteral("mailto:") + m_pMail->text()));
}

void ShowAboutBox(QWidget* parent) {
    CAboutDlg dialog(parent);
    dialog.exec();
}

} // namespace morvane
