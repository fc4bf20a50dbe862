// Every file dialog, message box and shell request of the window goes through here, so
// tests can answer them instead of a person.
#pragma once

#include <QString>

#include <memory>

class QUrl;
class QWidget;

namespace morvane {

// The progress of work the window waits on while a worker thread does it.
class CProgress {
  public:
    virtual ~CProgress() = default;
    // share: how much is done, 0 to 1.
    virtual void setShare(double share) = 0;
    // The person asked to stop.
    virtual bool canceled() const = 0;
    // On screen and holding the window's input, so input may be dispatched again.
    virtual bool shown() const = 0;
};

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
    // A modal progress dialog with Cancel that appears only when the work lasts over half a
    // second; it closes when the result is destroyed.
    virtual std::unique_ptr<CProgress> progress(QWidget* parent);
};

// The seam in use: the real dialogs unless a test has put its own.
CDialogSeam& Dialogs();
// Puts a seam in place (null restores the real dialogs); the caller keeps ownership.
void SetDialogs(CDialogSeam* seam);

} // namespace morvane
