// The reference for the start-up benchmark: the least a Qt Widgets program does to put a window on screen.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Hello"));
    window.setWindowTitle(QStringLiteral("Hello"));
    window.resize(332, 170);
    window.show();
    return QApplication::exec();
}
