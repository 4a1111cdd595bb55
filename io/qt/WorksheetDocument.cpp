#include "WorksheetDocument.h"

#include "TextBytes.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace quarn {

namespace {

QPageSize pageSizeOf(Paper paper)
{
    return QPageSize(paper == Paper::Letter ? QPageSize::Letter : QPageSize::A4);
}

} // namespace

QFont WorksheetDocument::font()
{
    // Liberation Mono (the package depends on it); else Courier New, the fixed face of Windows' own theme, which
    // quarn-cli's offscreen platform there knows only by name; else the system's fixed face.
    // The last one found wins.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (const QString family : {QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")})
        if (QFontDatabase::hasFamily(family))
            font = QFont(family);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSizeF(Worksheet::FontPoints);
    return font;
}

Worksheet::Date WorksheetDocument::dateOf(QDate date)
{
    return {date.year(), date.month(), date.day()};
}

Paper WorksheetDocument::preferredPaper()
{
    // The paper is LC_PAPER's to say (LC_ALL above it, LANG beneath it); without them, the system's locale.
    for (const char* name : {"LC_ALL", "LC_PAPER", "LANG"})
        if (const QByteArray value = qgetenv(name); !value.isEmpty())
            return Worksheet::paperFor(value.toStdString());
    return Worksheet::paperFor(QLocale::system().name().toStdString());
}

bool WorksheetDocument::paint(QPagedPaintDevice& device, const Worksheet& sheet, QDate date, Paper paper)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setFont(font());
    // The worksheet places its lines in points from the paper's corner; the device counts in its own dots.
    const double dots = device.logicalDpiY() / 72.0;
    const auto pages = sheet.pages(paper, dateOf(date));
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0)
            device.newPage();
        for (std::size_t line = 0; line < pages[p].size(); ++line) {
            const double baseline =
                Worksheet::MarginPoints + Worksheet::BaselinePoints + double(line) * Worksheet::LinePoints;
            // Each word at its own column: the face's advance, rounded to the device's dots, would otherwise
            // let the columns drift apart along a line.
            const QString text = fromWindows1252(pages[p][line]);
            for (qsizetype start = 0; start < text.size();) {
                if (text[start] == u' ') {
                    ++start;
                    continue;
                }
                qsizetype end = text.indexOf(u' ', start);
                if (end < 0)
                    end = text.size();
                const double x = Worksheet::MarginPoints + double(start) * Worksheet::ColumnPoints;
                painter.drawText(QPointF(x * dots, baseline * dots), text.mid(start, end - start));
                start = end;
            }
        }
    }
    return painter.end();
}

Result<QByteArray> WorksheetDocument::pdf(const Worksheet& sheet, QDate date, Paper paper)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(QStringLiteral("Quarn-Arbeitsblatt"));
        writer.setCreator(QStringLiteral("Quarn"));
        writer.setPageLayout(QPageLayout(pageSizeOf(paper), QPageLayout::Portrait, QMarginsF()));
        if (!paint(writer, sheet, date, paper))
            return Failure{Failure::Kind::WorksheetNotSet};
    }
    return bytes;
}

PrintSession::Job WorksheetDocument::printJob(const Worksheet& sheet, QDate date)
{
    return [sheet, date](QPrinter& printer) {
        const Paper paper = printer.pageLayout().pageSize().id() == QPageSize::Letter ? Paper::Letter : Paper::A4;
        // The sheet measures from the paper's corner; the field prints that come later from the printable area.
        const bool fullPage = printer.fullPage();
        printer.setFullPage(true);
        const bool painted = paint(printer, sheet, date, paper);
        printer.setFullPage(fullPage);
        return painted;
    };
}

} // namespace quarn
