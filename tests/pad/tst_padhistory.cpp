#include "PadHistory.h"
#include "Sha256.h"
#include "cases/PadCases.h"

#include <QCryptographicHash>
#include <QTest>

using namespace quarn;

namespace {

QByteArray hex(const Sha256::Digest& d)
{
    return QByteArray(reinterpret_cast<const char*>(d.data()), qsizetype(d.size())).toHex();
}

// Two different pads of 600 characters, and the first one as a loaded file leaves it, with its line break.
std::string pad(char digit)
{
    std::string p;
    for (int i = 0; i < 100; ++i)
        p += std::string(5, digit) + ' ';
    return p;
}

std::string named(const QString& name)
{
    if (name == "P")
        return pad('1');
    if (name == "P+CRLF")
        return pad('1') + "\r\n";
    if (name == "Q")
        return pad('2');
    if (name == "G")
        return "12345 67";
    if (name == "G ")
        return "12345 67 ";
    if (name == "H")
        return "12345 68";
    return name.toStdString();
}

// "made P", "saved P", "printed P", "enciphered P G".
void replay(PadHistory& history, const QStringList& steps)
{
    for (const QString& step : steps) {
        const QStringList w = step.split(QLatin1Char(' '));
        if (w[0] == "made")
            history.made(named(w[1]));
        else if (w[0] == "saved")
            history.saved(named(w[1]));
        else if (w[0] == "printed")
            history.printed(named(w[1]));
        else if (w[0] == "enciphered")
            history.enciphered(named(w[1]), named(w[2]));
        else
            QFAIL(qPrintable("unknown step " + step));
    }
}

} // namespace

class TestPadHistory : public QObject
{
    Q_OBJECT

private slots:
    void sha256KnownDigests_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("digest");
        for (const auto& c : cases::DigestCases)
            QTest::newRow(c.name.data()) << QByteArray(c.text.data(), qsizetype(c.text.size())).repeated(c.times)
                                         << QByteArray(c.hex.data(), qsizetype(c.hex.size()));
    }

    void sha256KnownDigests()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, digest);
        QCOMPARE(hex(Sha256::of(std::string_view(input.constData(), std::size_t(input.size())))), digest);
    }

    // Every length around the block and padding boundaries, fed whole and in two pieces.
    void sha256AgreesWithQtForEveryLengthAndSplit()
    {
        QByteArray data;
        for (int n = 0; n < 200; ++n) {
            const QByteArray expected = QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex();
            const std::string_view all(data.constData(), std::size_t(n));
            QCOMPARE(hex(Sha256::of(all)), expected);
            for (int split : {0, n / 3, n / 2, n}) {
                Sha256 sha;
                sha.add(all.substr(0, std::size_t(split)));
                sha.add(all.substr(std::size_t(split)));
                QCOMPARE(hex(sha.finish()), expected);
            }
            data.append(char(n * 37 + 11));
        }
    }

    void history_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("pad");
        QTest::addColumn<QString>("groups");
        QTest::addColumn<bool>("wouldReuse");
        QTest::addColumn<bool>("freshUnused");
        QTest::addColumn<bool>("unkept");
        using L = QStringList;
        QTest::newRow("an unknown pad is neither fresh nor reused") << L{} << "P"
                                                                    << "G" << false << false << false;
        QTest::newRow("a pad made here and unused is fresh") << L{"made P"} << "P"
                                                             << "G" << false << true << false;
        QTest::newRow("the same message again is no reuse") << L{"made P", "enciphered P G"} << "P"
                                                            << "G" << false << false << true;
        QTest::newRow("the same groups with a closing blank are the same message")
            << L{"made P", "enciphered P G"} << "P"
            << "G " << false << false << true;
        QTest::newRow("a different message is reuse") << L{"made P", "enciphered P G"} << "P"
                                                      << "H" << true << false << true;
        QTest::newRow("a loaded pad that enciphered is reused too") << L{"enciphered P G"} << "P"
                                                                    << "H" << true << false << false;
        QTest::newRow("a pad followed by its line break is the same pad") << L{"made P", "enciphered P+CRLF G"} << "P"
                                                                          << "H" << true << false << true;
        QTest::newRow("another pad may take the message") << L{"made P", "enciphered P G"} << "Q"
                                                          << "H" << false << false << true;
        QTest::newRow("a saved pad is kept") << L{"made P", "enciphered P G", "saved P"} << "P"
                                             << "G" << false << false << false;
        QTest::newRow("a printed pad is kept") << L{"made P", "enciphered P G", "printed P"} << "P"
                                               << "G" << false << false << false;
        QTest::newRow("saving another pad keeps only that one")
            << L{"made P", "enciphered P G", "made Q", "saved Q"} << "Q"
            << "G" << false << true << true;
        QTest::newRow("an older unkept pad still counts")
            << L{"made P", "enciphered P G", "made Q", "enciphered Q H", "saved Q"} << "Q"
            << "H" << false << false << true;
        QTest::newRow("a made pad kept before it enciphered stays kept")
            << L{"made P", "saved P", "enciphered P G"} << "P"
            << "G" << false << false << false;
    }

    void history()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, pad);
        QFETCH(QString, groups);
        PadHistory history;
        replay(history, steps);
        QTEST(history.wouldReuse(named(pad), named(groups)), "wouldReuse");
        QTEST(history.isFreshUnused(named(pad)), "freshUnused");
        QTEST(history.hasUnkeptPad(), "unkept");
    }
};

QTEST_APPLESS_MAIN(TestPadHistory)
#include "tst_padhistory.moc"
