// The work flow's tables: limits and captions, loads, the encoder's input, the cipher's questions, file kinds.
#include "cases/FlowCases.h"

#include <QTest>

using namespace quarn;

class TestFlow : public QObject
{
    Q_OBJECT

private slots:
    void rules_data();
    void rules();
};

void TestFlow::rules_data()
{
    QTest::addColumn<int>("index");
    const auto all = cases::flowProblems();
    for (std::size_t i = 0; i < all.size(); ++i)
        QTest::newRow(all[i].first.c_str()) << int(i);
}

void TestFlow::rules()
{
    QFETCH(int, index);
    QCOMPARE(QString::fromStdString(cases::flowProblems()[std::size_t(index)].second), QString());
}

QTEST_APPLESS_MAIN(TestFlow)
#include "tst_flow.moc"
