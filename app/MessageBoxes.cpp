#include "MessageBoxes.h"

#include "Messages.h"

#include <QMessageBox>
#include <QPushButton>

namespace quarn {

void MessageBoxes::information(QWidget* parent, const QString& text)
{
    show(parent, {Kind::Information, QStringLiteral("Information"), text});
}

bool MessageBoxes::confirm(QWidget* parent, const QString& text, Default defaultButton)
{
    return show(parent, {Kind::Confirmation, QStringLiteral("Bestätigung"), text, defaultButton});
}

void MessageBoxes::error(QWidget* parent, const QString& text)
{
    show(parent, {Kind::Error, QStringLiteral("QUARN"), withFullStop(text)});
}

void MessageBoxes::information(QWidget* parent, const std::string& text)
{
    information(parent, QString::fromStdString(text));
}

bool MessageBoxes::confirm(QWidget* parent, const Question& question)
{
    return confirm(parent, QString::fromStdString(question.text), question.defaultYes ? Default::Yes : Default::No);
}

QString MessageBoxes::withFullStop(const QString& text)
{
    return QString::fromStdString(Messages::withFullStop(text.toStdString()));
}

bool SystemMessageBoxes::show(QWidget* parent, const Box& box)
{
    if (box.kind != Kind::Confirmation) {
        QMessageBox shown(box.kind == Kind::Error ? QMessageBox::Critical : QMessageBox::Information, box.caption,
                          box.text, QMessageBox::Ok, parent);
        shown.exec();
        return false;
    }
    QMessageBox shown(QMessageBox::Question, box.caption, box.text, QMessageBox::NoButton, parent);
    QPushButton* yes = shown.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton* no = shown.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    shown.setDefaultButton(box.defaultButton == Default::Yes ? yes : no);
    shown.setEscapeButton(no);
    shown.exec();
    return shown.clickedButton() == yes;
}

} // namespace quarn
