#include "CodeDecoder.h"
#include "CodeEncoder.h"
#include "GroupFormatter.h"
#include "PadCipher.h"
#include "PadFileText.h"
#include "PadGenerator.h"
#include "SystemEntropy.h"
#include "Worksheet.h"
#include "cases/PadCases.h"

#include <QRandomGenerator>
#include <QTest>
#include <deque>
#include <set>

using namespace quarn;

namespace {

// Hands out the values it was given, in order.
class ScriptedSource : public RandomSource
{
public:
    explicit ScriptedSource(std::deque<std::uint32_t> values) : m_values(std::move(values)) {}
    std::uint32_t draw(std::uint32_t n) override
    {
        lastRange = n;
        if (m_values.empty())
            return m_next++ % n;
        const std::uint32_t v = m_values.front();
        m_values.pop_front();
        return v;
    }
    std::uint32_t lastRange = 0;

private:
    std::deque<std::uint32_t> m_values;
    std::uint32_t m_next = 1000;
};

QByteArray bytes(std::string_view s)
{
    return QByteArray(s.data(), qsizetype(s.size()));
}

std::string zeroPad()
{
    std::string pad;
    for (int i = 0; i < 100; ++i)
        pad += "00000 ";
    return pad;
}

bool isPadText(const std::string& pad)
{
    if (pad.size() != 600)
        return false;
    for (std::size_t i = 0; i < pad.size(); ++i) {
        const bool blank = i % 6 == 5;
        if (blank != (pad[i] == ' ') || (!blank && (pad[i] < '0' || pad[i] > '9')))
            return false;
    }
    return true;
}

} // namespace

class TestPad : public QObject
{
    Q_OBJECT

private slots:
    void padFromScriptedSource();
    void systemPadsAreUniformAndDistinct();
    void uniformBelowRejectsTheBiasedStretch();
    void stuckSourcesFailInsteadOfHanging();
    void cipher_data();
    void cipher();
    void failures_data();
    void failures();
    void shortPadAsksForANewOne();
    void decodingGivesTheText();
    void encipherThenDecipherGivesTheTextBack();
    void padFileText_data();
    void padFileText();
    void padProblem_data();
    void padProblem();
    void repeatedGroups_data();
    void repeatedGroups();
    void worksheet_data();
    void worksheet();
    void worksheetHeaderAndPaper();
};

void TestPad::padFromScriptedSource()
{
    // 7 repeats and 99999 is out of range: both are drawn again.
    std::deque<std::uint32_t> values{7, 0, 7, 99998, 99999, 12345};
    ScriptedSource source(values);
    const std::string pad = PadGenerator::generate(source);
    QVERIFY(isPadText(pad));
    QCOMPARE(source.lastRange, 99999u);
    QCOMPARE(pad.substr(0, 24), std::string("00007 00000 99998 12345 "));
    std::set<std::string> groups;
    for (std::size_t i = 0; i < 600; i += 6)
        groups.insert(pad.substr(i, 5));
    QCOMPARE(groups.size(), std::size_t(100));
    QVERIFY(!groups.count("99999"));
}

void TestPad::systemPadsAreUniformAndDistinct()
{
    SystemRandomSource source;
    std::array<int, 10> digitCounts{};
    std::set<std::string> pads;
    const int padCount = 400;
    for (int p = 0; p < padCount; ++p) {
        const std::string pad = PadGenerator::generate(source);
        QVERIFY(isPadText(pad));
        std::set<std::string> groups;
        for (std::size_t i = 0; i < 600; i += 6) {
            QVERIFY(groups.insert(pad.substr(i, 5)).second);
            QVERIFY(pad.substr(i, 5) != "99999");
        }
        for (char c : pad) {
            if (c != ' ')
                ++digitCounts[c - '0'];
        }
        pads.insert(pad);
    }
    // Two pads made one after the other, in the same millisecond, differ.
    QCOMPARE(int(pads.size()), padCount);
    // Chi-square over the ten digits, 9 degrees of freedom: 27.88 is the 0.1 % point.
    const double expected = padCount * 500 / 10.0;
    double chi2 = 0;
    for (int count : digitCounts)
        chi2 += (count - expected) * (count - expected) / expected;
    QVERIFY2(chi2 < 27.88, qPrintable(QString::number(chi2)));
}

void TestPad::uniformBelowRejectsTheBiasedStretch()
{
    // For n = 3, 2^32 mod 3 = 1: the word 0 lies in the biased stretch and is drawn again.
    std::deque<std::uint32_t> words{0, 1, 0xFFFFFFFFu};
    auto next = [&] {
        const auto w = words.front();
        words.pop_front();
        return w;
    };
    QCOMPARE(uniformBelow(3, next), 1u);
    QCOMPARE(uniformBelow(3, next), 0xFFFFFFFFu % 3);
    // A power of two has no biased stretch.
    std::deque<std::uint32_t> more{0};
    QCOMPARE(uniformBelow(8, [&] { return more.front(); }), 0u);
}

void TestPad::stuckSourcesFailInsteadOfHanging()
{
    // A source that gives one value for ever: the first group is taken, every later draw is a repeat.
    ScriptedSource repeating(std::deque<std::uint32_t>(PadGenerator::MaxRejectedDraws + 1, 7));
    QVERIFY_THROWS_EXCEPTION(Failed, PadGenerator::generate(repeating));
    try {
        ScriptedSource again(std::deque<std::uint32_t>(PadGenerator::MaxRejectedDraws + 1, 7));
        PadGenerator::generate(again);
    } catch (const Failed& e) {
        QCOMPARE(QString::fromStdString(Messages::text(e.failure())),
                 QStringLiteral("Der Zufallsgenerator liefert keine zufälligen Werte, es wurde kein OTP erzeugt"));
    }
    // Fewer repeats than the bound are only drawn again.
    ScriptedSource fewRepeats(std::deque<std::uint32_t>(PadGenerator::MaxRejectedDraws, 7));
    QVERIFY(isPadText(PadGenerator::generate(fewRepeats)));

    // Words from the biased stretch only, as from an entropy source that returns zeros.
    int asked = 0;
    QVERIFY_THROWS_EXCEPTION(Failed, uniformBelow(99999, [&] {
                                 ++asked;
                                 return 0u;
                             }));
    QCOMPARE(asked, MaxRejectedWords);

    // An entropy source that answers with no bytes: a bounded number of tries, then the system's message.
    unsigned char buffer[8];
    asked = 0;
    try {
        fillFrom([&](unsigned char*, std::size_t) { return ++asked, 0L; }, buffer, sizeof(buffer));
        QFAIL("a source that gives nothing was asked for ever");
    } catch (const Failed& e) {
        QCOMPARE(QString::fromStdString(Messages::text(e.failure())),
                 QStringLiteral("Der Zufallsgenerator des Systems ist nicht verfügbar"));
    }
    QCOMPARE(asked, MaxEmptyReads);
    // Short answers in between are only asked again.
    int round = 0;
    fillFrom([&](unsigned char* to, std::size_t) { return ++round % 50 ? 0L : (*to = 1, 1L); }, buffer, sizeof(buffer));
    QCOMPARE(round, 400);
}

void TestPad::cipher_data()
{
    QTest::addColumn<QByteArray>("groups");
    QTest::addColumn<QByteArray>("pad");
    QTest::addColumn<bool>("decode");
    QTest::addColumn<QByteArray>("output");
    for (const auto& c : cases::CipherCases) {
        QTest::newRow(c.name.data()) << bytes(c.groups) << bytes(cases::padText(c.pad)) << c.decode << bytes(c.output);
    }
    QByteArray longGroups;
    for (int i = 0; i < 101; ++i)
        longGroups += "11111 ";
    QTest::newRow("a groups text is cut at 600 characters")
        << longGroups << QByteArray::fromStdString(zeroPad()) << false << longGroups.left(600);
}

void TestPad::cipher()
{
    QFETCH(QByteArray, groups);
    QFETCH(QByteArray, pad);
    QFETCH(bool, decode);
    QFETCH(QByteArray, output);
    const auto result = PadCipher::run(groups.toStdString(), pad.toStdString(),
                                       decode ? CipherDirection::Decode : CipherDirection::Encode);
    QVERIFY(!result.failure);
    QCOMPARE(QByteArray::fromStdString(result.output), output);
    QCOMPARE(QByteArray::fromStdString(result.digits), output.replace(" ", ""));
}

void TestPad::failures_data()
{
    QTest::addColumn<QByteArray>("groups");
    QTest::addColumn<QByteArray>("pad");
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QByteArray>("partial");
    for (const auto& c : cases::CipherFailureCases) {
        QTest::newRow(c.name.data()) << bytes(c.groups) << bytes(cases::padText(c.pad)) << bytes(c.message)
                                     << bytes(c.partial);
    }
}

void TestPad::failures()
{
    QFETCH(QByteArray, groups);
    QFETCH(QByteArray, pad);
    QFETCH(QByteArray, message);
    QFETCH(QByteArray, partial);
    for (auto direction : {CipherDirection::Encode, CipherDirection::Decode}) {
        const auto result = PadCipher::run(groups.toStdString(), pad.toStdString(), direction);
        QVERIFY(result.failure);
        QCOMPARE(QByteArray::fromStdString(cases::failureText(result.failure)), message);
        QCOMPARE(QByteArray::fromStdString(result.output), partial);
    }
}

void TestPad::shortPadAsksForANewOne()
{
    int asked = 0;
    PadCipherCallbacks callbacks;
    callbacks.newPad = [&] {
        ++asked;
        return zeroPad();
    };
    const std::string pad599 = zeroPad().substr(0, 599);
    auto result = PadCipher::run("12345", pad599, CipherDirection::Encode, callbacks);
    QCOMPARE(asked, 1);
    QVERIFY(!result.failure);
    QCOMPARE(result.pad, zeroPad());
    QCOMPARE(result.output, std::string("12345 "));

    result = PadCipher::run("12345", zeroPad(), CipherDirection::Encode, callbacks);
    QCOMPARE(asked, 1);

    // Without anyone to ask, a short pad is a failure, not a guess.
    result = PadCipher::run("12345", pad599, CipherDirection::Decode);
    QVERIFY(result.failure);
    QVERIFY(result.output.empty());
}

void TestPad::decodingGivesTheText()
{
    const auto result = PadCipher::run("50083 11", zeroPad(), CipherDirection::Decode);
    QVERIFY(!result.failure);
    QCOMPARE(result.output, std::string("50083 11"));
    QCOMPARE(result.decoded, std::string("BA EE"));
    // Enciphering gives digits only.
    QVERIFY(PadCipher::run("50083 11", zeroPad(), CipherDirection::Encode).decoded.empty());
}

void TestPad::encipherThenDecipherGivesTheTextBack()
{
    SystemRandomSource source;
    QRandomGenerator rng(99);
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ .,:-0123456789RPTCH";
    for (int round = 0; round < 300; ++round) {
        std::string text;
        for (int i = rng.bounded(1, 101); i > 0; --i)
            text += alphabet[rng.bounded(int(alphabet.size()))];
        const std::string groups = GroupFormatter::format(CodeEncoder::encode(text)).text;
        const std::string pad = PadGenerator::generate(source);
        const auto enciphered = PadCipher::run(groups, pad, CipherDirection::Encode);
        QVERIFY(!enciphered.failure);
        const auto deciphered = PadCipher::run(enciphered.output, pad, CipherDirection::Decode);
        QVERIFY(!deciphered.failure);
        QCOMPARE(deciphered.output, groups);
        // The whole text comes back, also beyond 255 digits.
        QCOMPARE(deciphered.decoded, CodeDecoder::decode(CodeEncoder::encode(text)));
    }
}

void TestPad::padFileText_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("pad");

    const QByteArray pad = bytes(zeroPad());
    const auto zeros = [](std::size_t n) { return QByteArray(qsizetype(n), '\0'); };
    QTest::newRow("a saved pad gives its 600 characters, not its CR LF") << pad + "\r\n" << pad;
    QTest::newRow("a short file gives what it holds") << pad.left(17) << pad.left(17);
    QTest::newRow("a Ctrl-Z ends the pad") << pad.left(6) + "\x1A" + pad << pad.left(6);
    QTest::newRow("a byte 0 takes no place among the 600") << QByteArray("0\0", 2) + pad.mid(1) << pad;
    QTest::newRow("bytes 0 up to the reading bound still let the whole pad through")
        << zeros(PadFileText::MaxBytesRead - 600) + pad << pad;
    QTest::newRow("past the reading bound nothing more is taken")
        << zeros(PadFileText::MaxBytesRead - 10) + pad << pad.left(10);
    QTest::newRow("nothing but bytes 0 gives an empty pad") << zeros(PadFileText::MaxBytesRead + 5) << QByteArray();
    const auto lines = [&pad](const QByteArray& lineEnd) {
        QByteArray out;
        for (qsizetype line = 0; line < 10; ++line)
            out += pad.mid(line * 60, 59) + lineEnd;
        return out;
    };
    QTest::newRow("ten lines with LF take the line end as the blank") << lines("\n") << pad;
    QTest::newRow("ten lines with CR LF") << lines("\r\n") << pad;
    QTest::newRow("ten lines with a blank before the CR LF") << lines(" \r\n") << pad;
    QTest::newRow("a line break after a fifth group stays, for the pad's check to name")
        << pad.left(29) + "\n" + pad.mid(30) << pad.left(29) + "\n" + pad.mid(30);
    QTest::newRow("two line breaks after a tenth group: the second stays")
        << pad.left(59) + "\n\n" + pad.mid(60) << pad.left(59) + " \n" + pad.mid(60, 539);
}

void TestPad::padFileText()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, pad);

    PadFileText whole;
    whole.feed(std::string_view(file.constData(), std::size_t(file.size())));
    QCOMPARE(bytes(whole.text()), pad);

    // Read as the loaders read, asking each time for what is wanted: the same pad, and never a byte
    // beyond the one that completed it.
    PadFileText chunked;
    qsizetype at = 0;
    while (const std::size_t wanted = chunked.wanted()) {
        const QByteArray chunk = file.mid(at, qsizetype(wanted));
        at += chunk.size();
        if (chunk.isEmpty() || !chunked.feed(std::string_view(chunk.constData(), std::size_t(chunk.size()))))
            break;
    }
    QCOMPARE(bytes(chunked.text()), pad);
    QVERIFY(at <= qsizetype(PadFileText::MaxBytesRead));
}

void TestPad::padProblem_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("problem");

    const QByteArray pad = bytes(zeroPad());
    const auto with = [&](qsizetype at, char c) {
        QByteArray p = pad;
        p[at] = c;
        return p;
    };
    QTest::newRow("a pad has no problem") << pad << "";
    QTest::newRow("what follows the 600 characters is not looked at") << pad + "\r\nXYZ"
                                                                      << "";
    QTest::newRow("an empty file has no characters") << QByteArray() << "das OTP hat nur 0 statt 600 Zeichen";
    QTest::newRow("599 characters are one too few") << pad.left(599) << "das OTP hat nur 599 statt 600 Zeichen";
    QTest::newRow("a letter in group 37 is named with its place")
        << with(36 * 6 + 2, 'K') << "in Gruppe 37 ist das 3. Zeichen 'K' keine Ziffer";
    QTest::newRow("a line break in place of a blank is named in words")
        << with(9 * 6 + 5, '\n') << "nach Gruppe 10 steht Zeilenumbruch statt eines Leerzeichens";
    QTest::newRow("a tab is named in words")
        << with(5, '\t') << "nach Gruppe 1 steht Tabulator statt eines Leerzeichens";
    QTest::newRow("a Windows-1252 no-break space is named in words")
        << with(11, char(0xA0))
        << QString::fromUtf8("nach Gruppe 2 steht geschütztes Leerzeichen statt eines Leerzeichens");
    QTest::newRow("a UTF-8 no-break space is one character, named in words")
        << pad.left(5) + "\xC2\xA0" + pad.mid(6)
        << QString::fromUtf8("nach Gruppe 1 steht geschütztes Leerzeichen statt eines Leerzeichens");
    QTest::newRow("a UTF-8 byte-order mark is named in words")
        << "\xEF\xBB\xBF" + pad << "in Gruppe 1 ist das 1. Zeichen Byte-Order-Mark keine Ziffer";
    QTest::newRow("an escape is named by its code point")
        << with(3, '\x1B') << "in Gruppe 1 ist das 4. Zeichen Steuerzeichen U+001B keine Ziffer";
    QTest::newRow("a digit in place of the last blank")
        << with(599, '7') << "nach Gruppe 100 steht '7' statt eines Leerzeichens";
    QTest::newRow("a Windows-1252 letter shows as itself")
        << with(0, char(0xDC)) << QString::fromUtf8("in Gruppe 1 ist das 1. Zeichen 'Ü' keine Ziffer");
    QTest::newRow("a cipher text with doubled blanks is not a pad")
        << QByteArray("12345  ").repeated(100) << "in Gruppe 2 ist das 1. Zeichen ' ' keine Ziffer";
}

void TestPad::padProblem()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, problem);
    QCOMPARE(QString::fromStdString(
                 cases::failureText(PadFileText::check(std::string_view(text.constData(), size_t(text.size()))))),
             problem);
}

void TestPad::repeatedGroups_data()
{
    QTest::addColumn<QByteArray>("pad");
    QTest::addColumn<int>("repeated");
    QByteArray made;
    for (int i = 0; i < 100; ++i)
        made += QByteArray::number(10000 + i * 7) + ' ';
    QTest::newRow("a pad of different groups repeats none") << made << 0;
    QTest::newRow("a pad of zeros repeats 99") << bytes(zeroPad()) << 99;
    QTest::newRow("the last group again is one") << made.left(594) + made.left(6) << 1;
    QTest::newRow("what follows the pad is not looked at") << made + made << 0;
}

void TestPad::repeatedGroups()
{
    QFETCH(QByteArray, pad);
    QFETCH(int, repeated);
    QCOMPARE(int(PadFileText::repeatedGroups(std::string_view(pad.constData(), std::size_t(pad.size())))), repeated);
}

void TestPad::worksheet_data()
{
    QTest::addColumn<int>("index");
    for (std::size_t i = 0; i < cases::WorksheetCases.size(); ++i)
        QTest::newRow(cases::WorksheetCases[i].name.data()) << int(i);
}

void TestPad::worksheet()
{
    QFETCH(int, index);
    QCOMPARE(QByteArray::fromStdString(cases::worksheetProblem(cases::WorksheetCases[std::size_t(index)])),
             QByteArray());
}

void TestPad::worksheetHeaderAndPaper()
{
    const Worksheet sheet = *Worksheet::build("A", zeroPad(), CipherDirection::Encode);
    const auto pages = sheet.pages(Paper::Letter, {2026, 3, 6});
    QVERIFY(pages.at(0).at(0).ends_with("06.03.2026, Seite 1 von 1"));
    QCOMPARE(pages.at(0).at(0).size(), Worksheet::MaxColumns); // the date at the right margin
    QVERIFY(pages.at(0).at(1).find("OTP") != std::string::npos);
    // What the encoder cut at its last group is not marked as passed over: the table has it.
    const Worksheet cut = *Worksheet::build(std::string(251, 'B'), zeroPad(), CipherDirection::Encode);
    QCOMPARE(QByteArray::fromStdString(cut.labels.back().text), QByteArray("B"));
    QCOMPARE(Worksheet::paperFor("en_US.UTF-8"), Paper::Letter);
    QCOMPARE(Worksheet::paperFor("de_DE.UTF-8"), Paper::A4);
    QCOMPARE(Worksheet::paperFor("C"), Paper::A4);
}

QTEST_APPLESS_MAIN(TestPad)
#include "tst_pad.moc"
