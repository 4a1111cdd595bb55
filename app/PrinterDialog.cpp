#include "PrinterDialog.h"

#include "Failure.h"

#include <QPrintDialog>
#include <QPrinter>

namespace quarn {

PrinterDialog::PrinterDialog(const QString& objectName, QObject* parent) : QObject(parent)
{
    setObjectName(objectName);
}

bool PrinterDialog::print(QWidget* parent, const QStringList& lines, const QFont& font)
{
    const auto show = [parent](QPrinter& printer) {
        QPrintDialog dialog(&printer, parent);
        dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize | QAbstractPrintDialog::PrintCollateCopies);
        return dialog.exec() == QDialog::Accepted;
    };
    const QString failure = m_session.print(lines, font, show);
    if (!failure.isEmpty())
        throw Failure(failure);
    return m_session.lastPrinted();
}

} // namespace quarn
