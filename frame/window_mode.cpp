// Window mode: the application object, Qt's translations, the glossary, the main frame.
#include "frame/window_mode.h"

#include <QApplication>

#include "engine/glossary.h"
#include "frame/main_frame.h"
#include "frame/qt_translation.h"
#include "frame/toolbar_images.h"
#include "frame/window_placement.h"
#include "lang/lang.h"
#include "views/morvane_view1.h"

namespace morvane {

int RunWindowMode(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(AppIcon());
    InstallQtTranslation(g_nLanguage);
    // A missing glossary file is an empty glossary; the glossary view reports a file
    // that exists but cannot be read.
    g_glossary.Load();

    CMainFrame frame;
    RestorePlacementAndShow(frame);
    frame.ExplainView()->CaretToStart();
    const int status = QApplication::exec();
    g_glossary.Clear();
    return status;
}

} // namespace morvane
