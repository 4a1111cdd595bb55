#pragma once

#include "PrintSession.h"
#include "Worksheet.h"

#include <QByteArray>
#include <QDate>
#include <QFont>

class QPagedPaintDevice;

namespace quarn {

// A worksheet on paper and as PDF: its pages drawn line by line in a monospaced face, at the places the
// worksheet sets, so that the digits stand in columns one can add with a pencil.
class WorksheetDocument
{
public:
    static QFont font();
    static Worksheet::Date dateOf(QDate date);
    // A4, or Letter where the locale's paper is Letter; the one choice of the window and quarn-cli.
    static Paper preferredPaper();

    // The PDF file's bytes. Its text is real text, so a reader can search and copy it.
    static Result<QByteArray> pdf(const Worksheet& sheet, QDate date, Paper paper);
    // What a print session runs on the printer chosen: the sheet on the printer's paper (Letter if it
    // has Letter, A4 otherwise).
    static PrintSession::Job printJob(const Worksheet& sheet, QDate date);

private:
    // False when the device cannot be drawn on.
    static bool paint(QPagedPaintDevice& device, const Worksheet& sheet, QDate date, Paper paper);
};

} // namespace quarn
