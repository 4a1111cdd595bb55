#include "PrintSession.h"

#include "PrinterCanvas.h"
#include "PrinterTextDevice.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace quarn {

namespace {

constexpr int minimumLines = 10;
bool printing = false;

// Marks the time a job is being written, also when the canvas throws.
class PrintingMark
{
public:
    PrintingMark() : m_before(printing) { printing = true; }
    ~PrintingMark() { printing = m_before; }
    PrintingMark(const PrintingMark&) = delete;
    PrintingMark& operator=(const PrintingMark&) = delete;

private:
    bool m_before;
};

} // namespace

void printDisplayLines(PageCanvas& canvas, const QFont& font, const QStringList& lines)
{
    PrintingMark mark;
    PrinterTextDevice device(canvas);
    device.setFont(font);
    for (const QString& line : lines)
        device.writeLine(line);
    for (qsizetype n = lines.size(); n < minimumLines; ++n)
        device.writeLine(QString());
    device.close();
}

PrintSession::PrintSession() = default;
PrintSession::~PrintSession() = default;

Result<bool> PrintSession::print(const QStringList& lines, const QFont& font, const Dialog& dialog)
{
    return print(
        [&](QPrinter& printer) {
            PrinterCanvas canvas(printer);
            if (!canvas.isActive())
                return false;
            printDisplayLines(canvas, font, lines);
            return true;
        },
        dialog);
}

Result<bool> PrintSession::print(const Job& job, const Dialog& dialog)
{
    if (printing)
        return Failure{Failure::Kind::PrintingBusy};
    if (!m_printer) {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            return Failure{Failure::Kind::NoDefaultPrinter};
        m_printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
    if (!confirm(dialog))
        return false;
    // The printer may have gone from the system since it was chosen.
    if (!m_printer->isValid() || QPrinterInfo::printerInfo(m_printer->printerName()).isNull())
        return Failure{Failure::Kind::PrinterNotAvailable};
    m_printer->setDocName(QString());
    PrintingMark mark;
    if (!job(*m_printer))
        return Failure{Failure::Kind::PrinterInvalid};
    return true;
}

bool PrintSession::confirm(const Dialog& dialog)
{
    return dialog && dialog(*m_printer);
}

} // namespace quarn
