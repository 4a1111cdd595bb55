#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QWidget;

namespace quarn {

class FileDialog;

// Where a file dialog's answer comes from: the user, in the program.
class FileChooser
{
public:
    virtual ~FileChooser() = default;
    // The path chosen in the dialog, or an empty path when it was cancelled.
    virtual QString choose(QWidget* parent, const FileDialog& dialog) = 0;
};

// Qt's file dialog, with the program's file types named as the program names them.
class SystemFileChooser : public FileChooser
{
public:
    QString choose(QWidget* parent, const FileDialog& dialog) override;
};

// The window's open and save dialogs (OpenDialog1, SaveDialog1). A filter is given as
// "Description (*.ext)|*.ext".
class FileDialog : public QObject
{
    Q_OBJECT

public:
    enum class Mode
    {
        Open,
        Save
    };

    FileDialog(Mode mode, const QString& objectName, std::shared_ptr<FileChooser> chooser, QObject* parent);

    Mode mode() const { return m_mode; }

    void setFilter(const QString& filter) { m_filter = filter; }
    QString filter() const { return m_filter; }
    // The name offered (save) or the path last chosen (open, kept between runs of the dialog).
    void setFileName(const QString& fileName) { m_fileName = fileName; }
    QString fileName() const { return m_fileName; }
    // The folder of the file chosen last in either dialog; empty before the first choice.
    QString folder() const { return *m_folder; }

    // Shows the dialog modally; true when the user chose a file, which fileName() then holds.
    bool execute(QWidget* parent);

    // From now on both dialogs open in the folder of the file chosen last in either. Only for this run:
    // the program keeps no list of where its files are.
    void shareFolderWith(FileDialog* other) { other->m_folder = m_folder; }

private:
    Mode m_mode;
    std::shared_ptr<FileChooser> m_chooser;
    QString m_filter;
    QString m_fileName;
    std::shared_ptr<QString> m_folder = std::make_shared<QString>();
};

} // namespace quarn
