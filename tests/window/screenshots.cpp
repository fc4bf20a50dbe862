// Takes the README's screenshots from the real main window: each view with sample text, and
// the About box. Run under a display (Xvfb):
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/tests/window/morvane_screenshots docs/screenshots
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>

#include <cstdio>

#include "frame/main_frame.h"
#include "frame/toolbar_images.h"
#include "lang/lang.h"
#include "tests/test_text.h"
#include "views/about_dlg.h"
#include "views/morvane_view2.h"
#include "views/text_pane.h"
#include "window_fixture.h"

using namespace morvane;
using namespace morvane::test;

namespace {

void Fill(CMainFrame& frame) {
    auto* translate = static_cast<CMorvaneView2*>(frame.View(2));
    translate->ComboLeft()->setCurrentIndex(2);  // GBK
    translate->ComboRight()->setCurrentIndex(1); // Shift-JIS
    translate->Pane(CTwoPaneView::kLeft)
        ->setBytes(Gbk("漢字は日本語と中文で共通です。\r\nカタカナもひらがなも。"));
    translate->OnConvertRight();

    auto* gbBig5 = static_cast<CTwoPaneView*>(frame.View(3));
    gbBig5->Pane(CTwoPaneView::kLeft)->setBytes(Gbk("这个软件把简体中文转换为繁体中文。"));
    gbBig5->OnConvertRight();

    auto* gbk = static_cast<CTwoPaneView*>(frame.View(5));
    gbk->Pane(CTwoPaneView::kLeft)->setBytes(Gbk("程序员在开发软件。"));
    gbk->OnConvertRight();
}

bool Save(QWidget* widget, const QString& file) {
    QApplication::processEvents();
    return widget->grab().save(file);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(AppIcon());
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);

    // A private config folder with a small glossary, so the user's own is never touched.
    CConfigSandbox sandbox;
    sandbox.WriteGlossary({QStringLiteral("[software]"), QStringLiteral("软件<>軟體"),
                           QStringLiteral("程序<>程式"), QStringLiteral("[more]"),
                           QStringLiteral("信息<>資訊"), QStringLiteral("网络<>網路")});
    g_nLanguage = kLangEnglish;

    QElapsedTimer clock;
    clock.start();
    CMainFrame frame;
    std::printf("main window built in %lld ms\n", static_cast<long long>(clock.elapsed()));
    frame.resize(760, 460);
    frame.show();
    Fill(frame);

    bool ok = true;
    const char* const names[5] = {"view1_explain", "view2_code_translate", "view3_gb_big5",
                                  "view4_glossary", "view5_gbk"};
    for (int n = 1; n <= 5; ++n) {
        frame.SwitchView(n);
        ok = Save(&frame, out + QStringLiteral("/%1.png").arg(QLatin1String(names[n - 1]))) && ok;
    }

    CAboutDlg about(&frame);
    about.show();
    ok = Save(&about, out + QStringLiteral("/about.png")) && ok;
    about.close();

    frame.SetLanguage(kLangTraditional);
    frame.SwitchView(3);
    ok = Save(&frame, out + QStringLiteral("/view3_gb_big5_traditional.png")) && ok;
    frame.SetLanguage(kLangEnglish);
    return ok ? 0 : 1;
}
