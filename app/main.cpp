#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName("KW-9100");
    QMainWindow window;
    window.setWindowTitle("KW-9100");
    window.show();
    return app.exec();
}
