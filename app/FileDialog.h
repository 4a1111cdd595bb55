#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace quarn {

// The window's open and save dialogs (OpenDialog1, SaveDialog1). A filter is given as
// "Description (*.ext)|*.ext". Tests queue the next answers: a path, or a cancel.
class FileDialog : public QObject
{
    Q_OBJECT

public:
    enum class Mode
    {
        Open,
        Save
    };

    FileDialog(Mode mode, const QString& objectName, QObject* parent);

    void setFilter(const QString& filter) { m_filter = filter; }
    QString filter() const { return m_filter; }
    // The name offered (save) or the path last chosen (open, kept between runs of the dialog).
    void setFileName(const QString& fileName) { m_fileName = fileName; }
    QString fileName() const { return m_fileName; }

    // Shows the dialog modally; true when the user chose a file, which fileName() then holds.
    bool execute(QWidget* parent);

    static void setNextAnswer(const QString& path); // an empty path cancels
    static void clearNextAnswers();
    static bool hasNextAnswer();

private:
    Mode m_mode;
    QString m_filter;
    QString m_fileName;
};

} // namespace quarn
