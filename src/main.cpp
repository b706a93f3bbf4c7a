#include "ui/Program.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tarvel");
    return tarvel::ui::runProgram();
}
