// Draws the main window's title picture (593 x 345) and writes it as a JPEG.
// The output is committed as resources/images/main.jpg, so the application build never
// needs this program. To draw it again:
//   g++ -std=c++17 -fPIC titlepicture.cpp -o titlepicture $(pkg-config --cflags --libs Qt6Gui)
//   QT_QPA_PLATFORM=offscreen ./titlepicture ../../resources/images/main.jpg
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("main.jpg");
    QImage image(593, 345, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, 345);
    sky.setColorAt(0, QColor(24, 54, 96));
    sky.setColorAt(1, QColor(120, 160, 190));
    p.fillRect(image.rect(), sky);

    // A stack of tiles and boards: the trade in building materials.
    QRandomGenerator rng(20240517);
    for (int row = 0; row < 6; ++row) {
        for (int col = 0; col < 14; ++col) {
            const int x = col * 44 - (row % 2) * 22;
            const int y = 200 + row * 24;
            const int shade = 150 + int(rng.bounded(80));
            p.setPen(QColor(60, 50, 40));
            p.setBrush(QColor(shade, shade - 30, shade - 70));
            p.drawRect(x, y, 42, 22);
        }
    }
    // Grain so the picture is a photograph-like JPEG rather than flat colour.
    for (int i = 0; i < 9000; ++i) {
        const int x = int(rng.bounded(593));
        const int y = int(rng.bounded(345));
        const int v = int(rng.bounded(60));
        p.setPen(QColor(255, 255, 255, v));
        p.drawPoint(x, y);
    }

    QFont title(QStringLiteral("Noto Sans CJK TC"), 40, QFont::Bold);
    p.setFont(title);
    QPainterPath path;
    path.addText(60, 110, title, QStringLiteral("進銷存管理系統"));
    p.setPen(QPen(QColor(10, 20, 40), 4));
    p.drawPath(path);
    p.fillPath(path, QColor(250, 236, 190));

    QFont sub(QStringLiteral("Noto Sans CJK TC"), 16);
    p.setFont(sub);
    p.setPen(QColor(235, 240, 250));
    p.drawText(QRect(0, 130, 593, 40), Qt::AlignHCenter, QStringLiteral("室內裝潢・建材 進貨 銷貨 存貨"));
    p.end();
    return image.save(out, "JPEG", 85) ? 0 : 1;
}
