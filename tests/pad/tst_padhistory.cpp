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

// "made P", "loaded P F", "written F P", "written F" (a file that holds no pad now), "printed P",
// "enciphered P G", "deciphered P G"; returns how often deciphering said that a pad now carries two messages.
int replay(PadHistory& history, const QStringList& steps)
{
    int notices = 0;
    for (const QString& step : steps) {
        const QStringList w = step.split(QLatin1Char(' '));
        const std::string second = w.size() > 2 ? named(w[2]) : std::string();
        if (w[0] == "made")
            history.made(named(w[1]));
        else if (w[0] == "loaded")
            history.loaded(named(w[1]), second);
        else if (w[0] == "written")
            history.written(named(w[1]), second);
        else if (w[0] == "printed")
            history.printed(named(w[1]));
        else if (w[0] == "enciphered")
            history.enciphered(named(w[1]), second);
        else if (w[0] == "deciphered")
            notices += history.deciphered(named(w[1]), second) ? 1 : 0;
        else
            qFatal("unknown step %s", qPrintable(step));
    }
    return notices;
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

    // After the steps, the answers for the pad in the field, given groups, and a save of that pad over file F.
    void history_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("pad");
        QTest::addColumn<QString>("groups");
        QTest::addColumn<bool>("wouldReuse");
        QTest::addColumn<bool>("needsPartner");
        QTest::addColumn<bool>("wouldLose");
        QTest::addColumn<bool>("overF");
        QTest::addColumn<int>("notices");
        using L = QStringList;
        const auto row = [](const char* name, const L& steps, const char* pad, const char* groups, bool reuse,
                            bool partner, bool lose, bool overF = false, int notices = 0) {
            QTest::newRow(name) << steps << pad << groups << reuse << partner << lose << overF << notices;
        };
        row("an unknown pad is someone else's", {}, "P", "G", false, false, false);
        row("a pad made here and unused needs the partner's", {"made P"}, "P", "G", false, true, false);
        row("the same message again is no reuse", {"made P", "enciphered P G"}, "P", "G", false, false, true);
        row("the same groups with a closing blank are the same message", {"made P", "enciphered P G"}, "P", "G ", false,
            false, true);
        row("a different message is reuse", {"made P", "enciphered P G"}, "P", "H", true, false, true);
        row("a pad from elsewhere that enciphered is reused too", {"enciphered P G"}, "P", "H", true, false, false);
        row("a pad followed by its line break is the same pad", {"made P", "enciphered P+CRLF G"}, "P", "H", true,
            false, true);
        row("another pad may take the message", {"made P", "enciphered P G"}, "Q", "H", false, false, false);
        row("a saved pad is kept", {"made P", "enciphered P G", "written F P"}, "P", "G", false, false, false);
        row("a printed pad is kept", {"made P", "enciphered P G", "printed P"}, "P", "G", false, false, false);
        row("saving another pad keeps only that one", {"made P", "enciphered P G", "made Q", "written F Q"}, "P", "G",
            false, false, true);
        row("each pad answers for itself", {"made P", "enciphered P G", "made Q", "enciphered Q H", "written F Q"}, "Q",
            "H", false, false, false, false);
        row("a made pad kept before it enciphered stays kept", {"made P", "written F P", "enciphered P G"}, "P", "G",
            false, false, false);
        row("a short pad never deciphers", {}, "12345 ", "G", false, true, false);
        row("a saved pad may be the partner's", {"made P", "written F P"}, "P", "G", false, false, false);
        row("a printed pad may be the partner's", {"made P", "printed P"}, "P", "G", false, false, false);
        row("a loaded pad deciphers", {"loaded P F"}, "P", "G", false, false, false);
        row("a pad saved once may still be held elsewhere", {"made P", "written F P", "written F"}, "P", "G", false,
            false, false);
        row("a deciphered message makes the pad used", {"loaded P F", "deciphered P G"}, "P", "H", true, false, false);
        row("enciphering the groups it deciphered is a round trip", {"loaded P F", "deciphered P G"}, "P", "G", false,
            false, false);
        row("deciphering a second message says so", {"made P", "enciphered P G", "deciphered P H"}, "P", "G", false,
            false, true, false, 1);
        row("deciphering the same message twice says nothing", {"loaded P F", "deciphered P G", "deciphered P G"}, "P",
            "H", true, false, false);
        row("a file that holds a used pad warns before another pad goes over it",
            {"made P", "enciphered P G", "written F P"}, "Q", "G", false, false, false, true);
        row("a file that holds a used pad warns before a text goes over it", {"loaded P F", "deciphered P G"}, "", "G",
            false, true, false, true);
        row("the same pad over its own file loses nothing", {"made P", "enciphered P G", "written F P"}, "P", "G",
            false, false, false, false);
        row("a file that holds an unused pad warns of nothing", {"made P", "written F P"}, "Q", "G", false, false,
            false, false);
        row("a pad written over in its file is lost", {"made P", "enciphered P G", "written F P", "written F Q"}, "P",
            "G", false, false, true, false);
        row("a loaded pad written over in its file is lost", {"loaded P F", "enciphered P G", "written F"}, "P", "G",
            false, false, true);
        row("another file still keeps the pad",
            {"made P", "enciphered P G", "written F P", "written E P", "written F Q"}, "P", "G", false, false, false);
        row("a pad loaded again from its file is kept", {"made P", "enciphered P G", "loaded P F"}, "P", "G", false,
            false, false);
    }

    void history()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, pad);
        QFETCH(QString, groups);
        PadHistory history;
        QTEST(replay(history, steps), "notices");
        QTEST(history.wouldReuse(named(pad), named(groups)), "wouldReuse");
        QTEST(history.needsPartnersPad(named(pad)), "needsPartner");
        QTEST(history.wouldLose(named(pad)), "wouldLose");
        QTEST(history.fileHoldsUsedPad("F", named(pad)), "overF");
    }
};

QTEST_APPLESS_MAIN(TestPadHistory)
#include "tst_padhistory.moc"
