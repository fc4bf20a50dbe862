// Interface texts for Qt widgets. The file messages are the window's own: the shared tables
// have no text that names a file and a reason.
#include "views/ui_text.h"

#include <QDir>

#include "lang/lang.h"

namespace morvane {

namespace {

const char* const kReadError[3] = {
    "Cannot read the file \"%1\":\n%2",
    "无法读取文件 \"%1\"：\n%2",
    "無法讀取檔案 \"%1\"：\n%2",
};

const char* const kSaveError[3] = {
    "Cannot save the file \"%1\":\n%2\nThe file was left as it was.",
    "无法保存文件 \"%1\"：\n%2\n原文件保持不变。",
    "無法儲存檔案 \"%1\"：\n%2\n原檔案保持不變。",
};

int Language() {
    return g_nLanguage >= 0 && g_nLanguage < 3 ? g_nLanguage : 0;
}

} // namespace

QString LangText(std::uint32_t id) {
    const char* text = GetLangString(id);
    return text ? QString::fromUtf8(text) : QString();
}

QString StatusPart(std::uint32_t id) {
    return LangText(id).section(QLatin1Char('\n'), 0, 0);
}

QString TipPart(std::uint32_t id) {
    return LangText(id).section(QLatin1Char('\n'), 1);
}

QString ReadErrorText(const QString& path, const QString& reason) {
    return QString::fromUtf8(kReadError[Language()]).arg(QDir::toNativeSeparators(path), reason);
}

QString SaveErrorText(const QString& path, const QString& reason) {
    return QString::fromUtf8(kSaveError[Language()]).arg(QDir::toNativeSeparators(path), reason);
}

} // namespace morvane
