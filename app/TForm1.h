#pragma once

#include "CipherFlow.h"
#include "FileKinds.h"
#include "FilePath.h"
#include "GivenFiles.h"
#include "InputGroups.h"
#include "PadHistory.h"
#include "WindowHints.h"
#include "WindowSeams.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QMenu;
class QAction;
class QPushButton;

namespace Ui {
class TForm1;
}

namespace quarn {

class EncoderInput;
class FileDialog;
struct LoadedText;
class PicturePreparation;
class MessageBoxes;
class PrinterDialog;
class ResultField;
class SecretClipboard;

// The one window. Its widgets hold all working data; each slot reads the fields it needs, runs one
// operation and writes the result back.
class TForm1 : public QWidget
{
    Q_OBJECT

public:
    // Decodes its pictures itself.
    explicit TForm1(WindowSeams seams = WindowSeams(), QWidget* parent = nullptr);
    // Shows the pictures prepared while the application started, waiting for them if they are not ready yet.
    explicit TForm1(PicturePreparation& pictures, WindowSeams seams = WindowSeams(), QWidget* parent = nullptr);
    ~TForm1() override;

    // Whether the window may end with the desktop session. Asks, as closing does, when a pad would be lost and
    // `mayAsk` gives leave to; without leave the session ends as a kill signal would end it.
    bool sessionMayEnd(const std::function<bool()>& mayAsk);
    // Places the window in the available screen area; where it does not fit, its content scrolls. `frame` is
    // what the window manager is thought to add; once the window is framed, a frame that reaches past the area
    // is measured and the window fitted again.
    void fitInto(const QRect& available, const QMargins& frame);
    // Files given at start or handed over by a later start: each field takes the last file given for it,
    // through its button's load and questions, and one box sums up what came of them all.
    void openFiles(const QList<FilePath>& paths);
    // While a handler runs (a question or dialog of its own may be open), nothing else may start one.
    bool busy() const { return m_handlersRunning > 0; }

    FileDialog* OpenDialog1 = nullptr;
    FileDialog* SaveDialog1 = nullptr;
    PrinterDialog* PrintDialog = nullptr;
    QMenu* PMenue = nullptr;
    QAction* Einfuegen1 = nullptr;
    QMenu* PMenue_K = nullptr;
    QAction* Kopieren1 = nullptr;
    QAction* ArbeitsblattDrucken1 = nullptr;
    QAction* ArbeitsblattSpeichern1 = nullptr;

public slots:
    void Quarn();
    void OTPErzeugeClick();
    void bt_OTPCryptClick();
    void bt_OTPLoadClick();
    void bt_OTPSaveClick();
    void bt_OTPPrintClick();
    void bt_QuarnInLoadClick();
    void bt_QuarnDecryptSaveClick();
    void bt_QuarnDecryptPrintClick();
    void QuarnDeCoder();
    void Einfuegen1Click();
    void Kopieren1Click();
    void ArbeitsblattDrucken1Click();
    void ArbeitsblattSpeichern1Click();

    // Where the context menus open; the menus remember the field (their popup component).
    void openInputMenu(const QPoint& globalPos);
    void openResultMenu(QWidget* field, const QPoint& globalPos);

protected:
    // Asks before a pad that carries a message is lost with the window.
    void closeEvent(QCloseEvent* event) override;

private:
    TForm1(PicturePreparation* pictures, WindowSeams seams, QWidget* parent);
    MessageBoxes& boxes() const { return *m_seams.boxes; }
    void setUpWindow();
    void setUpFrame();
    void setUpWidgets();
    void setUpKeys();
    void setUpPictures(PicturePreparation* prepared);
    void setUpGlyphs();
    void setUpMenus();
    void connectFieldMenus();
    void connectCopyAndPaste();
    void setUpAccessibleNames();
    void nameInputAfterItsLabel();
    void putIntoScrollArea(const QSize& size);
    // A widget of its own that takes the window's widgets, as they lie.
    QWidget* takeContent();
    void loadPad(const FilePath& path);
    void loadInput(const FilePath& path);
    // A file already read into its field, after the field's questions; false when it was not taken.
    bool takePad(const FilePath& path, const LoadedText& loaded);
    bool takeInput(const FilePath& path, const LoadedText& loaded);
    // A load's notice: shown, or kept for the summary while files given at once are opened.
    void tell(const QString& notice);
    // Files given at once, after their fields' questions; the notices for the summary.
    QStringList takeGivenFiles(const QList<FilePath>& paths, std::vector<GivenFiles::File>& files,
                               const QList<LoadedText>& loads);
    void connectHandlers();
    void connectMenuEntries();
    void connectSession();
    // The one place where a failure that escapes a handler is caught and shown.
    void runGuarded(void (TForm1::*handler)());
    void bind(QPushButton* button, void (TForm1::*handler)());
    bool decodeDirection() const;
    CipherDirection direction() const;
    // A disabled cipher button says what to press first.
    void setCipherEnabled(bool enabled, WindowHints::CipherWait why = WindowHints::CipherWait::NoGroups);
    // The input was changed: groups made from another text, and the result made of them, are taken away.
    void inputChanged();
    // The result field of the direction comes on screen, the other one goes.
    void showResultFieldOf(bool decode);
    // The empty input: nothing to cipher, save or print, and a hint of what to enter.
    void waitForInput();
    // The run's worksheet; without one, a notice says what to do first.
    std::optional<CipherRun> worksheetRun();
    // Encodes with the notices and the umlaut offer of what the encoder passed over.
    void encodeWithNotices(const QString& input);
    // The cipher's preconditions and questions; false when it must not run.
    bool mayCipher(const std::string& groups, const std::string& pad);
    void showCipherResult(const PadCipherResult& result, const std::string& groups);
    // Encodes into the groups field, with the cut notice; returns the input as the encoder took it.
    EncoderInput encodeIntoGroups(const QString& input);
    // The result field on screen: what the user sees is what a save or a print takes.
    const ResultField* shownResultField() const;
    std::string padInField() const;
    // Asks first when putting `replacement` (empty: some new pad) in the pad field would lose the pad there.
    bool mayReplacePad(const std::string& replacement = {});
    void showNewPad();
    // Offers today's name, asks before a file is written over, writes, and says what came of it. `write`
    // writes the file, which then holds `heldPad` (empty: no pad).
    bool saveThroughDialog(FileKind kind, const std::string& heldPad,
                           const std::function<Result<>(const QString& path)>& write);
    bool saveThroughDialog(FileKind kind, const QString& text);
    // The questions before a file is written over; false when the user declined.
    bool mayWriteOver(const QString& path, const std::string& heldPad);

    std::unique_ptr<Ui::TForm1> m_ui;
    WindowSeams m_seams;
    SecretClipboard* m_clipboard = nullptr;
    QPointer<QWidget> m_popupComponent;
    // What became of the pads of this run, as digests; gone when the program ends.
    PadHistory m_padHistory;
    // The pad field's text when the user let the session end: the session's close asks no second time, until
    // the user works on.
    QString m_padLetGo;
    // The decoded text, not the cipher output, is the result on screen.
    bool m_decodedShown = false;
    std::string m_encodedText; // what "Kodieren" last encoded
    std::optional<CipherRun> m_lastRun;
    int m_handlersRunning = 0;
    QStringList* m_told = nullptr;
    InputGroups m_groups;
};

} // namespace quarn
