#include "CodeEncoder.h"
#include "GroupFormatter.h"
#include "PadCipher.h"
#include "PadGenerator.h"

#include <QTest>

using namespace quarn;

// A full round trip of a 100-character text as the window runs it: encode, make a pad, encipher,
// decipher.
class BenchRoundTrip : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip()
    {
        const std::string text = "DIE NACHRICHT GEHT UM 12.30 UHR AN RPT, TREFFPUNKT BEIM SCHLOSS: "
                                 "BRUECKE (NORD) 4-5 = 9/10 \"ENDE\" OK";
        QCOMPARE(text.size(), std::size_t(100));
        SystemRandomSource source;
        std::string decoded;
        QBENCHMARK
        {
            const std::string groups = GroupFormatter::format(CodeEncoder::encode(text)).text;
            const std::string pad = PadGenerator::generate(source);
            const auto enciphered = PadCipher::run(groups, pad, CipherDirection::Encode);
            decoded = PadCipher::run(enciphered.output, pad, CipherDirection::Decode).decoded;
        }
        QCOMPARE(decoded.substr(0, 13), std::string("DIE NACHRICHT"));
    }
};

QTEST_APPLESS_MAIN(BenchRoundTrip)
#include "bench_roundtrip.moc"
