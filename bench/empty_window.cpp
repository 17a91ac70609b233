// The least a Qt window like the editor's costs: the same client size under a one-item menu bar,
// nothing in it. The cold start of the editor is measured beside this one.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Runeplot 1.1"));
    window.menuBar()->addAction(QStringLiteral("Открыть"));
    auto* client = new QWidget(&window);
    client->setFixedSize(777, 536);
    window.setCentralWidget(client);
    window.show();
    return app.exec();
}
