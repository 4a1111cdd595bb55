#include "PrinterDialog.h"

#include <QPrintDialog>
#include <QPrinter>

namespace quarn {

bool SystemPrinterChooser::confirm(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize | QAbstractPrintDialog::PrintCollateCopies);
    return dialog.exec() == QDialog::Accepted;
}

PrinterDialog::PrinterDialog(const QString& objectName, std::shared_ptr<PrinterChooser> chooser, QObject* parent)
    : QObject(parent), m_chooser(std::move(chooser))
{
    setObjectName(objectName);
}

PrintSession::Dialog PrinterDialog::dialogOn(QWidget* parent) const
{
    return [chooser = m_chooser, parent](QPrinter& printer) { return chooser->confirm(parent, printer); };
}

bool PrinterDialog::outcome(const Result<bool>& printed)
{
    if (!printed)
        throw Failed(printed.failure());
    return *printed;
}

bool PrinterDialog::print(QWidget* parent, const QStringList& lines, const QFont& font)
{
    return outcome(m_session.print(lines, font, dialogOn(parent)));
}

bool PrinterDialog::print(QWidget* parent, const PrintSession::Job& job)
{
    return outcome(m_session.print(job, dialogOn(parent)));
}

} // namespace quarn
