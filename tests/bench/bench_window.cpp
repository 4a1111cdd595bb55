// From the click on the cipher button to the final field contents, for the largest input of 100 groups.
#include "TForm1.h"
#include "app/FormWidgets.h"
#include "app/WindowFakes.h"
#include "app/WindowTestSupport.h"

#include <QtTest>

using namespace quarn;

class BenchWindow : public QObject
{
    Q_OBJECT

private slots:
    void cipherClick_data()
    {
        QTest::addColumn<bool>("decode");
        QTest::newRow("encipher 100 groups") << false;
        QTest::newRow("decipher and decode 100 groups") << true;
    }

    void cipherClick()
    {
        QFETCH(bool, decode);
        TForm1 form(test::WindowFakes().seams(std::make_shared<test::SequenceSource>(7)));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const test::FormWidgets* ui = test::widgetsOf(form);
        ui->bt_OTPkey->click();
        if (decode)
            ui->rb_QuarnDecod->click();
        // 100 groups of figures that decode into text: a digit string of the largest size.
        QString groups;
        for (int i = 0; i < 100; ++i)
            groups += QStringLiteral("82118 ");
        ui->QuarnIn->setProgramText(groups);
        ui->bt_kodieren->click();
        if (!decode)
            ui->fuenfergruppenOut->setFieldText(groups);
        QBENCHMARK
        {
            ui->bt_OTPCrypt->click();
            // The fields lay their new text out before the click counts as done.
            QCoreApplication::sendPostedEvents();
        }
        QCOMPARE(ui->OTPCryptOut->fieldText().size(), 600);
    }
};

QTEST_MAIN(BenchWindow)
#include "bench_window.moc"
