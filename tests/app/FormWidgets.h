#pragma once

#include "ResultField.h"
#include "UpperCaseLineEdit.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace quarn::test {

// The window's widgets, found by their object names; made once for a window and gone with it.
class FormWidgets : public QObject
{
public:
    explicit FormWidgets(QWidget& form) : QObject(&form), m_form(form) {}

private:
    QWidget& m_form;

    template <class T> T* find(const char* name) const
    {
        T* widget = m_form.findChild<T*>(QLatin1String(name));
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }

public:
    QLabel* Label2 = find<QLabel>("Label2");
    QTabWidget* PageControl1 = find<QTabWidget>("PageControl1");
    QWidget* QuarnSeite = find<QWidget>("QuarnSeite");
    QLabel* Label19 = find<QLabel>("Label19");
    QLabel* Label20 = find<QLabel>("Label20");
    QLabel* QuarnKarte = find<QLabel>("QuarnKarte");
    QLabel* QuarnKarte1 = find<QLabel>("QuarnKarte1");
    QGroupBox* RadioGroup7 = find<QGroupBox>("RadioGroup7");
    QRadioButton* rb_QuarnCode = find<QRadioButton>("rb_QuarnCode");
    QRadioButton* rb_QuarnDecod = find<QRadioButton>("rb_QuarnDecod");
    UpperCaseLineEdit* QuarnIn = find<UpperCaseLineEdit>("QuarnIn");
    QPushButton* bt_OTPkey = find<QPushButton>("bt_OTPkey");
    QPushButton* bt_OTPCrypt = find<QPushButton>("bt_OTPCrypt");
    QPushButton* bt_OTPSave = find<QPushButton>("bt_OTPSave");
    QPushButton* bt_OTPLoad = find<QPushButton>("bt_OTPLoad");
    ResultField* OTPOut = find<ResultField>("OTPOut");
    ResultField* OTPCryptOut = find<ResultField>("OTPCryptOut");
    ResultField* fuenfergruppenOut = find<ResultField>("fuenfergruppenOut");
    ResultField* QuarnDecrypt = find<ResultField>("QuarnDecrypt");
    QPushButton* bt_OTPPrint = find<QPushButton>("bt_OTPPrint");
    QPushButton* bt_kodieren = find<QPushButton>("bt_kodieren");
    QPushButton* bt_QuarnDecryptPrint = find<QPushButton>("bt_QuarnDecryptPrint");
    QPushButton* bt_QuarnDecryptSave = find<QPushButton>("bt_QuarnDecryptSave");
    QPushButton* bt_QuarnInLoad = find<QPushButton>("bt_QuarnInLoad");

    // Whether the decoded text, not the cipher output, is the result on screen.
    bool decodedShown() const { return !QuarnDecrypt->isHidden(); }
};

// The widgets of `form`, found on the first call.
inline const FormWidgets* widgetsOf(QWidget& form)
{
    for (QObject* child : form.children())
        if (auto* widgets = dynamic_cast<FormWidgets*>(child))
            return widgets;
    return new FormWidgets(form);
}

} // namespace quarn::test
