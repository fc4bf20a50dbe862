// The real dialogs: Qt's file dialogs and message boxes, captioned with the program's name.
#include "views/dialog_seam.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QUrl>

#include "lang/lang.h"
#include "lang/string_ids.h"

namespace morvane {

namespace {

QString Caption() {
    const char* title = GetLangString(IDS_APP_TITLE);
    return QString::fromUtf8(title ? title : "Morvane");
}

class CQtProgress final : public CProgress {
  public:
    explicit CQtProgress(QWidget* parent) : m_dialog(parent) {
        m_dialog.setWindowTitle(Caption());
        // Application-wide: no other view (the glossary's Save among them) may act meanwhile.
        m_dialog.setWindowModality(Qt::ApplicationModal);
        m_dialog.setMinimumDuration(500);
        m_dialog.setAutoReset(false);
        m_dialog.setAutoClose(false);
        m_dialog.setRange(0, kSteps);
        m_dialog.setValue(0); // starts the clock that shows the dialog when the work lasts
    }

    void setShare(double share) override {
        m_dialog.setValue(static_cast<int>(share * kSteps + 0.5));
    }
    bool canceled() const override { return m_dialog.wasCanceled(); }
    bool shown() const override { return m_dialog.isVisible(); }

  private:
    static constexpr int kSteps = 1000;
    QProgressDialog m_dialog;
};

class CQtDialogs final : public CDialogSeam {
  public:
    QString openFile(QWidget* parent, const QString& filter) override {
        return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
    }

    QString saveFile(QWidget* parent, const QString& filter,
                     const QString& defaultSuffix) override {
        QFileDialog dialog(parent, QString(), QString(), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(defaultSuffix);
        // Our own question, in the interface language, replaces the dialog's.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    }

    bool question(QWidget* parent, const QString& text) override {
        return QMessageBox::question(parent, Caption(), text, QMessageBox::Yes | QMessageBox::No) ==
               QMessageBox::Yes;
    }

    void warning(QWidget* parent, const QString& text) override {
        QMessageBox::warning(parent, Caption(), text);
    }

    void information(QWidget* parent, const QString& text) override {
        QMessageBox::information(parent, Caption(), text);
    }

    bool openUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
};

} // namespace

std::unique_ptr<CProgress> CDialogSeam::progress(QWidget* parent) {
    return std::make_unique<CQtProgress>(parent);
}

namespace {

CDialogSeam*& Current() {
    static CDialogSeam* seam = nullptr;
    return seam;
}

} // namespace

CDialogSeam& Dialogs() {
    static CQtDialogs real;
    return Current() ? *Current() : real;
}

void SetDialogs(CDialogSeam* seam) {
    Current() = seam;
}

} // namespace morvane
