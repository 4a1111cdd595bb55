#include "ResultField.h"
#include "Startup.h"
#include "UpperCaseLineEdit.h"
#include "WindowFakes.h"

#include <QPushButton>
#include <QRadioButton>
#include <cstdio>

using namespace quarn;

namespace {

QString shown(QWidget& window, const char* field)
{
    const QString text = window.findChild<ResultField*>(QLatin1String(field))->fieldText();
    return text.isEmpty() ? QStringLiteral("-") : text.left(6).trimmed();
}

void say(const QString& line)
{
    std::fputs(qPrintable(line + u'\n'), stdout);
    std::fflush(stdout);
}

} // namespace

// `quarn` with a window for tests of the single window: it says when it takes what later starts hand over,
// and what its fields hold after each batch of files (the pad and groups by their first group). Boxes are
// recorded, not shown.
int main(int argc, char** argv)
{
    const test::WindowFakes fakes;
    StartOptions options;
    options.seams.boxes = fakes.boxes;
    options.serving = [] { say(QStringLiteral("serving")); };
    options.filesOpened = [&fakes](QWidget& window) {
        QStringList boxes;
        for (const test::RecordingBoxes::Record& record : fakes.boxes->takeRecords())
            boxes << QString(record.text).replace(u'\n', u'/');
        say(QStringLiteral("pad=%1|input=%2|groups=%3|decode=%4|decipher=%5|boxes=%6")
                .arg(shown(window, "OTPOut"), window.findChild<UpperCaseLineEdit*>(QStringLiteral("QuarnIn"))->text(),
                     shown(window, "fuenfergruppenOut"))
                .arg(int(window.findChild<QRadioButton*>(QStringLiteral("rb_QuarnDecod"))->isChecked()))
                .arg(int(window.findChild<QPushButton*>(QStringLiteral("bt_OTPCrypt"))->isEnabled()))
                .arg(boxes.join(QStringLiteral(" // "))));
    };
    return runQuarn(argc, argv, options);
}
