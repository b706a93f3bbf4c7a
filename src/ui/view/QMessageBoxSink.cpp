#include "ui/view/QMessageBoxSink.h"

#include <QApplication>
#include <QMessageBox>

namespace tarvel::ui::view {

void QMessageBoxSink::show(const std::string& text) {
    QMessageBox box(QApplication::activeWindow());
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromStdString(text));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

} // namespace tarvel::ui::view
