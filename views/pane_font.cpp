// Choosing pane fonts from the font database's writing systems.
#include "views/pane_font.h"

#include <QHash>
#include <QWidget>

#include "lang/string_ids.h"
#include "views/dialog_seam.h"
#include "views/ui_text.h"

namespace morvane {

namespace {

// The suffix of the CJK families (Noto Sans CJK SC, ...) drawn in the script's own forms.
QString RegionalSuffix(QFontDatabase::WritingSystem system) {
    switch (system) {
    case QFontDatabase::SimplifiedChinese:
        return QStringLiteral(" SC");
    case QFontDatabase::TraditionalChinese:
        return QStringLiteral(" TC");
    case QFontDatabase::Japanese:
        return QStringLiteral(" JP");
    case QFontDatabase::Korean:
        return QStringLiteral(" KR");
    default:
        return QString();
    }
}

// Prefers the script's regional CJK forms, then fixed pitch (the panes show plain text).
QString ChooseFamily(QFontDatabase::WritingSystem system) {
    const QStringList families = QFontDatabase::families(system);
    const QString suffix = RegionalSuffix(system);
    QString best;
    int bestScore = -1;
    for (const QString& family : families) {
        if (QFontDatabase::isPrivateFamily(family))
            continue;
        int score = 0;
        if (!suffix.isEmpty() && family.endsWith(suffix))
            score += 2;
        if (QFontDatabase::isFixedPitch(family))
            score += 1;
        if (score > bestScore) {
            best = family;
            bestScore = score;
        }
    }
    return best;
}

} // namespace

QFontDatabase::WritingSystem WritingSystemForCodePage(int codePage) {
    switch (codePage) {
    case 874:
        return QFontDatabase::Thai;
    case 932:
        return QFontDatabase::Japanese;
    case 936:
    case 54936:
        return QFontDatabase::SimplifiedChinese;
    case 949:
    case 1361:
        return QFontDatabase::Korean;
    case 950:
        return QFontDatabase::TraditionalChinese;
    case 1251:
        return QFontDatabase::Cyrillic;
    case 1253:
        return QFontDatabase::Greek;
    case 1255:
        return QFontDatabase::Hebrew;
    case 1256:
        return QFontDatabase::Arabic;
    case 1258:
        return QFontDatabase::Vietnamese;
    case 65001:
        return QFontDatabase::Any;
    default: // 1250, 1252, 1254, 1257: Latin alphabets
        return QFontDatabase::Latin;
    }
}

bool FontForWritingSystem(QFontDatabase::WritingSystem system, QFont& font) {
    // The font database answers slowly the first time; every pane asks the same few.
    static QHash<int, QString> chosen;
    auto it = chosen.find(system);
    if (it == chosen.end())
        it = chosen.insert(system, ChooseFamily(system));
    if (it->isEmpty())
        return false;
    font = QFont(*it);
    font.setPixelSize(16);
    return true;
}

bool SetFontForCodePage(QWidget* widget, int codePage) {
    QFont font;
    if (!FontForWritingSystem(WritingSystemForCodePage(codePage), font))
        return false;
    widget->setFont(font);
    return true;
}

void SetPaneFontReportOnce(QWidget* widget, int codePage) {
    static bool reported = false;
    if (!SetFontForCodePage(widget, codePage) && !reported) {
        reported = true;
        Dialogs().information(widget->window(), LangText(IDS_NO_MATCHING_FONT));
    }
}

} // namespace morvane
