#include "CodeDecoder.h"
#include "CodeEncoder.h"
#include "FormWidgets.h"
#include "GroupFormatter.h"
#include "MessageBoxes.h"
#include "TForm1.h"
#include "WindowFakes.h"
#include "WindowFit.h"
#include "WindowTestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QtTest>

using namespace quarn;

namespace {

QString repeated(const QString& unit, int times)
{
    QString s;
    for (int i = 0; i < times; ++i)
        s += unit;
    return s;
}

// Key presses carrying any character, umlauts included (QTest's own key clicks know ASCII only).
void typeText(QWidget* widget, const QString& text)
{
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &release);
    }
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private:
    test::WindowFakes m_fakes;
    std::unique_ptr<TForm1> m_form;
    const test::FormWidgets* ui() { return test::widgetsOf(*m_form); }

    QList<bool> resultButtonStates()
    {
        return {ui()->bt_OTPCrypt->isEnabled(), ui()->bt_OTPSave->isEnabled(), ui()->bt_OTPPrint->isEnabled(),
                ui()->bt_QuarnDecryptSave->isEnabled(), ui()->bt_QuarnDecryptPrint->isEnabled()};
    }

    // By the mouse: the press opens nothing, the release opens the menu. Returns the menus open after the press.
    QStringList openMenuOn(QWidget* field, QContextMenuEvent::Reason reason = QContextMenuEvent::Mouse)
    {
        auto* area = qobject_cast<QAbstractScrollArea*>(field);
        QWidget* target = area ? area->viewport() : field;
        QContextMenuEvent event(reason, QPoint(5, 5), target->mapToGlobal(QPoint(5, 5)));
        if (reason == QContextMenuEvent::Mouse) {
            // As X11 asks for the menu: on the press.
            QTest::mousePress(target, Qt::RightButton, {}, QPoint(5, 5));
            QApplication::sendEvent(target, &event);
            const QStringList afterPress = openMenus();
            QTest::mouseRelease(target, Qt::RightButton, {}, QPoint(5, 5));
            return afterPress;
        }
        QApplication::sendEvent(target, &event);
        return {};
    }

    static QStringList openMenus()
    {
        QStringList open;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QMenu*>(w) && w->isVisible())
                open << w->objectName();
        return open;
    }

    void closeMenus()
    {
        m_form->PMenue->hide();
        m_form->PMenue_K->hide();
    }

    // Kodieren, OTP erzeugen, Chiffrieren in encode direction; returns the cipher groups.
    QString encipher(const QString& text)
    {
        ui()->QuarnIn->setProgramText(text);
        ui()->bt_kodieren->click();
        ui()->bt_OTPkey->click();
        ui()->bt_OTPCrypt->click();
        return ui()->OTPCryptOut->fieldText();
    }

private slots:
    void init()
    {
        m_fakes = test::WindowFakes();
        m_form = std::make_unique<TForm1>(m_fakes.seams(std::make_shared<test::SequenceSource>()));
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }

    void cleanup()
    {
        closeMenus();
        m_form.reset();
        QCOMPARE(m_fakes.boxes->takeRecords().size(), 0);
    }

    void theWindowHasItsFixedFrame()
    {
        QCOMPARE(m_form->size(), QSize(800, 799));
        QCOMPARE(m_form->minimumSize(), m_form->maximumSize());
        QVERIFY(!(m_form->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(m_form->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(m_form->objectName(), QStringLiteral("Form1"));
        QVERIFY(!m_form->windowTitle().isEmpty());
        QCOMPARE(m_form->palette().color(QPalette::Window), m_form->palette().color(QPalette::Button));
        QCOMPARE(m_form->font().pointSize(), 8);
        // The icon start-up gives the application is built in, and the window shows it, not one of its own.
        for (const char* icon : {":/icons/quarn-16.png", ":/icons/quarn-32.png"})
            QVERIFY2(!QPixmap(QLatin1String(icon)).isNull(), icon);
        QCOMPARE(m_form->windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
    }

    void widgetsSitWhereTheLayoutPutsThem_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("caption");
        const QString page = QStringLiteral("QuarnSeite");
        const QString window = QStringLiteral("Form1");
        QTest::newRow("the page control fills the window") << "PageControl1" << window << QRect(7, 7, 786, 786) << "";
        QTest::newRow("the input field") << "QuarnIn" << page << QRect(8, 24, 649, 21) << "";
        QTest::newRow("the direction frame") << "RadioGroup7" << page << QRect(7, 56, 346, 73) << "Text Modus";
        QTest::newRow("the encode radio button") << "rb_QuarnCode" << page << QRect(23, 79, 92, 13) << "Kodieren";
        QTest::newRow("the decode radio button") << "rb_QuarnDecod" << page << QRect(25, 103, 92, 13) << "Dekodieren";
        QTest::newRow("the pad button") << "bt_OTPkey" << page << QRect(8, 296, 121, 25) << "OTP erzeugen";
        QTest::newRow("the cipher button") << "bt_OTPCrypt" << page << QRect(8, 496, 153, 25) << "Chiffrieren ";
        QTest::newRow("the pad save button") << "bt_OTPSave" << page << QRect(368, 360, 105, 25) << "OTP Speichern ";
        QTest::newRow("the pad load button") << "bt_OTPLoad" << page << QRect(368, 328, 105, 25) << "OTP Laden";
        QTest::newRow("the pad print button") << "bt_OTPPrint" << page << QRect(368, 392, 105, 25) << "OTP Drucken ";
        QTest::newRow("the pad field") << "OTPOut" << page << QRect(8, 328, 345, 153) << "";
        QTest::newRow("the cipher output") << "OTPCryptOut" << page << QRect(8, 528, 361, 225) << "";
        QTest::newRow("the groups field") << "fuenfergruppenOut" << page << QRect(8, 161, 361, 112) << "";
        QTest::newRow("the decoded text lies over the cipher output")
            << "QuarnDecrypt" << page << QRect(8, 528, 361, 227) << "";
        QTest::newRow("the main action button") << "bt_kodieren" << page << QRect(160, 88, 153, 25) << "Kodieren";
        QTest::newRow("the card") << "QuarnKarte" << page << QRect(376, 56, 385, 257) << "";
        QTest::newRow("the notes") << "QuarnKarte1" << page << QRect(504, 320, 265, 433) << "";
        QTest::newRow("the result print button")
            << "bt_QuarnDecryptPrint" << window << QRect(384, 584, 129, 25) << "Ausgabe Drucken ";
        QTest::newRow("the result save button")
            << "bt_QuarnDecryptSave" << window << QRect(384, 552, 129, 25) << "Ausgabe Speichern ";
        QTest::newRow("the text load button") << "bt_QuarnInLoad" << window << QRect(672, 51, 105, 25) << "Text Laden";
    }

    void widgetsSitWhereTheLayoutPutsThem()
    {
        QFETCH(QString, name);
        QFETCH(QString, parent);
        QFETCH(QRect, geometry);
        QFETCH(QString, caption);
        auto* widget = m_form->findChild<QWidget*>(name);
        QVERIFY2(widget, qPrintable(name));
        QCOMPARE(widget->parentWidget()->objectName(), parent);
        QCOMPARE(widget->geometry(), geometry);
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            QCOMPARE(button->text(), caption);
        if (auto* frame = qobject_cast<QGroupBox*>(widget))
            QCOMPARE(frame->title(), caption);
    }

    void theStateAtStartIsTheLayoutsOwn()
    {
        QVERIFY(ui()->rb_QuarnCode->isChecked());
        QVERIFY(!ui()->rb_QuarnDecod->isChecked());
        QCOMPARE(resultButtonStates(), (QList<bool>{false, false, false, false, false}));
        QVERIFY(ui()->bt_kodieren->isEnabled());
        QVERIFY(ui()->bt_OTPkey->isEnabled());
        QVERIFY(ui()->bt_OTPLoad->isEnabled());
        QVERIFY(ui()->bt_QuarnInLoad->isEnabled());
        QVERIFY(ui()->OTPCryptOut->isVisible());
        QVERIFY(!ui()->QuarnDecrypt->isVisible());
        QVERIFY(!ui()->Label2->isVisible() || ui()->Label2->parentWidget() == m_form.get());
        QCOMPARE(ui()->Label19->text(), QStringLiteral("Klartext: (max. 100 Zeichen)"));
        QCOMPARE(ui()->PageControl1->tabText(0), QStringLiteral("Quarn"));
        QCOMPARE(ui()->QuarnIn->inputLimit(), 100);
        for (ResultField* field : {ui()->fuenfergruppenOut, ui()->OTPOut, ui()->OTPCryptOut, ui()->QuarnDecrypt}) {
            QVERIFY(field->fieldText().isEmpty());
            QVERIFY(field->isReadOnly());
        }
        QVERIFY(ui()->QuarnIn->text().isEmpty());
        QVERIFY(!ui()->decodedShown());
    }

    void everyFieldAndButtonHasAGermanAccessibleName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("accessibleName");
        QTest::addColumn<int>("role");
        const auto row = [](const char* what, const char* name, const char* accessibleName, int role) {
            QTest::newRow(what) << QString(name) << QString::fromUtf8(accessibleName) << role;
        };
        const int text = QAccessible::EditableText;
        row("the window is a frame, named by its title", "Form1", "", QAccessible::Window);
        row("the input is named by its label", "QuarnIn", "Klartext: (max. 100 Zeichen)", text);
        row("the groups by theirs", "fuenfergruppenOut", "Code Ausgabe", text);
        row("the pad", "OTPOut", "OTP-Schlüssel", text);
        row("the cipher", "OTPCryptOut", "Chiffrat", text);
        row("the decoded text, not called Klartext like the input", "QuarnDecrypt", "Dechiffrierter Text", text);
        row("a button without its trailing blank", "bt_OTPCrypt", "Chiffrieren", QAccessible::Button);
        row("a radio button", "rb_QuarnDecod", "Dekodieren", QAccessible::RadioButton);
        row("a window button", "bt_QuarnDecryptSave", "Ausgabe Speichern", QAccessible::Button);
        row("the card", "QuarnKarte", "Quarn-Tafel", QAccessible::Graphic);
        row("the usage notes", "QuarnKarte1", "Gebrauchsregeln zur Quarn-Tafel", QAccessible::Graphic);
    }

    void everyFieldAndButtonHasAGermanAccessibleName()
    {
        QFETCH(QString, name);
        QFETCH(QString, accessibleName);
        QFETCH(int, role);
        const bool window = name == m_form->objectName();
        if (window)
            accessibleName = m_form->windowTitle();
        QObject* widget = window ? m_form.get() : m_form->findChild<QWidget*>(name);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Name), accessibleName);
        QCOMPARE(int(accessible->role()), role);
    }

    void theTreeHoldsNoHiddenLabelTiesLabelsToFieldsAndDescribesThePictures()
    {
        QList<QAccessibleInterface*> open{QAccessible::queryAccessibleInterface(m_form.get())};
        QStringList shown;
        while (!open.isEmpty()) {
            QAccessibleInterface* node = open.takeLast();
            if (node->object())
                shown << node->object()->objectName();
            for (int i = 0; i < node->childCount(); ++i)
                if (QAccessibleInterface* child = node->child(i))
                    open << child;
        }
        QVERIFY(shown.contains(QStringLiteral("Label19")));
        QVERIFY(!shown.contains(QStringLiteral("Label2")));
        const auto labelOf = [](QWidget* field) {
            const auto relations = QAccessible::queryAccessibleInterface(field)->relations(QAccessible::Label);
            return relations.isEmpty() ? nullptr : relations.first().first->object();
        };
        QCOMPARE(labelOf(ui()->QuarnIn), ui()->Label19);
        QCOMPARE(labelOf(ui()->fuenfergruppenOut), ui()->Label20);
        // The pictures in words: the code book tests that the card's text holds every cell.
        const auto description = [](QWidget* w) {
            return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Description);
        };
        QVERIFY(description(ui()->QuarnKarte).contains(QStringLiteral("Anführungszeichen 98")));
        QVERIFY(description(ui()->QuarnKarte1).contains(QStringLiteral("5. NZ (80, neue Zeile)")));
        // The worksheet lives in the result fields' menu: their hint names it.
        const QString menu = QStringLiteral("Rechte Maustaste oder Menütaste: „Kopieren“, „Arbeitsblatt drucken…“ und "
                                            "„Arbeitsblatt als PDF speichern…“");
        for (QWidget* field : {static_cast<QWidget*>(ui()->OTPCryptOut), static_cast<QWidget*>(ui()->QuarnDecrypt)})
            QCOMPARE((QStringList{field->toolTip(), description(field)}), (QStringList{menu, menu}));
    }

    void captionsAndTheLimitFollowTheDirection_data()
    {
        QTest::addColumn<bool>("decode");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("cipher");
        QTest::addColumn<QString>("load");
        QTest::addColumn<int>("limit");
        QTest::newRow("decode direction") << true << "Chiffriertext: (max. 500 Zeichen)"
                                          << "Dekodieren"
                                          << "Dechiffrieren"
                                          << "Crypt Laden" << 600;
        QTest::newRow("back to encode direction, the caption without its blank")
            << false << "Klartext: (max. 100 Zeichen)"
            << "Kodieren"
            << "Chiffrieren"
            << "Text Laden" << 100;
    }

    void captionsAndTheLimitFollowTheDirection()
    {
        QFETCH(bool, decode);
        QFETCH(QString, label);
        QFETCH(QString, action);
        QFETCH(QString, cipher);
        QFETCH(QString, load);
        QFETCH(int, limit);
        ui()->rb_QuarnDecod->click();
        if (!decode)
            ui()->rb_QuarnCode->click();
        QCOMPARE(ui()->Label19->text(), label);
        QCOMPARE(QAccessible::queryAccessibleInterface(ui()->QuarnIn)->text(QAccessible::Name), label);
        QVERIFY(ui()->Label19->width() >= ui()->Label19->sizeHint().width());
        QCOMPARE(ui()->bt_kodieren->text(), action);
        QCOMPARE(ui()->bt_OTPCrypt->text(), cipher);
        QCOMPARE(ui()->bt_QuarnInLoad->text(), load);
        QCOMPARE(ui()->QuarnIn->inputLimit(), limit);
    }

    // Events: k = Kodieren with input, e = Kodieren with empty input, p = OTP erzeugen, c = Chiffrieren,
    // d = choose decode direction, D = Dekodieren of two groups, t = a letter typed into the input, l = the same
    // text loaded again. `filled`: the groups and the cipher output hold something.
    void buttonsAreEnabledEventByEvent_data()
    {
        QTest::addColumn<QString>("events");
        QTest::addColumn<QList<bool>>("enabled");
        QTest::addColumn<QList<bool>>("filled");
        QTest::addColumn<QString>("hint");
        using L = QList<bool>;
        const QString first = QStringLiteral("Zuerst Kodieren drücken: es macht aus dem Klartext die Fünfergruppen zum "
                                             "Chiffrieren.");
        const QString changed =
            QStringLiteral("Zuerst Kodieren drücken: der Klartext wurde seit dem letzten Kodieren geändert.");
        QTest::newRow("Kodieren with input enables the cipher")
            << "k" << L{true, false, false, false, false} << L{true, false} << "";
        QTest::newRow("a pad enables its save and print")
            << "p" << L{false, true, true, false, false} << L{false, false} << first;
        QTest::newRow("a finished cipher enables the result buttons")
            << "kpc" << L{true, true, true, true, true} << L{true, true} << "";
        QTest::newRow("the cipher makes a pad when there is none")
            << "kc" << L{true, true, true, true, true} << L{true, true} << "";
        QTest::newRow("empty input disables the cipher and the result")
            << "kpce" << L{false, true, true, false, false} << L{false, false}
            << "Zuerst einen Klartext eingeben und Kodieren drücken.";
        QTest::newRow("a change of direction disables the cipher only")
            << "kpcd" << L{false, true, true, true, true} << L{false, true}
            << "Zuerst Dekodieren drücken: es übernimmt den Chiffriertext zum Dechiffrieren.";
        QTest::newRow("a text changed after Kodieren takes its groups away")
            << "kt" << L{false, false, false, false, false} << L{false, false} << changed;
        QTest::newRow("and the cipher made of them")
            << "kpct" << L{false, true, true, false, false} << L{false, false} << changed;
        QTest::newRow("typing after a change of direction keeps the earlier result on screen")
            << "kpcdt" << L{false, true, true, true, true} << L{false, true}
            << "Zuerst Dekodieren drücken: es übernimmt den Chiffriertext zum Dechiffrieren.";
        QTest::newRow("a cipher text changed after Dekodieren")
            << "dDt" << L{false, false, false, false, false} << L{false, false}
            << "Zuerst Dekodieren drücken: der Chiffriertext wurde seit dem letzten Dekodieren geändert.";
        QTest::newRow("the very text loaded again changes nothing")
            << "kpcl" << L{true, true, true, true, true} << L{true, true} << "";
    }

    void buttonsAreEnabledEventByEvent()
    {
        QFETCH(QString, events);
        QFETCH(QList<bool>, enabled);
        QFETCH(QList<bool>, filled);
        QFETCH(QString, hint);
        for (QChar event : events) {
            switch (event.toLatin1()) {
            case 'k':
                ui()->QuarnIn->setProgramText(QStringLiteral("HALLO"));
                ui()->bt_kodieren->click();
                break;
            case 'e':
                ui()->QuarnIn->clear();
                ui()->bt_kodieren->click();
                break;
            case 'p':
                ui()->bt_OTPkey->click();
                break;
            case 'c':
                ui()->bt_OTPCrypt->click();
                break;
            case 'd':
                ui()->rb_QuarnDecod->click();
                break;
            case 'D':
                ui()->QuarnIn->setProgramText(QStringLiteral("12345 67890 "));
                ui()->bt_kodieren->click();
                break;
            case 't':
                ui()->QuarnIn->setFocus();
                QTest::keyClick(ui()->QuarnIn, Qt::Key_X);
                break;
            case 'l':
                ui()->QuarnIn->setProgramText(ui()->QuarnIn->text());
                break;
            }
        }
        QCOMPARE(resultButtonStates(), enabled);
        QCOMPARE(
            (QList<bool>{!ui()->fuenfergruppenOut->fieldText().isEmpty(), !ui()->OTPCryptOut->fieldText().isEmpty()}),
            filled);
        // A greyed-out cipher button says what comes first, to the eye and to a screen reader.
        QCOMPARE(ui()->bt_OTPCrypt->toolTip(), hint);
        QCOMPARE(QAccessible::queryAccessibleInterface(ui()->bt_OTPCrypt)->text(QAccessible::Description), hint);
    }

    void enterRunsOnlyTheFocusedButton_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("padMade");
        const auto row = [](const char* name, const char* focus, Qt::Key key, Qt::KeyboardModifiers mods, bool made) {
            QTest::newRow(name) << QString(focus) << int(key) << int(mods) << made;
        };
        row("Enter on the pad button makes a pad", "bt_OTPkey", Qt::Key_Return, {}, true);
        row("so does Enter on the keypad", "bt_OTPkey", Qt::Key_Enter, Qt::KeypadModifier, true);
        row("Shift+Enter runs nothing", "bt_OTPkey", Qt::Key_Return, Qt::ShiftModifier, false);
        row("Ctrl+Enter on the keypad runs nothing", "bt_OTPkey", Qt::Key_Enter,
            Qt::ControlModifier | Qt::KeypadModifier, false);
        row("Alt+Enter runs nothing", "bt_OTPkey", Qt::Key_Return, Qt::AltModifier, false);
        row("Enter in the input runs nothing", "QuarnIn", Qt::Key_Return, {}, false);
        row("Enter on a radio button runs nothing", "rb_QuarnCode", Qt::Key_Enter, {}, false);
        row("Escape on the pad button runs nothing", "bt_OTPkey", Qt::Key_Escape, {}, false);
    }

    void enterRunsOnlyTheFocusedButton()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, padMade);
        auto* widget = m_form->findChild<QWidget*>(focus);
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(!ui()->OTPOut->fieldText().isEmpty(), padMade);
    }

    void theWindowFitsTheAvailableArea_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("scrolls");
        QTest::addColumn<QMargins>("frame");
        // A title bar of 32 unless the row measured another frame, scroll bars of 15; the window is 800 x 799
        // and wants to stand at 300, 118.
        QTest::newRow("a large screen changes nothing")
            << QRect(0, 0, 1920, 1050) << QPoint(300, 118) << QSize(800, 799) << false << QMargins(0, 32, 0, 0);
        QTest::newRow("a screen exactly as tall as the window and its title bar scrolls nothing")
            << QRect(0, 0, 1600, 831) << QPoint(300, 0) << QSize(800, 799) << false << QMargins(0, 32, 0, 0);
        QTest::newRow("a screen exactly as wide scrolls nothing")
            << QRect(0, 0, 800, 1050) << QPoint(0, 118) << QSize(800, 799) << false << QMargins(0, 32, 0, 0);
        QTest::newRow("a screen just tall enough moves it up as far as needed")
            << QRect(0, 0, 1600, 870) << QPoint(300, 39) << QSize(800, 799) << false << QMargins(0, 32, 0, 0);
        QTest::newRow("1366 x 768 less a panel scrolls up and down")
            << QRect(0, 0, 1366, 740) << QPoint(300, 0) << QSize(815, 708) << true << QMargins(0, 32, 0, 0);
        QTest::newRow("1920 x 1080 at 2x is 960 x 540 and moves left to fit the scroll bar")
            << QRect(0, 0, 960, 540) << QPoint(145, 0) << QSize(815, 508) << true << QMargins(0, 32, 0, 0);
        QTest::newRow("a screen too narrow scrolls sideways, the scroll bar taking height")
            << QRect(0, 0, 790, 1050) << QPoint(0, 118) << QSize(790, 814) << true << QMargins(0, 32, 0, 0);
        QTest::newRow("a small screen scrolls both ways")
            << QRect(0, 0, 640, 480) << QPoint(0, 0) << QSize(640, 448) << true << QMargins(0, 32, 0, 0);
        QTest::newRow("a second screen on the right keeps the window on it")
            << QRect(1920, 24, 1366, 744) << QPoint(1920, 24) << QSize(815, 712) << true << QMargins(0, 32, 0, 0);
        QTest::newRow("at 2x the measured borders move the frame inside the right edge")
            << QRect(0, 0, 960, 540) << QPoint(143, 0) << QSize(815, 529) << true << QMargins(1, 10, 1, 1);
        QTest::newRow("a title bar taller than allowed for takes its height from the view")
            << QRect(0, 0, 1366, 740) << QPoint(300, 0) << QSize(815, 696) << true << QMargins(4, 40, 4, 4);
    }

    void theWindowFitsTheAvailableArea()
    {
        QFETCH(QMargins, frame);
        QFETCH(QRect, available);
        QFETCH(QPoint, position);
        QFETCH(QSize, size);
        QFETCH(bool, scrolls);
        const WindowFit fit = fitWindow(available, QSize(800, 799), frame, QPoint(300, 118), 15);
        QCOMPARE(fit.position, position);
        QCOMPARE(fit.clientSize, size);
        QCOMPARE(fit.scrolls, scrolls);
    }

    void aWindowThatDoesNotFitScrollsTheFocusedWidgetIntoView_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("fromTheBottom");
        QTest::newRow("the result print button, seen from the top") << "bt_QuarnDecryptPrint" << false;
        QTest::newRow("the cipher output, below the fold") << "OTPCryptOut" << false;
        QTest::newRow("back up to the input") << "QuarnIn" << true;
        QTest::newRow("back up to the text load button") << "bt_QuarnInLoad" << true;
    }

    void aWindowThatDoesNotFitScrollsTheFocusedWidgetIntoView()
    {
        QFETCH(QString, name);
        QFETCH(bool, fromTheBottom);
        QList<QWidget*> chain;
        for (QWidget* w = m_form->nextInFocusChain(); w != m_form.get(); w = w->nextInFocusChain())
            chain << w;
        m_form->fitInto(QRect(0, 0, 1366, 740), QMargins(0, 40, 0, 0));
        // Fitted again with the frame measured once the window was framed: the same view, another size.
        m_form->fitInto(QRect(0, 0, 1366, 740), QMargins(4, 32, 4, 4));
        QCOMPARE(m_form->height(), 704);
        QCOMPARE(m_form->findChildren<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
        QVERIFY(m_form->width() > 800); // room for the scroll bar
        QScrollBar* scrollBar = m_form->findChild<QScrollArea*>()->verticalScrollBar();
        QTRY_VERIFY(scrollBar->maximum() > 0);
        scrollBar->setValue(fromTheBottom ? scrollBar->maximum() : 0);
        QList<QWidget*> after;
        for (QWidget* w = m_form->nextInFocusChain(); w != m_form.get(); w = w->nextInFocusChain())
            if (chain.contains(w))
                after << w;
        QCOMPARE(after, chain);

        ui()->bt_QuarnDecryptPrint->setEnabled(true);
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        auto* widget = m_form->findChild<QWidget*>(name);
        widget->setFocus();
        QTRY_VERIFY(m_form->rect().contains(QRect(widget->mapTo(m_form.get(), QPoint(0, 0)), widget->size())));
    }

    // The direction is chosen as a file given at start or a screen reader chooses it, without the focus.
    void theTabKeyFollowsTheOrderAndOnlyTheSelectedRadioButton_data()
    {
        QTest::addColumn<bool>("decode");
        QTest::addColumn<QString>("from");
        QTest::addColumn<bool>("back");
        QTest::addColumn<QString>("to");
        QTest::newRow("from the page tab to the input") << false << "" << false << "QuarnIn";
        QTest::newRow("from the input to the selected Kodieren") << false << "QuarnIn" << false << "rb_QuarnCode";
        QTest::newRow("from Kodieren past the unselected Dekodieren")
            << false << "rb_QuarnCode" << false << "bt_OTPkey";
        QTest::newRow("in decode direction from the input to Dekodieren")
            << true << "QuarnIn" << false << "rb_QuarnDecod";
        QTest::newRow("and back from the pad button to Dekodieren") << true << "bt_OTPkey" << true << "rb_QuarnDecod";
        QTest::newRow("and back from Dekodieren to the input") << true << "rb_QuarnDecod" << true << "QuarnIn";
    }

    void theTabKeyFollowsTheOrderAndOnlyTheSelectedRadioButton()
    {
        QFETCH(bool, decode);
        QFETCH(QString, from);
        QFETCH(bool, back);
        QFETCH(QString, to);
        m_form->activateWindow();
        QTRY_VERIFY(QApplication::focusWidget());
        QCOMPARE(QApplication::focusWidget(), ui()->PageControl1->tabBar());
        ui()->rb_QuarnDecod->setChecked(decode);
        if (!from.isEmpty())
            m_form->findChild<QWidget*>(from)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), back ? Qt::Key_Backtab : Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), m_form->findChild<QWidget*>(to));
    }

    void emptyInputKeepsTheGroupsAndPromptsForText()
    {
        ui()->QuarnIn->setProgramText(QStringLiteral("ABC"));
        ui()->bt_kodieren->click();
        const QString groups = ui()->fuenfergruppenOut->fieldText();
        QVERIFY(!groups.isEmpty());
        ui()->QuarnIn->clear();
        // Emptied, the input has no groups any more; Kodieren keeps the field as the change left it.
        QVERIFY(ui()->fuenfergruppenOut->fieldText().isEmpty());
        ui()->fuenfergruppenOut->setFieldText(groups);
        ui()->bt_kodieren->click();
        QCOMPARE(ui()->fuenfergruppenOut->fieldText(), groups);
        QCOMPARE(ui()->QuarnIn->placeholderText(), QStringLiteral("Text eingeben!"));
    }

    void clickingTheSelectedDirectionAgainKeepsTheFields()
    {
        ui()->QuarnIn->setProgramText(QStringLiteral("ABC"));
        ui()->bt_kodieren->click();
        QTest::mouseClick(ui()->rb_QuarnCode, Qt::LeftButton);
        QCOMPARE(ui()->QuarnIn->text(), QStringLiteral("ABC"));
        QVERIFY(ui()->bt_OTPCrypt->isEnabled());
    }

    void theDecodedTextTakesTheCipherOutputsPlaceOnlyAtKodieren()
    {
        encipher(QStringLiteral("ABC"));
        ui()->rb_QuarnDecod->click();
        QVERIFY(ui()->QuarnIn->text().isEmpty());
        QVERIFY(ui()->fuenfergruppenOut->fieldText().isEmpty());
        QVERIFY(ui()->OTPCryptOut->isVisible());
        QVERIFY(!ui()->OTPCryptOut->fieldText().isEmpty());
        ui()->QuarnIn->setProgramText(QStringLiteral("12345 67890 "));
        ui()->bt_kodieren->click();
        QCOMPARE(ui()->fuenfergruppenOut->fieldText(), QStringLiteral("12345 67890 "));
        QVERIFY(ui()->QuarnDecrypt->isVisible());
        QVERIFY(!ui()->OTPCryptOut->isVisible());
        ui()->rb_QuarnCode->click();
        ui()->QuarnIn->setProgramText(QStringLiteral("A"));
        ui()->bt_kodieren->click();
        QVERIFY(ui()->OTPCryptOut->isVisible());
        QVERIFY(!ui()->QuarnDecrypt->isVisible());
    }

    void aTextIsEncipheredAndDecipheredInTheWindow_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("letters and a blank") << "hallo welt"
                                             << "HALLO WELT";
        QTest::newRow("figures and punctuation, the question mark not in the table") << "Treffen um 14.30 Uhr, Tor 3?"
                                                                                     << "TREFFEN UM 14.30 UHR, TOR 3";
        QTest::newRow("umlauts are passed over by the table") << "Grüße"
                                                              << "GRE";
    }

    void aTextIsEncipheredAndDecipheredInTheWindow()
    {
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        ui()->QuarnIn->setFocus();
        typeText(ui()->QuarnIn, typed);
        const QString cipher = encipher(ui()->QuarnIn->text());
        m_fakes.boxes->takeRecords(); // the notice of passed-over characters, tested on its own
        const QString pad = ui()->OTPOut->fieldText();
        QCOMPARE(pad.size(), 600);
        QVERIFY(cipher != ui()->fuenfergruppenOut->fieldText());

        ui()->rb_QuarnDecod->click();
        QCOMPARE(ui()->OTPOut->fieldText(), pad);
        ui()->QuarnIn->setProgramText(cipher);
        ui()->bt_kodieren->click();
        ui()->bt_OTPCrypt->click();
        QCOMPARE(ui()->QuarnDecrypt->fieldText(), expected);
        QVERIFY(ui()->QuarnDecrypt->isVisible());
        QVERIFY(ui()->bt_QuarnDecryptSave->isEnabled());
    }

    void theTableNoticeComesAtFiveHundredDigits()
    {
        // Program-set text is not cut, so more than the typed limit can reach the encoder.
        ui()->QuarnIn->setProgramText(repeated(QStringLiteral("Q"), 260));
        ui()->bt_kodieren->click();
        const auto records = m_fakes.boxes->takeRecords();
        QCOMPARE(records.size(), 1);
        QCOMPARE(records.first().caption, QStringLiteral("Information"));
        QCOMPARE(records.first().text, QStringLiteral("Ausgabe auf 500 Gruppen gekürzt!"));
        QCOMPARE(ui()->fuenfergruppenOut->fieldText().size(), 600);
    }

    void aMissingBlankStopsTheCipherWithTheErrorBoxAndKeepsWhatItMade()
    {
        ui()->rb_QuarnDecod->click();
        ui()->OTPOut->setFieldText(repeated(QStringLiteral("00000 "), 100)); // as loaded
        ui()->QuarnIn->setProgramText(QStringLiteral("1234567890 12345 "));
        ui()->bt_kodieren->click();
        ui()->bt_OTPCrypt->click();
        const auto records = m_fakes.boxes->takeRecords();
        QCOMPARE(records.size(), 1);
        QCOMPARE(records.first().kind, MessageBoxes::Kind::Error);
        QCOMPARE(records.first().caption, QStringLiteral("QUARN"));
        QCOMPARE(records.first().text, QStringLiteral("' ' ist kein gültiger Integerwert."));
        QCOMPARE(ui()->OTPCryptOut->fieldText().size(), 6);
        QVERIFY(!ui()->bt_QuarnDecryptSave->isEnabled());
        QVERIFY(!ui()->bt_QuarnDecryptPrint->isEnabled());
    }

    void decipheringWithoutAPadAsksForOneAndChangesNothing()
    {
        encipher(QStringLiteral("ABC"));
        const QString cipher = ui()->OTPCryptOut->fieldText();
        ui()->OTPOut->setFieldText(QStringLiteral("12345 "));
        ui()->rb_QuarnDecod->click();
        ui()->QuarnIn->setProgramText(cipher);
        ui()->bt_kodieren->click();
        ui()->bt_OTPCrypt->click();
        const auto records = m_fakes.boxes->takeRecords();
        QCOMPARE(records.size(), 1);
        QCOMPARE(records.first().caption, QStringLiteral("Information"));
        QCOMPARE(records.first().text, QStringLiteral("Zum Dechiffrieren zuerst das OTP laden!"));
        QCOMPARE(ui()->OTPOut->fieldText(), QStringLiteral("12345 "));
        QCOMPARE(ui()->OTPCryptOut->fieldText(), cipher);
        QVERIFY(ui()->QuarnDecrypt->fieldText().isEmpty());
    }

    void aPadShowsAsTenLinesOfTenGroups()
    {
        ui()->bt_OTPkey->click();
        const QStringList lines = ui()->OTPOut->displayLines();
        QCOMPARE(lines.size(), 10);
        const QStringList groups = ui()->OTPOut->fieldText().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (int i = 0; i < 10; ++i)
            QCOMPARE(lines.at(i).trimmed(), groups.mid(i * 10, 10).join(QLatin1Char(' ')));
    }

    void typingIsLimitedAndTurnedIntoUpperCase_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        QTest::newRow("lower case turns upper") << ""
                                                << "abc äöü"
                                                << "ABC ÄÖÜ";
        QTest::newRow("ß and µ have no upper case in the code page") << ""
                                                                     << "ßµ"
                                                                     << "ßµ";
        QTest::newRow("the 101st character is refused") << repeated("A", 99) << "BC" << repeated("A", 99) + "B";
    }

    void typingIsLimitedAndTurnedIntoUpperCase()
    {
        QFETCH(QString, before);
        QFETCH(QString, typed);
        QFETCH(QString, after);
        ui()->QuarnIn->setProgramText(before);
        ui()->QuarnIn->setFocus();
        ui()->QuarnIn->end(false);
        typeText(ui()->QuarnIn, typed);
        QCOMPARE(ui()->QuarnIn->text(), after);
    }

    void pastingTakesWhatTheLimitLeavesRoomFor_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("how"); // menu, keys, or a screen reader's insert or replace
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("notice");
        const QString fiveOfTen = QStringLiteral("Text zu groß! Nur 5 von 10 Zeichen übernommen (max. 100 Zeichen).");
        QTest::newRow("ten into ninety-five by the menu") << repeated("A", 95) << "menu"
                                                          << "bcdefghijk" << repeated("A", 95) + "BCDEF" << fiveOfTen;
        QTest::newRow("ten into ninety-five by the keyboard")
            << repeated("A", 95) << "keys"
            << "bcdefghijk" << repeated("A", 95) + "BCDEF" << fiveOfTen;
        QTest::newRow("a sentence of 121 characters keeps 100 and says so")
            << ""
            << "menu" << repeated("b", 121) << repeated("B", 100)
            << "Text zu groß! Nur 100 von 121 Zeichen übernommen (max. 100 Zeichen).";
        QTest::newRow("a full field takes nothing and says so")
            << repeated("A", 100) << "keys"
            << "xyz" << repeated("A", 100) << "Text zu groß! Keines der 3 Zeichen übernommen (max. 100 Zeichen).";
        QTest::newRow("a paste that fits says nothing") << repeated("A", 95) << "menu"
                                                        << "bcdef" << repeated("A", 95) + "BCDEF"
                                                        << "";
        QTest::newRow("ten into ninety-five through the accessibility interface")
            << repeated("A", 95) << "insert"
            << "bcdefghijk" << repeated("A", 95) + "BCDEF" << fiveOfTen;
        QTest::newRow("a text set whole through it is cut as a paste is")
            << "XY"
            << "replace" << repeated("b", 121) << repeated("B", 100)
            << "Text zu groß! Nur 100 von 121 Zeichen übernommen (max. 100 Zeichen).";
        QTest::newRow("and turns upper case") << "XY"
                                              << "replace"
                                              << "treffen um acht"
                                              << "TREFFEN UM ACHT"
                                              << "";
        QTest::newRow("an empty clipboard changes nothing") << "XY"
                                                            << "menu"
                                                            << ""
                                                            << "XY"
                                                            << "";
    }

    void pastingTakesWhatTheLimitLeavesRoomFor()
    {
        QFETCH(QString, before);
        QFETCH(QString, how);
        QFETCH(QString, clipboard);
        QFETCH(QString, after);
        QFETCH(QString, notice);
        if (clipboard.isEmpty())
            QGuiApplication::clipboard()->setMimeData(new QMimeData);
        else
            QGuiApplication::clipboard()->setText(clipboard);
        ui()->QuarnIn->setProgramText(before);
        ui()->QuarnIn->setFocus();
        ui()->QuarnIn->end(false);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(ui()->QuarnIn);
        if (how == "menu")
            m_form->Einfuegen1->trigger();
        else if (how == "keys")
            QTest::keySequence(ui()->QuarnIn, QKeySequence::Paste);
        else if (how == "insert")
            accessible->editableTextInterface()->insertText(int(before.size()), clipboard);
        else
            accessible->editableTextInterface()->replaceText(0, accessible->textInterface()->characterCount(),
                                                             clipboard);
        QCOMPARE(ui()->QuarnIn->text(), after);
        // A screen reader's call has its answer before the notice comes.
        QStringList shown;
        const auto told = [this, &shown] {
            for (const auto& record : m_fakes.boxes->takeRecords())
                shown << record.text;
            return shown;
        };
        QTRY_COMPARE(told(), notice.isEmpty() ? QStringList() : QStringList{notice});
    }

    void programSetTextIsNotCut()
    {
        ui()->QuarnIn->setProgramText(repeated(QStringLiteral("x"), 150));
        QCOMPARE(ui()->QuarnIn->text(), repeated(QStringLiteral("X"), 150));
    }

    void kopierenOnTheCipherOutputPutsItsWholeTextOnTheClipboard()
    {
        const QString cipher = encipher(QStringLiteral("ABC"));
        QGuiApplication::clipboard()->setText(QStringLiteral("vorher"));
        openMenuOn(ui()->OTPCryptOut);
        QVERIFY(m_form->PMenue_K->isVisible());
        m_form->Kopieren1->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), cipher);

        ui()->OTPCryptOut->clearField();
        m_form->Kopieren1->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
    }

    void kopierenOnTheDecodedTextSelectsAndCopiesIt()
    {
        ui()->QuarnDecrypt->setFieldText(QStringLiteral("HALLO WELT"));
        QGuiApplication::clipboard()->setText(QStringLiteral("vorher"));
        openMenuOn(ui()->QuarnDecrypt, QContextMenuEvent::Keyboard);
        m_form->Kopieren1->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("HALLO WELT"));
        QCOMPARE(ui()->QuarnDecrypt->textCursor().selectedText(), QStringLiteral("HALLO WELT"));

        ui()->QuarnDecrypt->clearField();
        m_form->Kopieren1->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("HALLO WELT"));
    }

    void theKeyboardCopiesFromAResultField()
    {
        const QString cipher = encipher(QStringLiteral("ABC"));
        ui()->OTPCryptOut->setFocus();
        QTest::keySequence(ui()->OTPCryptOut, QKeySequence::SelectAll);
        QTest::keySequence(ui()->OTPCryptOut, QKeySequence::Copy);
        QCOMPARE(QGuiApplication::clipboard()->text(), cipher);
    }

    void onlyTheProgramsOwnMenusOpen_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("menu");
        QTest::newRow("the input offers Einfügen") << "QuarnIn"
                                                   << "PMenue";
        QTest::newRow("the cipher output offers Kopieren") << "OTPCryptOut"
                                                           << "PMenue_K";
        QTest::newRow("the groups field has no menu") << "fuenfergruppenOut"
                                                      << "";
        QTest::newRow("the pad field has no menu") << "OTPOut"
                                                   << "";
    }

    void onlyTheProgramsOwnMenusOpen()
    {
        QFETCH(QString, field);
        QFETCH(QString, menu);
        QCOMPARE(openMenuOn(m_form->findChild<QWidget*>(field)), QStringList());
        QCOMPARE(openMenus(), menu.isEmpty() ? QStringList() : QStringList{menu});
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
