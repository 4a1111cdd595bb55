#include "WindowKeys.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>

namespace quarn {

namespace {

class EnterWithModifiers : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
               (key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    }
};

} // namespace

void takeEnterWithoutModifiersOnly(const QList<QPushButton*>& buttons)
{
    for (QPushButton* button : buttons)
        button->installEventFilter(new EnterWithModifiers(button));
}

void tabStopOnSelectedOnly(const QList<QRadioButton*>& group)
{
    const auto apply = [group] {
        for (QRadioButton* radio : group)
            radio->setFocusPolicy(radio->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    };
    for (QRadioButton* radio : group)
        QObject::connect(radio, &QRadioButton::toggled, radio, apply);
    apply();
}

} // namespace quarn
