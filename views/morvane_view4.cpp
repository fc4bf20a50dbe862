// The glossary settings view. The editor holds the whole file, so Save never drops lines,
// and Save replaces the file atomically in the user's config folder.
#include "views/morvane_view4.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

#include "engine/codepage.h"
#include "engine/glossary.h"
#include "engine/glossary_location.h"
#include "lang/string_ids.h"
#include "settings/settings_store.h"
#include "views/dialog_seam.h"
#include "views/file_io.h"
#include "views/form_layout.h"
#include "views/pane_font.h"
#include "views/text_pane.h"
#include "views/two_pane_view.h"
#include "views/ui_text.h"

namespace morvane {

namespace {

QString GlossaryFile() {
    return QString::fromStdString(GlossaryPath());
}

} // namespace

CMorvaneView4::CMorvaneView4(QWidget* parent) : CMorvaneViewBase(parent) {
    m_pCheck = new QCheckBox(this);
    m_pCheck->setObjectName(QStringLiteral("1023"));
    m_pSave = new QPushButton(this);
    m_pSave->setObjectName(QStringLiteral("1022"));
    m_pSave->setDefault(true);
    m_pSave->setEnabled(false);
    m_pCaption = MakeCaption("1021", this);
    m_pEditor = new CTextPane(kCodePageGbk, this);
    m_pEditor->setObjectName(QStringLiteral("1002"));
    SetPaneFontReportOnce(m_pEditor, kCodePageGbk);

    connect(m_pCheck, &QCheckBox::clicked, this, [this] { OnUseGlossary(); });
    connect(m_pSave, &QPushButton::clicked, this, [this] { OnSaveGlossary(); });
    connect(m_pEditor, &CTextPane::edited, this, [this] { OnGlossaryTextChange(); });
    setFocusProxy(m_pEditor);
    Relabel();
}

void CMorvaneView4::OnInitialUpdate() {
    m_bUseGlossary = ReadGlossarySwitch();
    m_pCheck->setChecked(m_bUseGlossary);

    // The glossary the conversions use: the user's, or until there is one the shipped one,
    // which Save then copies into the user's file with the edits.
    const QString path = QString::fromStdString(GlossaryReadPath());
    if (QFileInfo::exists(path)) {
        Bytes bytes;
        QString reason;
        // A device or FIFO in its place could feed the editor without end.
        if (!QFileInfo(path).isFile() && !QFileInfo(path).isDir())
            reason = QStringLiteral("not a regular file");
        if (reason.isEmpty() && ReadFileBytes(path, bytes, reason))
            m_pEditor->setBytes(bytes);
        else
            Dialogs().warning(window(), ReadErrorText(path, reason));
    }
    m_bModified = false;
    m_pSave->setEnabled(false);
}

void CMorvaneView4::Relabel() {
    m_pCaption->setText(LangText(IDS_LABEL_GLOSSARY));
    m_pCheck->setText(LangText(IDS_USE_GLOSSARY));
    m_pSave->setText(LangText(IDS_GLOSSARY_SAVE));
}

void CMorvaneView4::OnSelectAll() {
    if (QApplication::focusWidget() == m_pEditor)
        m_pEditor->selectAll();
}

void CMorvaneView4::OnUseGlossary() {
    m_bUseGlossary = m_pCheck->isChecked();
    WriteSettingInt32("GBTAB", m_bUseGlossary ? 1 : 0);
}

void CMorvaneView4::OnGlossaryTextChange() {
    if (m_bModified)
        return;
    m_bModified = true;
    m_pSave->setEnabled(true);
}

void CMorvaneView4::OnSaveGlossary() {
    const QString path = GlossaryFile();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QString reason;
    const bool saved = WriteFileAtomically(path, m_pEditor->bytes(), reason);
    // The file on disk is what the conversions use, saved or not.
    g_glossary.Clear();
    g_glossary.Load();
    if (!saved) {
        // Save stays available: the text in the editor is not on disk.
        Dialogs().warning(window(), SaveErrorText(path, reason));
        return;
    }
    m_bModified = false;
    m_pSave->setEnabled(false);
}

void CMorvaneView4::resizeEvent(QResizeEvent* event) {
    CMorvaneViewBase::resizeEvent(event);
    const OnePaneRects r = ComputeOnePaneLayout(width(), height(), m_pCaption->height());
    m_pCaption->setGeometry(r.caption);
    m_pEditor->setGeometry(r.pane);
    m_pCheck->setGeometry(r.check);
    m_pSave->setGeometry(r.save);
}

} // namespace morvane
