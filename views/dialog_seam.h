// Every file dialog, message box and shell request of the window goes through here, so
// tests can answer them instead of a person.
#pragma once

#include <QString>

class QUrl;
class QWidget;

namespace morvane {

class CDialogSeam {
  public:
    virtual ~CDialogSeam() = default;
    // The open-file dialog; the chosen existing file, or empty on Cancel.
    virtual QString openFile(QWidget* parent, const QString& filter) = 0;
    // The save-file dialog; the chosen path, or empty on Cancel. Asks no overwrite question.
    virtual QString saveFile(QWidget* parent, const QString& filter,
                             const QString& defaultSuffix) = 0;
    // A Yes/No question; true for Yes.
    virtual bool question(QWidget* parent, const QString& text) = 0;
    virtual void warning(QWidget* parent, const QString& text) = 0;
    virtual void information(QWidget* parent, const QString& text) = 0;
    // Hands an address to the desktop (browser, mail program).
    virtual bool openUrl(const QUrl& url) = 0;
};

// The seam in use: the real dialogs unless a test has put its own.
CDialogSeam& Dialogs();
// Puts a seam in place (null restores the real dialogs); the caller keeps ownership.
void SetDialogs(CDialogSeam* seam);

} // namespace morvane
