// Orbiscope entry point.
#include <QApplication>
#include <QMainWindow>
#include <clocale>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QMainWindow frame;
    frame.setWindowTitle("Orbiscope Pro");
    frame.resize(900, 600);
    frame.show();
    return app.exec();
}
