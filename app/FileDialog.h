#pragma once

#include <QObject>
#include <QString>
#include <memory>

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

    // From now on both dialogs open in the folder of the file chosen last in either. Only for this run:
    // the program keeps no list of where its files are.
    void shareFolderWith(FileDialog* other) { other->m_folder = m_folder; }

    static void setNextAnswer(const QString& path); // an empty path cancels
    static void clearNextAnswers();
    static bool hasNextAnswer();

private:
    Mode m_mode;
    QString m_filter;
    QString m_fileName;
    std::shared_ptr<QString> m_folder = std::make_shared<QString>();
};

} // namespace quarn
