// Menu relabelling: a walk over the actions of a menu and its sub-menus, last item first.
#include "frame/relabel_menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QString>
#include <QVariant>

#include "lang/lang.h"
#include "lang/string_ids.h"

namespace morvane {

namespace {

const char* const kCommandIdProperty = "morvaneCommandId";

// The text of a menu-table row in a given language, or null.
const char* MenuText(int language, std::uint32_t id) {
    const LangTable& table = g_menuTables[language];
    for (int i = 0; i < table.nCount; ++i) {
        if (table.pEntries[i].nID == id)
            return table.pEntries[i].pszText;
    }
    return nullptr;
}

// A pop-up has no command id: its current label, in any of the three languages, says
// which row it is. Anything else (such as "Language") has no row and gives 0.
std::uint32_t PopupKey(const QString& label) {
    static const std::uint32_t kPopups[] = {IDS_MENU_FILE, IDS_MENU_VIEW, IDS_MENU_HELP};
    for (std::uint32_t popup : kPopups) {
        for (int language = 0; language < 3; ++language) {
            const char* text = MenuText(language, popup);
            if (text != nullptr && label == QString::fromUtf8(text))
                return popup;
        }
    }
    return 0;
}

void RelabelActions(const QList<QAction*>& actions) {
    for (qsizetype i = actions.size() - 1; i >= 0; --i) {
        QAction* action = actions[i];
        if (action->isSeparator())
            continue;
        if (QMenu* popup = action->menu()) {
            if (const char* text = GetLangMenuString(PopupKey(action->text())))
                action->setText(QString::fromUtf8(text));
            RelabelMenu(popup);
            continue;
        }
        if (const char* text = GetLangMenuString(CommandId(action)))
            action->setText(QString::fromUtf8(text));
    }
}

} // namespace

void SetCommandId(QAction* action, std::uint32_t id) {
    action->setProperty(kCommandIdProperty, QVariant::fromValue(id));
}

std::uint32_t CommandId(const QAction* action) {
    return action->property(kCommandIdProperty).value<std::uint32_t>();
}

void RelabelMenu(QMenuBar* menuBar) {
    if (menuBar != nullptr)
        RelabelActions(menuBar->actions());
}

void RelabelMenu(QMenu* menu) {
    if (menu != nullptr)
        RelabelActions(menu->actions());
}

} // namespace morvane
