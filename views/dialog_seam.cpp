// The real dialogs: Qt's file dialogs and message boxes, captioned with the program's name.
#include "views/dialog_seam.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include "lang/lang.h"
#include "lang/string_ids.h"

namespace morvane {

namespace {

QString Caption() {
    const char* title = GetLangString(IDS_APP_TITLE);
    return QString::fromUtf8(title ? title : "Morvane");
}

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
