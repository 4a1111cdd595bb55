// The floor for start-up: one widget of every kind the window has, in the window's font and palette and at the
// place of the first of its kind, without pictures, glyphs or icon. What the window costs beyond this is its own.
#include "Startup.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextEdit>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    // The font as the window chooses it.
    QFont font(QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif")) ? QStringLiteral("MS Sans Serif")
                                                                         : QStringLiteral("Liberation Sans"));
    font.setPointSize(8);
    window.setFont(font);
    window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint);
    window.setWindowTitle(QStringLiteral("Quarn"));
    window.setFixedSize(800, 799);
    window.move(300, 118);
    QPalette face = window.palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    window.setPalette(face);
    window.setAutoFillBackground(true);

    auto* tabs = new QTabWidget(&window);
    tabs->setGeometry(7, 7, 786, 786);
    auto* page = new QWidget;
    tabs->addTab(page, QStringLiteral("Quarn"));
    (new QLabel(QStringLiteral("Klartext: (max. 100 Zeichen)"), page))->setGeometry(7, 7, 132, 13);
    (new QLineEdit(page))->setGeometry(8, 24, 649, 21);
    (new QGroupBox(QStringLiteral("Text Modus"), page))->setGeometry(7, 56, 346, 73);
    auto* radio = new QRadioButton(QStringLiteral("Kodieren"), page);
    radio->setGeometry(23, 79, 92, 13);
    radio->setChecked(true);
    (new QPushButton(QStringLiteral("Kodieren"), page))->setGeometry(160, 88, 153, 25);
    auto* field = new QTextEdit(page);
    field->setGeometry(8, 161, 361, 112);
    field->setReadOnly(true);
    (new QMenu(&window))->addAction(QStringLiteral("Kopieren"));

    quarn::quitAfterFirstPaint(&window);
    window.show();
    return QApplication::exec();
}
