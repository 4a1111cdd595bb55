#include "PrinterDialog.h"

#include <QPrintDialog>
#include <QPrinter>

namespace quarn {

PrinterDialog::PrinterDialog(const QString& objectName, QObject* parent) : QObject(parent)
{
    setObjectName(objectName);
}

PrintSession::Dialog PrinterDialog::dialogOn(QWidget* parent)
{
    return [parent](QPrinter& printer) {
        QPrintDialog dialog(&printer, parent);
        dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize | QAbstractPrintDialog::PrintCollateCopies);
        return dialog.exec() == QDialog::Accepted;
    };
}

bool PrinterDialog::outcome(const Result<>& printed) const
{
    if (!printed)
        throw Failed(printed.failure());
    return m_session.lastPrinted();
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
