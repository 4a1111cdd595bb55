#include "CodeDecoder.h"
#include "CodeEncoder.h"
#include "CodeTable.h"
#include "GroupFormatter.h"
#include "InputText.h"
#include "PassedOver.h"
#include "TableText.h"
#include "Windows1252.h"
#include "cases/CodebookCases.h"
#include "cases/CodebookProperties.h"

#include <QRandomGenerator>
#include <QTest>

using namespace quarn;

static QByteArray bytes(std::string_view s)
{
    return QByteArray(s.data(), qsizetype(s.size()));
}

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
    void passedOver_data();
    void passedOver();
    void inputText_data();
    void inputText();
    void encodingThatStopsEarlyIsTheStartOfTheWhole();
    void theCardInWordsIsWhatTheEncoderWrites();
};

void TestCodebook::encoder_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("digits");
    for (const auto& c : cases::EncoderCases)
        QTest::newRow(c.name.data()) << bytes(c.input) << bytes(c.expected);
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
    for (const auto& c : cases::DecoderCases)
        QTest::newRow(c.name.data()) << bytes(c.input) << bytes(c.expected);
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
        QCOMPARE(CodeDecoder::decode(digits), cases::expectedRoundTrip(text));
    }
}

void TestCodebook::decoderEmitsOnlyItsAlphabet()
{
    QRandomGenerator rng(7);
    for (int round = 0; round < 2000; ++round) {
        std::string digits;
        const int length = rng.bounded(0, 700);
        for (int i = 0; i < length; ++i)
            digits += char('0' + rng.bounded(10));
        const std::string text = CodeDecoder::decode(digits);
        QVERIFY(text.find_first_not_of(cases::DecoderAlphabet) == std::string::npos);
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
    for (const auto& c : cases::UpperCaseCases)
        QTest::newRow(c.name.data()) << bytes(c.input) << bytes(c.expected);
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

void TestCodebook::passedOver_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("notice");
    QTest::addColumn<QString>("spelled"); // with Ä, Ö, Ü and ß written out
    QTest::newRow("a text the table knows passes nothing over") << "TREFFEN UM 12.30"
                                                                << ""
                                                                << "TREFFEN UM 12.30";
    QTest::newRow("umlauts and sharp s are named once each, in order")
        << QString::fromUtf8("GRÜSSE ÜBER ßÖ Ü")
        << QString::fromUtf8("Nicht in der Quarn-Tafel, daher übergangen: Ü ß Ö") << "GRUESSE UEBER SSOE UE";
    QTest::newRow("lower-case and capital sharp s are written out in upper case")
        << QString::fromUtf8("äöüßẞ!") << QString::fromUtf8("Nicht in der Quarn-Tafel, daher übergangen: ä ö ü ß ẞ !")
        << "AEOEUESSSS!";
    QTest::newRow("control characters are named in words, a line break once")
        << QString::fromUtf8("A\r\nB\tC\x01\x7f\n")
        << QString::fromUtf8("Nicht in der Quarn-Tafel, daher übergangen: Zeilenumbruch, Tabulator, Steuerzeichen "
                             "U+0001, Steuerzeichen U+007F")
        << QString::fromUtf8("A\r\nB\tC\x01\x7f\n");
    QTest::newRow("invisible characters among visible ones are set apart by commas")
        << QString::fromUtf8("Ä\uFEFF\u00A0B\u200B\u2003") + QChar(0x81)
        << QString::fromUtf8("Nicht in der Quarn-Tafel, daher übergangen: Ä, Byte-Order-Mark, geschütztes Leerzeichen, "
                             "Leerzeichen ohne Breite, Leerzeichen U+2003, Steuerzeichen U+0081")
        << QString::fromUtf8("AE\uFEFF\u00A0B\u200B\u2003") + QChar(0x81);
    QTest::newRow("characters outside Windows-1252 are named as they are")
        << QString::fromUtf8("A€😀Ж") << QString::fromUtf8("Nicht in der Quarn-Tafel, daher übergangen: € 😀 Ж")
        << QString::fromUtf8("A€😀Ж");
}

void TestCodebook::inputText_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<bool>("cutShort");
    QTest::addColumn<QString>("characters");
    for (const auto& c : cases::InputTextCases)
        QTest::newRow(c.name.data()) << bytes(c.bytes) << c.cutShort
                                     << QString::fromUcs4(c.characters.data(), qsizetype(c.characters.size()));
}

void TestCodebook::inputText()
{
    QFETCH(QByteArray, input);
    QFETCH(bool, cutShort);
    QFETCH(QString, characters);
    const std::u32string got = InputText::characters(input.toStdString(), cutShort);
    QCOMPARE(QString::fromUcs4(got.data(), qsizetype(got.size())), characters);
}

void TestCodebook::encodingThatStopsEarlyIsTheStartOfTheWhole()
{
    const std::string alphabet = "RPTCHBEUNGEDE ABC1.5:0\xC4";
    QRandomGenerator rng(500);
    for (int round = 0; round < 500; ++round) {
        std::string text;
        for (int i = rng.bounded(200); i > 0; --i)
            text += alphabet[rng.bounded(int(alphabet.size()))];
        const std::string whole = CodeEncoder::encode(text);
        for (const std::size_t enough : {std::size_t(1), std::size_t(7), GroupFormatter::MaxDigits}) {
            const std::string start = CodeEncoder::encode(text, enough);
            QVERIFY2(whole.starts_with(start), text.c_str());
            // No code is longer than four digits with its shift.
            QVERIFY2(start == whole || (start.size() >= enough && start.size() < enough + 4), text.c_str());
        }
    }
}

void TestCodebook::passedOver()
{
    QFETCH(QString, text);
    QFETCH(QString, notice);
    QFETCH(QString, spelled);
    const std::u32string codePoints = text.toStdU32String();
    QCOMPARE(QString::fromStdString(PassedOver::notice(PassedOver::characters(codePoints))), notice);
    QCOMPARE(QString::fromStdU32String(PassedOver::withGermanLettersSpelledOut(codePoints)), spelled);
    QCOMPARE(PassedOver::hasGermanLetters(PassedOver::characters(codePoints)), spelled != text);

    // What is named is exactly what the encoder leaves out: encoding without those characters changes nothing.
    std::string bytes;
    std::string kept;
    const std::u32string named = PassedOver::characters(codePoints);
    for (const char32_t cp : codePoints) {
        const auto byte = Windows1252::fromUnicode(cp);
        if (byte)
            bytes += char(*byte);
        if (byte && named.find(cp) == std::u32string::npos)
            kept += char(*byte);
    }
    QCOMPARE(CodeEncoder::encode(kept), CodeEncoder::encode(bytes));
}

// The card's text alternative, read back: every letter and letter group with the digits the encoder writes
// for it, every figure with those it writes after the shift.
void TestCodebook::theCardInWordsIsWhatTheEncoderWrites()
{
    const QString card = QString::fromStdString(TableText::card());
    const QString letters = card.section(QStringLiteral("Im Buchstabenmodus: "), 1).section(QLatin1Char('.'), 0, 0);
    const QStringList items = letters.split(QStringLiteral(", "));
    QCOMPARE(items.size(), 26 + 6 + 1);
    for (const QString& item : items) {
        const QStringList unitAndCode = item.split(QLatin1Char(' '));
        QCOMPARE(unitAndCode.size(), 2);
        QCOMPARE(QString::fromStdString(CodeEncoder::encode(unitAndCode[0].toStdString())), unitAndCode[1]);
    }
    for (char digit = '0'; digit <= '9'; ++digit) {
        const std::string written = CodeEncoder::encode(std::string(1, digit)).substr(2);
        QVERIFY2(card.contains(QStringLiteral(", %1 %2").arg(QLatin1Char(digit)).arg(QString::fromStdString(written))),
                 qPrintable(QString::fromStdString(written)));
    }
    QVERIFY(card.contains(QStringLiteral("Zwischenraum ZWR ") + QString::fromStdString(CodeEncoder::encode(" "))));
}

QTEST_APPLESS_MAIN(TestCodebook)
#include "tst_codebook.moc"
