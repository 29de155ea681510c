// SPDX-License-Identifier: GPL-3.0-or-later
// The baseline of the command line's start-up: the least a Qt program does to
// write a picture without a screen, a QGuiApplication on the offscreen
// platform that writes a blank 1280 x 800 PNG to the file it is given.

#include <QGuiApplication>
#include <QImage>

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        return 2;
    }
    QImage image(1280, 800, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
