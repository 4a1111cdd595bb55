// The yardstick for start-up: an empty Qt window, built the same way, gone after its first paint.
#include "Startup.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.resize(800, 799);
    quarn::quitAfterFirstPaint(&window);
    window.show();
    return QApplication::exec();
}
