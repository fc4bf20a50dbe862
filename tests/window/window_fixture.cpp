// The sandbox and the fake dialogs.
#include "window_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "engine/glossary.h"
#include "tests/test_text.h"

namespace morvane::test {

namespace {

void RestoreEnv(const char* name, const QByteArray& old) {
    if (old.isNull())
        qunsetenv(name);
    else
        qputenv(name, old);
}

class CFakeProgress final : public CProgress {
  public:
    explicit CFakeProgress(CFakeDialogs& owner) : m_owner(owner) {
        ++m_owner.progressDialogs;
        ++m_owner.progressOpen;
    }
    ~CFakeProgress() override { --m_owner.progressOpen; }

    void setShare(double share) override { m_owner.progressShares << share; }
    bool canceled() const override { return m_owner.cancelProgress; }
    bool shown() const override { return true; }

  private:
    CFakeDialogs& m_owner;
};

} // namespace

CConfigSandbox::CConfigSandbox()
    : m_oldConfigHome(qgetenv("XDG_CONFIG_HOME")), m_oldDataDir(qgetenv("MORVANE_DATA_DIR")) {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
    QDir().mkpath(DataDir());
    qputenv("MORVANE_DATA_DIR", QFile::encodeName(DataDir()));
    g_glossary.Clear();
}

CConfigSandbox::~CConfigSandbox() {
    g_glossary.Clear();
    RestoreEnv("XDG_CONFIG_HOME", m_oldConfigHome);
    RestoreEnv("MORVANE_DATA_DIR", m_oldDataDir);
}

void CConfigSandbox::WriteGlossary(const QStringList& utf8Lines) {
    std::string bytes;
    for (const QString& line : utf8Lines)
        bytes += Gbk(line.toStdString()) + "\r\n";
    const QString path = QString::fromStdString(GlossaryPath());
    QDir().mkpath(QFileInfo(path).absolutePath());
    WriteFile(path, bytes);
    g_glossary.Clear();
    g_glossary.Load();
}

QStringList SmallGlossary() {
    return {QStringLiteral("[words]"), QStringLiteral("软件<>軟體"), QStringLiteral("程序<>程式")};
}

CFakeDialogs::CFakeDialogs() {
    SetDialogs(this);
}

CFakeDialogs::~CFakeDialogs() {
    SetDialogs(nullptr);
}

QString CFakeDialogs::openFile(QWidget*, const QString& filter) {
    ++openDialogs;
    lastFilter = filter;
    if (openAnswers.empty())
        return QString();
    const QString answer = openAnswers.front();
    openAnswers.pop_front();
    return answer;
}

QString CFakeDialogs::saveFile(QWidget*, const QString& filter, const QString& defaultSuffix) {
    ++saveDialogs;
    lastFilter = filter;
    lastSuffix = defaultSuffix;
    if (saveAnswers.empty())
        return QString();
    const QString answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

bool CFakeDialogs::question(QWidget*, const QString& text) {
    questions << text;
    if (questionAnswers.empty())
        return false;
    const bool answer = questionAnswers.front();
    questionAnswers.pop_front();
    return answer;
}

void CFakeDialogs::warning(QWidget*, const QString& text) {
    warnings << text;
}

void CFakeDialogs::information(QWidget*, const QString& text) {
    informations << text;
}

bool CFakeDialogs::openUrl(const QUrl& url) {
    urls << url;
    return true;
}

std::unique_ptr<CProgress> CFakeDialogs::progress(QWidget*) {
    return std::make_unique<CFakeProgress>(*this);
}

std::string ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    const QByteArray data = file.readAll();
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

void WriteFile(const QString& path, const std::string& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

QString Shown(const std::string& bytes) {
    return QString::fromStdString(Hex(bytes));
}

} // namespace morvane::test
