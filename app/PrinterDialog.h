#pragma once

#include "PrintSession.h"

#include <QObject>

class QWidget;

namespace quarn {

// The window's print dialog. It opens on the printer in use, at first the system's default, and the printer
// and settings chosen in it stay for the next print. It offers the printer, its settings and the number of
// copies; no page range, no selection, no printing to a file.
class PrinterDialog : public QObject
{
    Q_OBJECT

public:
    PrinterDialog(const QString& objectName, QObject* parent);

    // Shows the dialog and prints the lines in the font; a failed print throws Failed. True when
    // the lines were printed, false when the user cancelled.
    bool print(QWidget* parent, const QStringList& lines, const QFont& font);
    // The same for a job that draws its own pages.
    bool print(QWidget* parent, const PrintSession::Job& job);

    // Tests answer the next dialogs in place of the user: true confirms, false cancels.
    static void setNextAnswer(bool confirm) { PrintSession::setNextDialogAnswer(confirm); }
    static void clearNextAnswers() { PrintSession::clearNextDialogAnswers(); }

private:
    bool outcome(const Result<>& printed) const;
    static PrintSession::Dialog dialogOn(QWidget* parent);

    PrintSession m_session;
};

} // namespace quarn
