// Draws the toolbar strip (six 20x20 images) into a PNG file; the program icon lives in packaging/icons.
// The PNG is committed; run this only to change it:
//   cmake --build build --target morvane_draw_images
//   QT_QPA_PLATFORM=offscreen build/res/morvane_draw_images res
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

const QColor kNavy(0, 0, 128);
const QColor kDarkRed(128, 0, 0);
const QColor kGreen(0, 128, 0);
const QColor kBlue(0, 0, 255);
const QColor kMagenta(255, 0, 255);
const QColor kYellow(255, 255, 0);

QFont CjkFont(int pixels, bool bold = false) {
    QFont font(QStringLiteral("Noto Sans CJK TC"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void Text(QPainter& p, const QRect& box, const QString& text, const QFont& font, QColor color) {
    p.setFont(font);
    p.setPen(color);
    p.drawText(box, Qt::AlignCenter, text);
}

// 1: a closed book with a question mark.
void DrawBook(QPainter& p) {
    p.setPen(Qt::black);
    p.setBrush(kDarkRed);
    p.drawRect(4, 2, 12, 15);
    p.setBrush(Qt::white);
    p.drawRect(5, 17, 11, 1);       // the pages' edge under the cover
    p.fillRect(4, 2, 2, 16, kNavy); // the spine
    QFont font;
    font.setPixelSize(12);
    font.setBold(true);
    Text(p, QRect(6, 2, 10, 15), QStringLiteral("?"), font, Qt::white);
}

// 2: two stacked dark blue boxes, black dashes in the upper, red dashes in the lower.
void DrawCodeBoxes(QPainter& p) {
    for (int box = 0; box < 2; ++box) {
        const int top = 1 + box * 10;
        p.setPen(QPen(kNavy, 1));
        p.setBrush(Qt::white);
        p.drawRect(2, top, 15, 8);
        p.setPen(QPen(box == 0 ? Qt::black : Qt::red, 1, Qt::CustomDashLine));
        QPen dashes = p.pen();
        dashes.setDashPattern({2, 1});
        p.setPen(dashes);
        p.drawLine(4, top + 3, 15, top + 3);
        p.drawLine(4, top + 5, 12, top + 5);
    }
}

// 3: the Traditional character for "complex" in black.
void DrawTraditional(QPainter& p) {
    Text(p, QRect(0, 0, 20, 20), QString::fromUtf8("繁"), CjkFont(18, true), Qt::black);
}

// 4: GBK in green above a dark red double-headed arrow.
void DrawGbk(QPainter& p) {
    QFont font;
    font.setPixelSize(10);
    font.setBold(true);
    font.setStretch(QFont::Condensed);
    Text(p, QRect(0, 0, 20, 11), QStringLiteral("GBK"), font, kGreen);
    p.setPen(QPen(kDarkRed, 2));
    p.drawLine(3, 15, 16, 15);
    p.setPen(Qt::NoPen);
    p.setBrush(kDarkRed);
    p.drawPolygon(QPolygon({QPoint(1, 15), QPoint(5, 11), QPoint(5, 19)}));
    p.drawPolygon(QPolygon({QPoint(18, 15), QPoint(14, 11), QPoint(14, 19)}));
}

// 5: the same character in blue inside a magenta square.
void DrawSetting(QPainter& p) {
    p.setPen(QPen(kMagenta, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(1, 1, 18, 18);
    Text(p, QRect(2, 2, 16, 16), QString::fromUtf8("繁"), CjkFont(14, true), kBlue);
}

// 6: a yellow question mark, outlined so it shows on light toolbars.
void DrawQuestion(QPainter& p) {
    QFont font;
    font.setPixelSize(19);
    font.setBold(true);
    QPainterPath path;
    path.addText(0, 0, font, QStringLiteral("?"));
    const QRectF bounds = path.boundingRect();
    path.translate(10 - bounds.center().x(), 10 - bounds.center().y());
    p.setPen(QPen(QColor(96, 80, 0), 1.2));
    p.setBrush(kYellow);
    p.drawPath(path);
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");

    // Transparent rather than the classic light grey: Qt draws toolbar icons as they are.
    QImage strip(120, 20, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    void (*const draw[6])(QPainter&) = {DrawBook, DrawCodeBoxes, DrawTraditional,
                                        DrawGbk,  DrawSetting,   DrawQuestion};
    for (int i = 0; i < 6; ++i) {
        QPainter p(&strip);
        p.setRenderHint(QPainter::Antialiasing, i == 2 || i == 4 || i == 5);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.translate(20 * i, 0);
        p.setClipRect(0, 0, 20, 20);
        draw[i](p);
    }
    bool ok = strip.save(folder + QStringLiteral("/toolbar.png"));
    std::fputs(ok ? "images written\n" : "cannot write the images\n", ok ? stdout : stderr);
    return ok ? 0 : 1;
}
