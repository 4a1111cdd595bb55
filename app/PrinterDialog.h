#pragma once

#include "PrintSession.h"

#include <QObject>
#include <memory>

class QPrinter;
class QWidget;

namespace quarn {

// Where the print dialog's answer comes from: the user, in the program.
class PrinterChooser
{
public:
    virtual ~PrinterChooser() = default;
    // Shows the print dialog on the printer, whose settings it may change; true when the user confirmed it.
    virtual bool confirm(QWidget* parent, QPrinter& printer) = 0;
};

// Qt's print dialog with the printer, its settings and the number of copies.
class SystemPrinterChooser : public PrinterChooser
{
public:
    bool confirm(QWidget* parent, QPrinter& printer) override;
};

// The window's print dialog. It opens on the printer in use, at first the system's default, and the printer
// and settings chosen in it stay for the next print. It offers the printer, its settings and the number of
// copies; no page range, no selection, no printing to a file.
class PrinterDialog : public QObject
{
    Q_OBJECT

public:
    PrinterDialog(const QString& objectName, std::shared_ptr<PrinterChooser> chooser, QObject* parent);

    // Shows the dialog and prints the lines in the font; a failed print throws Failed. True when
    // the lines were printed, false when the user cancelled.
    bool print(QWidget* parent, const QStringList& lines, const QFont& font);
    // The same for a job that draws its own pages.
    bool print(QWidget* parent, const PrintSession::Job& job);

private:
    static bool outcome(const Result<bool>& printed);
    PrintSession::Dialog dialogOn(QWidget* parent) const;

    std::shared_ptr<PrinterChooser> m_chooser;
    PrintSession m_session;
};

} // namespace quarn
