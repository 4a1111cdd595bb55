#include "CodeDecoder.h"
#include "CodeEncoder.h"
#include "CodeTable.h"
#include "GroupFormatter.h"
#include "Windows1252.h"

#include <QRandomGenerator>
#include <QTest>

using namespace quarn;

class TestCodebook : public QObject
{
    Q_OBJECT

private slots:
    void encoder_data();
    void encoder();
    void decoder_data();
    void decoder();
    void everyTableCharacterRoundTrips();
    void randomTextsRoundTrip();
    void decoderEmitsOnlyItsAlphabet();
    void groups_data();
    void groups();
    void upperCase_data();
    void upperCase();
};

void TestCodebook::encoder_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("digits");
    QTest::newRow("single-digit letters") << QByteArray("EIN") << QByteArray("123");
    QTest::newRow("A is one zero") << QByteArray("A") << QByteArray("0");
    QTest::newRow("BE is a digraph") << QByteArray("BE") << QByteArray("51");
    QTest::newRow("BEE uses only one E") << QByteArray("BEE") << QByteArray("511");
    QTest::newRow("a blank breaks the digraph") << QByteArray("B E") << QByteArray("50831");
    QTest::newRow("CH") << QByteArray("CH") << QByteArray("53");
    QTest::newRow("SCH is S then CH") << QByteArray("SCH") << QByteArray("6953");
    QTest::newRow("C alone") << QByteArray("C") << QByteArray("52");
    QTest::newRow("UN TE GE DE") << QByteArray("UNTEGEDE") << QByteArray("73715855");
    QTest::newRow("RPT is the trigraph") << QByteArray("RPT") << QByteArray("85");
    QTest::newRow("RP is no trigraph") << QByteArray("RP") << QByteArray("467");
    QTest::newRow("RPX is no trigraph") << QByteArray("RPX") << QByteArray("46777");
    QTest::newRow("R opens no digraph") << QByteArray("RE") << QByteArray("41");
    QTest::newRow("a figure after a letter shifts") << QByteArray("A1") << QByteArray("08211");
    QTest::newRow("a blank leaves figures") << QByteArray("A1 B") << QByteArray("08211818350");
    QTest::newRow("the figure 0 is written 00") << QByteArray("0") << QByteArray("8200");
    QTest::newRow("figures and a point") << QByteArray("1.5") << QByteArray("82118955");
    QTest::newRow("all punctuation") << QByteArray(".:,-/()+=\"") << QByteArray("8289909192939495969798");
    QTest::newRow("umlauts and lower case are passed over")
        << QByteArray("\xC4\xD6\xDC\xDF" "abc!?;'*\t\r\n") << QByteArray("");
    QTest::newRow("passed-over characters keep the mode") << QByteArray("1!2") << QByteArray("821122");
    QTest::newRow("a digraph across a passed-over character is none") << QByteArray("B!E") << QByteArray("501");
    QTest::newRow("no shift at the end") << QByteArray("9") << QByteArray("8299");
    QTest::newRow("RPT at the very end, and RPTE") << QByteArray("ARPTE") << QByteArray("0851");
    QTest::newRow("a byte 0 is passed over") << QByteArray("A\0E", 3) << QByteArray("01");
}

void TestCodebook::encoder()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, digits);
    QCOMPARE(QByteArray::fromStdString(CodeEncoder::encode(text.toStdString())), digits);
}

void TestCodebook::decoder_data()
{
    QTest::addColumn<QByteArray>("digits");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("single-digit letters") << QByteArray("0123") << QByteArray("AEIN");
    QTest::newRow("digraphs") << QByteArray("5153") << QByteArray("BECH");
    QTest::newRow("SCH") << QByteArray("6953") << QByteArray("SCH");
    QTest::newRow("the trigraph is lower case") << QByteArray("85") << QByteArray("rpt");
    QTest::newRow("the figure 0") << QByteArray("8200") << QByteArray("0");
    QTest::newRow("figures with a point") << QByteArray("82118955") << QByteArray("1.5");
    QTest::newRow("letters, figure, blank, letter") << QByteArray("08211818350") << QByteArray("A1 B");
    QTest::newRow("line break") << QByteArray("8011") << QByteArray("\r\nEE");
    QTest::newRow("code mark") << QByteArray("84") << QByteArray("-code-");
    QTest::newRow("free letter codes") << QByteArray("656675") << QByteArray("");
    QTest::newRow("86 and 87 mean nothing in both modes") << QByteArray("86878286871") << QByteArray("");
    QTest::newRow("88 means nothing among letters") << QByteArray("88") << QByteArray("");
    QTest::newRow("88 is 8 among figures") << QByteArray("8288") << QByteArray("8");
    QTest::newRow("55 is DE among letters") << QByteArray("55") << QByteArray("DE");
    QTest::newRow("55 is 5 among figures") << QByteArray("8255") << QByteArray("5");
    QTest::newRow("unequal pair among figures uses both digits") << QByteArray("821211") << QByteArray("1");
    QTest::newRow("trailing digit among figures") << QByteArray("82111") << QByteArray("1");
    QTest::newRow("a 9 among letters is one digit") << QByteArray("90") << QByteArray("A");
    QTest::newRow("nines among figures") << QByteArray("82909192939495969798" "99")
                                         << QByteArray(":,-/()+=\"9");
    QTest::newRow("trailing 5, 6, 7 and 8 mean nothing") << QByteArray("05") << QByteArray("A");
    QTest::newRow("trailing 6") << QByteArray("6") << QByteArray("");
    QTest::newRow("trailing 7") << QByteArray("7") << QByteArray("");
    QTest::newRow("trailing 8") << QByteArray("8") << QByteArray("");
    QTest::newRow("trailing 4 is R") << QByteArray("4") << QByteArray("R");
    QTest::newRow("non-digits are passed over") << QByteArray("0 1x2") << QByteArray("AEI");
    QTest::newRow("a non-digit second digit is used up") << QByteArray("5x0") << QByteArray("A");
    QTest::newRow("8 before a blank is used up with it") << QByteArray("8 0") << QByteArray("A");
    QTest::newRow("9 before a blank among figures") << QByteArray("829 11") << QByteArray("1");
    QTest::newRow("shift back to letters") << QByteArray("8211810") << QByteArray("1A");
    QTest::newRow("empty input") << QByteArray("") << QByteArray("");
}

void TestCodebook::decoder()
{
    QFETCH(QByteArray, digits);
    QFETCH(QByteArray, text);
    QCOMPARE(QByteArray::fromStdString(CodeDecoder::decode(digits.toStdString())), text);
}

void TestCodebook::everyTableCharacterRoundTrips()
{
    for (const auto& row : CodeTable::letterRows()) {
        const std::string s(1, row.character);
        QCOMPARE(CodeDecoder::decode(CodeEncoder::encode(s)), s);
    }
    for (const auto& row : CodeTable::figureRows()) {
        const std::string s(1, row.character);
        QCOMPARE(CodeDecoder::decode(CodeEncoder::encode(s)), s);
    }
}

// What the decoder should give back for a text: table characters only, RPT as rpt.
static std::string expectedRoundTrip(const std::string& text)
{
    std::string kept;
    for (char c : text) {
        if (CodeTable::findLetter(c) || CodeTable::findFigure(c))
            kept += c;
    }
    std::string out;
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (kept.compare(i, 3, "RPT") == 0) {
            out += "rpt";
            i += 2;
        } else {
            out += kept[i];
        }
    }
    return out;
}

void TestCodebook::randomTextsRoundTrip()
{
    // Weighted towards the letters of digraphs and the trigraph, where the encoder looks ahead.
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ .:,-/()+=\"0123456789RPTRPTBECHUNGE\xC4\xDF!a\r\n";
    QRandomGenerator rng(20261208);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int length = rng.bounded(0, 120);
        for (int i = 0; i < length; ++i)
            text += alphabet[rng.bounded(int(alphabet.size()))];
        const std::string digits = CodeEncoder::encode(text);
        QVERIFY2(digits.find_first_not_of("0123456789") == std::string::npos, text.c_str());
        QCOMPARE(CodeDecoder::decode(digits), expectedRoundTrip(text));
    }
}

void TestCodebook::decoderEmitsOnlyItsAlphabet()
{
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ .:,-/()+=\"0123456789\r\nrptcode";
    QRandomGenerator rng(7);
    for (int round = 0; round < 2000; ++round) {
        std::string digits;
        const int length = rng.bounded(0, 700);
        for (int i = 0; i < length; ++i)
            digits += char('0' + rng.bounded(10));
        const std::string text = CodeDecoder::decode(digits);
        QVERIFY(text.find_first_not_of(alphabet) == std::string::npos);
    }
}

void TestCodebook::groups_data()
{
    QTest::addColumn<int>("digitCount");
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("endsWithBlank");
    QTest::addColumn<bool>("limitReached");
    QTest::newRow("no digits give an empty text") << 0 << 0 << false << false;
    QTest::newRow("five digits are one group and a blank") << 5 << 6 << true << false;
    QTest::newRow("seven digits end without a blank") << 7 << 8 << false << false;
    QTest::newRow("499 digits are within the limit") << 499 << 598 << false << false;
    QTest::newRow("exactly 500 digits reach the limit") << 500 << 600 << true << true;
    QTest::newRow("503 digits are cut to 100 groups") << 503 << 600 << true << true;
}

void TestCodebook::groups()
{
    QFETCH(int, digitCount);
    QFETCH(int, length);
    QFETCH(bool, endsWithBlank);
    QFETCH(bool, limitReached);
    std::string digits;
    for (int i = 0; i < digitCount; ++i)
        digits += char('0' + i % 10);
    const GroupLayout layout = GroupFormatter::format(digits);
    QCOMPARE(int(layout.text.size()), length);
    QCOMPARE(layout.limitReached, limitReached);
    if (length > 0)
        QCOMPARE(layout.text.back() == ' ', endsWithBlank);
    for (std::size_t i = 0; i < layout.text.size(); ++i)
        QCOMPARE(layout.text[i] == ' ', i % 6 == 5);
    if (digitCount == 7)
        QCOMPARE(layout.text, std::string("01234 56"));
}

void TestCodebook::upperCase_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("upper");
    QTest::newRow("ASCII letters") << QByteArray("abc xyz") << QByteArray("ABC XYZ");
    QTest::newRow("umlauts") << QByteArray("\xE4\xF6\xFC") << QByteArray("\xC4\xD6\xDC");
    QTest::newRow("sharp s and micro stay") << QByteArray("\xDF\xB5") << QByteArray("\xDF\xB5");
    QTest::newRow("division sign stays") << QByteArray("\xF7") << QByteArray("\xF7");
    QTest::newRow("letters of the 0x80 block") << QByteArray("\x9A\x9C\x9E\xFF") << QByteArray("\x8A\x8C\x8E\x9F");
    QTest::newRow("digits and marks stay") << QByteArray("12.,!") << QByteArray("12.,!");
}

void TestCodebook::upperCase()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, upper);
    QCOMPARE(QByteArray::fromStdString(Windows1252::toUpper(text.toStdString())), upper);
    // Every byte survives the trip through Unicode.
    for (int b = 0; b < 256; ++b) {
        const auto back = Windows1252::fromUnicode(Windows1252::toUnicode(static_cast<unsigned char>(b)));
        QVERIFY(back.has_value());
        QCOMPARE(int(*back), b);
    }
}

QTEST_APPLESS_MAIN(TestCodebook)
#include "tst_codebook.moc"
