// The reference for `tarvel beacon --version`: a program that links Qt Core only and prints one line.
#include <QString>
#include <cstdio>

int main() {
    const QString text = QStringLiteral("hello 1.0\n");
    std::fputs(text.toUtf8().constData(), stdout);
    return 0;
}
