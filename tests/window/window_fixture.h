// Shared pieces of the window tests: a private config folder with a small glossary, and
// dialogs that answer as the test says.
#pragma once

#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <deque>
#include <string>

#include "views/dialog_seam.h"

namespace morvane::test {

// Points XDG_CONFIG_HOME at a fresh temporary folder for its lifetime: settings and the
// user's glossary start absent, and MORVANE_DATA_DIR at an empty folder, so no shipped
// glossary is found either. The glossary in memory is emptied on entry and exit.
class CConfigSandbox {
  public:
    CConfigSandbox();
    ~CConfigSandbox();

    QString Path(const QString& name) const { return m_dir.filePath(name); }
    // The folder a shipped glossary is looked for in.
    QString DataDir() const { return Path(QStringLiteral("shipped")); }
    // Writes GB-BIG5.txt from UTF-8 lines (stored as GBK, CR LF) and reloads the glossary.
    void WriteGlossary(const QStringList& utf8Lines);

  private:
    QTemporaryDir m_dir;
    QByteArray m_oldConfigHome;
    QByteArray m_oldDataDir;
};

// The pairs most tests use: one for each direction of the word-level difference.
QStringList SmallGlossary();

// Answers file dialogs and questions from queues and records every message.
class CFakeDialogs final : public CDialogSeam {
  public:
    CFakeDialogs();
    ~CFakeDialogs() override;

    QString openFile(QWidget* parent, const QString& filter) override;
    QString saveFile(QWidget* parent, const QString& filter, const QString& defaultSuffix) override;
    bool question(QWidget* parent, const QString& text) override;
    void warning(QWidget* parent, const QString& text) override;
    void information(QWidget* parent, const QString& text) override;
    bool openUrl(const QUrl& url) override;
    // Shown at once; records the shares it is given and cancels when cancelProgress says.
    std::unique_ptr<CProgress> progress(QWidget* parent) override;

    std::deque<QString> openAnswers; // empty string: Cancel
    std::deque<QString> saveAnswers;
    std::deque<bool> questionAnswers; // default No
    int openDialogs = 0;
    int saveDialogs = 0;
    QString lastFilter;
    QString lastSuffix;
    QStringList questions;
    QStringList warnings;
    QStringList informations;
    QList<QUrl> urls;
    bool cancelProgress = false;
    int progressDialogs = 0; // made so far
    int progressOpen = 0;    // made and not yet closed
    QList<double> progressShares;
};

// Bytes of a file, and a file made of bytes.
std::string ReadFile(const QString& path);
void WriteFile(const QString& path, const std::string& bytes);

// Bytes as readable hex, for comparisons that print well.
QString Shown(const std::string& bytes);

} // namespace morvane::test
