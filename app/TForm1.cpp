#include "TForm1.h"

#include "CipherFlow.h"
#include "Clock.h"
#include "DateFileName.h"
#include "DirectionRules.h"
#include "EncoderInput.h"
#include "FileDialog.h"
#include "FileKinds.h"
#include "GivenFiles.h"
#include "GlyphLoader.h"
#include "HardLinks.h"
#include "InputText.h"
#include "MessageBoxes.h"
#include "Messages.h"
#include "PadCipher.h"
#include "PadFileText.h"
#include "PadGenerator.h"
#include "PrinterDialog.h"
#include "RandomSource.h"
#include "SecretClipboard.h"
#include "TableText.h"
#include "TextBytes.h"
#include "TextFile.h"
#include "WindowFit.h"
#include "WindowKeys.h"
#include "WindowPictures.h"
#include "Worksheet.h"
#include "WorksheetDocument.h"
#include "ui_TForm1.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QPixmap>
#include <QProxyStyle>
#include <QScopeGuard>
#include <algorithm>
#if QT_CONFIG(sessionmanager)
#include <QSessionManager>
#endif
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

namespace quarn {

namespace {

// The toolkit's style with radio indicators small enough for 13-pixel-high buttons. (A style sheet would do the
// same at a cost of milliseconds at start-up.)
class CompactRadioStyle : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_ExclusiveIndicatorWidth || metric == PM_ExclusiveIndicatorHeight)
            return 11;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

void glyph(QPushButton* button, const QIcon& icon, bool right)
{
    button->setIcon(icon);
    button->setIconSize(QSize(16, 16));
    // A push button draws its icon before the text; mirrored, the icon follows it.
    if (right)
        button->setLayoutDirection(Qt::RightToLeft);
}

// A screen reader names a button by its caption, without the trailing blank some captions have.
void setCaption(QAbstractButton* button, const QString& caption)
{
    button->setText(caption);
    button->setAccessibleName(caption.trimmed());
}

QFont windowFont()
{
    const QString family = QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif"))
                               ? QStringLiteral("MS Sans Serif")
                               : QStringLiteral("Liberation Sans");
    QFont font(family);
    font.setPointSize(8);
    return font;
}

// A screen reader tells the user the window is a frame of its own (a bare widget would be a "filler").
QAccessibleInterface* windowAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("quarn::TForm1") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    return nullptr;
}

// Runs `then` once, after the first paint of `window` has reached the screen.
void whenFirstPainted(QWidget* window, std::function<void()> then)
{
    class Watcher : public QObject
    {
    public:
        Watcher(QWidget* window, std::function<void()> then) : QObject(window), m_then(std::move(then)) {}

    protected:
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Paint) {
                watched->removeEventFilter(this);
                QTimer::singleShot(0, this, [this] {
                    m_then();
                    deleteLater();
                });
            }
            return false;
        }

    private:
        std::function<void()> m_then;
    };
    window->installEventFilter(new Watcher(window, std::move(then)));
}

// However the focus comes (Tab, a click, a screen reader), the focused widget scrolls into view.
void scrollFocusIntoView(QScrollArea* area)
{
    QObject::connect(qApp, &QApplication::focusChanged, area, [area](QWidget*, QWidget* now) {
        // The whole widget, not only a text field's caret, as far as the view holds it.
        if (now && area->widget()->isAncestorOf(now)) {
            const QRect shown(now->mapTo(area->widget(), QPoint(0, 0)), now->size());
            area->ensureVisible(shown.center().x(), shown.center().y(), shown.width() / 2 + 4, shown.height() / 2 + 4);
        }
    });
}

} // namespace

TForm1::TForm1(WindowSeams seams, QWidget* parent) : TForm1(nullptr, std::move(seams), parent) {}

TForm1::TForm1(PicturePreparation& pictures, WindowSeams seams, QWidget* parent)
    : TForm1(&pictures, std::move(seams), parent)
{}

TForm1::TForm1(PicturePreparation* pictures, WindowSeams seams, QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::TForm1>()), m_seams(std::move(seams))
{
    static const bool accessibleWindow = (QAccessible::installFactory(windowAccessible), true);
    Q_UNUSED(accessibleWindow);
    // The font first, so that every widget the form creates takes it.
    setFont(windowFont());
    m_ui->setupUi(this);
    OpenDialog1 = new FileDialog(FileDialog::Mode::Open, QStringLiteral("OpenDialog1"), m_seams.files, this);
    SaveDialog1 = new FileDialog(FileDialog::Mode::Save, QStringLiteral("SaveDialog1"), m_seams.files, this);
    OpenDialog1->shareFolderWith(SaveDialog1);
    PrintDialog = new PrinterDialog(QStringLiteral("PrintDialog"), m_seams.printer, this);
    m_clipboard = new SecretClipboard(this, m_seams.secretMilliseconds);
    setUpWindow();
    setUpPictures(pictures);
    setUpGlyphs();
    setUpMenus();
    setUpAccessibleNames();
    connectHandlers();
}

TForm1::~TForm1()
{
    m_clipboard->takeBack();
}

void TForm1::setUpWindow()
{
    setUpFrame();
    setUpWidgets();
    setUpKeys();
    setCipherEnabled(false);
}

void TForm1::setUpFrame()
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(800, 799);
    move(300, 118);
    QPalette face = palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    setPalette(face);
    setAutoFillBackground(true);
}

void TForm1::setUpWidgets()
{
    // Labels and pictures lie under every other sibling.
    for (QLabel* w : {m_ui->Label2, m_ui->Label19, m_ui->Label20, m_ui->QuarnKarte, m_ui->QuarnKarte1})
        w->lower();

    // Labels grow with their caption, as the captions change with the direction.
    for (QLabel* label : {m_ui->Label2, m_ui->Label19, m_ui->Label20})
        label->adjustSize();
    // Label2 lies under the page control, where nobody sees it; as a hidden window of its own it stays out of
    // what a screen reader reports as showing.
    m_ui->Label2->setWindowFlags(Qt::Window);
    // The radio buttons are 13 pixels high: their indicators must fit.
    auto* radioStyle = new CompactRadioStyle;
    radioStyle->setParent(this);
    for (QRadioButton* radio : {m_ui->rb_QuarnCode, m_ui->rb_QuarnDecod})
        radio->setStyle(radioStyle);

    m_ui->PageControl1->setCursor(Qt::PointingHandCursor);
    m_ui->QuarnSeite->setCursor(Qt::ArrowCursor);
    m_ui->QuarnIn->setInputLimit(int(DirectionRules::of(CipherDirection::Encode).typedLimit));
    m_ui->RadioGroup7->setFocusPolicy(Qt::NoFocus);
}

void TForm1::setUpKeys()
{
    // Enter runs a button only while it has the focus; no button is the window's default.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(true);
        button->setDefault(false);
    }
    takeEnterWithoutModifiersOnly(findChildren<QPushButton*>());
    tabStopOnSelectedOnly({m_ui->rb_QuarnCode, m_ui->rb_QuarnDecod});
}

void TForm1::setUpPictures(PicturePreparation* prepared)
{
    // Decoded before the window can be seen, so both appear whole in its first frame and the card needs no
    // partial images.
    const WindowPictures pictures = prepared ? prepared->take() : WindowPictures::decode();
    const auto show = [](QLabel* box, const BoxPicture& picture) {
        box->setScaledContents(true);
        box->setAlignment(Qt::AlignCenter);
        // The box stretches what it is given when it paints; a picture fitted ahead leaves it nothing to do.
        const bool fits = picture.fitted.size() == box->contentsRect().size() * box->devicePixelRatio();
        const QImage& image = fits ? picture.fitted : picture.decoded;
        if (!image.isNull())
            box->setPixmap(QPixmap::fromImage(image));
    };
    show(m_ui->QuarnKarte, pictures.card);
    show(m_ui->QuarnKarte1, pictures.sheet);
}

void TForm1::setUpGlyphs()
{
    // Each file read once; buttons with the same picture share its icon.
    const auto load = [](const char* name) {
        return GlyphLoader::load(QStringLiteral(":/glyphs/%1.bmp").arg(QLatin1String(name)));
    };
    const QIcon key = load("key");
    const QIcon pages = load("pages");
    const QIcon open = load("open");
    const QIcon save = load("save");
    const QIcon print = load("print");
    glyph(m_ui->bt_OTPkey, key, false);
    glyph(m_ui->bt_OTPCrypt, pages, true);
    glyph(m_ui->bt_OTPLoad, open, true);
    glyph(m_ui->bt_QuarnInLoad, open, true);
    glyph(m_ui->bt_OTPSave, save, true);
    glyph(m_ui->bt_QuarnDecryptSave, save, true);
    glyph(m_ui->bt_OTPPrint, print, true);
    glyph(m_ui->bt_QuarnDecryptPrint, print, true);
}

void TForm1::setUpMenus()
{
    PMenue = new QMenu(this);
    PMenue->setObjectName(QStringLiteral("PMenue"));
    Einfuegen1 = PMenue->addAction(QString::fromStdString(Captions::paste()));
    Einfuegen1->setObjectName(QStringLiteral("Einfuegen1"));
    PMenue_K = new QMenu(this);
    PMenue_K->setObjectName(QStringLiteral("PMenue_K"));
    Kopieren1 = PMenue_K->addAction(QString::fromStdString(Captions::copy()));
    Kopieren1->setObjectName(QStringLiteral("Kopieren1"));
    ArbeitsblattDrucken1 = PMenue_K->addAction(QString::fromStdString(Captions::printWorksheet()));
    ArbeitsblattDrucken1->setObjectName(QStringLiteral("ArbeitsblattDrucken1"));
    ArbeitsblattSpeichern1 = PMenue_K->addAction(QString::fromStdString(Captions::saveWorksheet()));
    ArbeitsblattSpeichern1->setObjectName(QStringLiteral("ArbeitsblattSpeichern1"));
    // The worksheet is found in the menu only: the fields say what it offers.
    std::vector<std::string> entries;
    for (const QAction* action : PMenue_K->actions())
        entries.push_back(action->text().toStdString());
    for (ResultField* field : {m_ui->OTPCryptOut, m_ui->QuarnDecrypt}) {
        field->setToolTip(QString::fromStdString(WindowHints::resultField(entries)));
        field->setAccessibleDescription(field->toolTip());
    }
    connectFieldMenus();
    connectCopyAndPaste();
}

void TForm1::connectFieldMenus()
{
    // Only the program's own menus open; the two other fields have none.
    connect(m_ui->QuarnIn, &UpperCaseLineEdit::contextMenuWanted, this, &TForm1::openInputMenu);
    connect(m_ui->OTPCryptOut, &ResultField::contextMenuWanted, this,
            [this](const QPoint& at) { openResultMenu(m_ui->OTPCryptOut, at); });
    connect(m_ui->QuarnDecrypt, &ResultField::contextMenuWanted, this,
            [this](const QPoint& at) { openResultMenu(m_ui->QuarnDecrypt, at); });
}

void TForm1::connectCopyAndPaste()
{
    // The copy keys take the menu's secret path; the pad and the decoded text publish no selection.
    // The groups in encode direction are the plain text in the table's code.
    for (ResultField* field : {m_ui->OTPOut, m_ui->QuarnDecrypt, m_ui->fuenfergruppenOut})
        field->setSecret(true);
    for (ResultField* field : {m_ui->OTPOut, m_ui->OTPCryptOut, m_ui->QuarnDecrypt, m_ui->fuenfergruppenOut})
        connect(field, &ResultField::copyWanted, this, [this, field](const QString& text) {
            m_clipboard->put(text, field == m_ui->OTPCryptOut ? ClipboardRule::Content::Cipher
                                                              : ClipboardRule::Content::Secret);
        });
    // A paste or drop that did not fit is never cut without a word.
    connect(m_ui->QuarnIn, &UpperCaseLineEdit::inputCut, this, [this](int kept, int given) {
        boxes().information(this, InputText::cutNotice(std::size_t(kept), std::size_t(given),
                                                       std::size_t(m_ui->QuarnIn->inputLimit())));
    });
}

void TForm1::setUpAccessibleNames()
{
    // A field with a visible label is named by it; the others after what they hold.
    m_ui->Label19->setBuddy(m_ui->QuarnIn);
    m_ui->Label20->setBuddy(m_ui->fuenfergruppenOut);
    nameInputAfterItsLabel();
    m_ui->fuenfergruppenOut->setAccessibleName(m_ui->Label20->text());
    m_ui->OTPOut->setAccessibleName(QString::fromStdString(Captions::padField()));
    m_ui->OTPCryptOut->setAccessibleName(QString::fromStdString(Captions::cipherField()));
    m_ui->QuarnDecrypt->setAccessibleName(QString::fromStdString(Captions::decodedField()));
    // The pictures in words, for those who cannot see them.
    m_ui->QuarnKarte->setAccessibleName(QString::fromStdString(Captions::card()));
    m_ui->QuarnKarte->setAccessibleDescription(fromWindows1252(TableText::card()));
    m_ui->QuarnKarte1->setAccessibleName(fromWindows1252(TableText::notesTitle()));
    m_ui->QuarnKarte1->setAccessibleDescription(fromWindows1252(TableText::notes()));
    for (QAbstractButton* button : findChildren<QAbstractButton*>())
        setCaption(button, button->text());
}

// Set, not only taken from the buddy, so that a screen reader hears of the change with the direction.
void TForm1::nameInputAfterItsLabel()
{
    m_ui->QuarnIn->setAccessibleName(m_ui->Label19->text());
}

void TForm1::fitInto(const QRect& available, const QMargins& frame)
{
    auto* area = findChild<QScrollArea*>(QStringLiteral("Rollbereich"), Qt::FindDirectChildrenOnly);
    const QSize content = area ? area->widget()->size() : size();
    const WindowFit fit = fitWindow(available, content, frame, pos(), style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    if (area) {
        setFixedSize(fit.clientSize);
        area->resize(fit.clientSize);
    } else if (fit.scrolls) {
        putIntoScrollArea(fit.clientSize);
    }
    move(fit.position);
    // The frame a window manager draws is known once it has framed the window, by its first frame on screen.
    if (!isVisible())
        whenFirstPainted(this, [this, available] {
            const QRect outer = frameGeometry();
            if (available.contains(outer))
                return;
            const QRect client = geometry();
            fitInto(available, QMargins(client.left() - outer.left(), client.top() - outer.top(),
                                        outer.right() - client.right(), outer.bottom() - client.bottom()));
        });
}

void TForm1::putIntoScrollArea(const QSize& size)
{
    // Moving widgets to another parent puts them at the end of the focus chain: the order is noted first.
    QList<QWidget*> focusChain;
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain())
        if (w->window() == this)
            focusChain.append(w);

    // The widgets move before the area is made, which must stay the window's own.
    QWidget* content = takeContent();
    auto* area = new QScrollArea(this);
    area->setObjectName(QStringLiteral("Rollbereich"));
    area->setFrameShape(QFrame::NoFrame);
    area->setFocusPolicy(Qt::NoFocus);
    area->setWidget(content);
    area->setGeometry(0, 0, size.width(), size.height());
    area->show();
    setFixedSize(size);
    for (qsizetype i = 0; i + 1 < focusChain.size(); ++i)
        setTabOrder(focusChain[i], focusChain[i + 1]);
    scrollFocusIntoView(area);
}

QWidget* TForm1::takeContent()
{
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("Form1Inhalt"));
    content->setFixedSize(this->size());
    content->setPalette(palette());
    content->setAutoFillBackground(true);
    // In stacking order, bottom first, so that what lay above still does.
    const QObjectList kids = children();
    for (QObject* child : kids) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget->isWindow())
            continue;
        const QRect geometry = widget->geometry();
        const bool hidden = widget->isHidden();
        widget->setParent(content);
        widget->setGeometry(geometry);
        widget->setHidden(hidden);
    }
    return content;
}

void TForm1::runGuarded(void (TForm1::*handler)())
{
    // The user works on after a logout that was called off: the next close asks again.
    m_padLetGo.clear();
    ++m_handlersRunning;
    const auto done = qScopeGuard([this] { --m_handlersRunning; });
    try {
        (this->*handler)();
    } catch (const Failed& failed) {
        boxes().error(this, QString::fromStdString(Messages::text(failed.failure())));
    } catch (const std::exception& e) {
        // What the libraries throw (memory running out) in the words they have.
        boxes().error(this, QString::fromUtf8(e.what()));
    }
}

void TForm1::bind(QPushButton* button, void (TForm1::*handler)())
{
    connect(button, &QPushButton::clicked, this, [this, handler] { runGuarded(handler); });
}

void TForm1::connectHandlers()
{
    bind(m_ui->bt_kodieren, &TForm1::Quarn);
    bind(m_ui->bt_OTPkey, &TForm1::OTPErzeugeClick);
    bind(m_ui->bt_OTPCrypt, &TForm1::bt_OTPCryptClick);
    bind(m_ui->bt_OTPLoad, &TForm1::bt_OTPLoadClick);
    bind(m_ui->bt_OTPSave, &TForm1::bt_OTPSaveClick);
    bind(m_ui->bt_OTPPrint, &TForm1::bt_OTPPrintClick);
    bind(m_ui->bt_QuarnInLoad, &TForm1::bt_QuarnInLoadClick);
    bind(m_ui->bt_QuarnDecryptSave, &TForm1::bt_QuarnDecryptSaveClick);
    bind(m_ui->bt_QuarnDecryptPrint, &TForm1::bt_QuarnDecryptPrintClick);
    // Runs once per change of direction, for the newly selected button only.
    for (QRadioButton* radio : {m_ui->rb_QuarnCode, m_ui->rb_QuarnDecod})
        connect(radio, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                runGuarded(&TForm1::QuarnDeCoder);
        });
    // Groups made from another text must not pass for this one's.
    connect(m_ui->QuarnIn, &QLineEdit::textChanged, this, &TForm1::inputChanged);
    connectMenuEntries();
    connectSession();
}

void TForm1::connectMenuEntries()
{
    connect(Einfuegen1, &QAction::triggered, this, [this] { runGuarded(&TForm1::Einfuegen1Click); });
    connect(Kopieren1, &QAction::triggered, this, [this] { runGuarded(&TForm1::Kopieren1Click); });
    connect(ArbeitsblattDrucken1, &QAction::triggered, this,
            [this] { runGuarded(&TForm1::ArbeitsblattDrucken1Click); });
    connect(ArbeitsblattSpeichern1, &QAction::triggered, this,
            [this] { runGuarded(&TForm1::ArbeitsblattSpeichern1Click); });
}

void TForm1::connectSession()
{
#if QT_CONFIG(sessionmanager)
    // Qt would answer the session manager without asking; a lost pad is worth the user's word.
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        if (!sessionMayEnd([&manager] { return manager.allowsInteraction(); }))
            manager.cancel();
    });
#endif
}

bool TForm1::decodeDirection() const
{
    return m_ui->rb_QuarnDecod->isChecked();
}

CipherDirection TForm1::direction() const
{
    return decodeDirection() ? CipherDirection::Decode : CipherDirection::Encode;
}

// Work flow

std::string TForm1::padInField() const
{
    return toWindows1252(m_ui->OTPOut->fieldText());
}

bool TForm1::sessionMayEnd(const std::function<bool()>& mayAsk)
{
    // Once let go for the session, the pad is not asked about again when the session closes the window.
    const std::optional<Question> question = closeQuestion(m_padHistory, padInField());
    if (!question || m_ui->OTPOut->fieldText() == m_padLetGo || !mayAsk())
        return true;
    if (!boxes().confirm(this, *question))
        return false;
    m_padLetGo = m_ui->OTPOut->fieldText();
    return true;
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (!sessionMayEnd([] { return true; })) {
        event->ignore();
        return;
    }
    // Before Qt hands the clipboard to a clipboard manager at the end.
    m_clipboard->takeBack();
    QWidget::closeEvent(event);
}

bool TForm1::mayReplacePad(const std::string& replacement)
{
    const std::optional<Question> question = replaceQuestion(m_padHistory, padInField(), replacement);
    return !question || boxes().confirm(this, *question);
}

void TForm1::QuarnDeCoder()
{
    // The result stays on screen until the next "Kodieren"; the emptied input takes nothing away.
    m_groups.forget();
    // Emptied for good: undo must not bring a text of the other direction back past the new limit.
    m_ui->QuarnIn->setProgramText(QString());
    m_ui->fuenfergruppenOut->clearField();
    m_ui->QuarnDecrypt->clearField();
    m_lastRun.reset();

    const DirectionRules& rules = DirectionRules::of(direction());
    m_ui->Label19->setText(QString::fromStdString(rules.inputCaption));
    m_ui->Label19->adjustSize();
    nameInputAfterItsLabel();
    setCaption(m_ui->bt_kodieren, decodeDirection() ? m_ui->rb_QuarnDecod->text() : m_ui->rb_QuarnCode->text());
    setCaption(m_ui->bt_OTPCrypt, QString::fromStdString(rules.cipherButton));
    setCaption(m_ui->bt_QuarnInLoad, QString::fromStdString(rules.loadButton));
    m_ui->QuarnIn->setInputLimit(int(rules.typedLimit));
    setCipherEnabled(false);
}

void TForm1::setCipherEnabled(bool enabled, WindowHints::CipherWait why)
{
    m_ui->bt_OTPCrypt->setEnabled(enabled);
    const QString hint =
        enabled ? QString() : QString::fromStdString(WindowHints::cipherButton(decodeDirection(), why));
    m_ui->bt_OTPCrypt->setToolTip(hint);
    m_ui->bt_OTPCrypt->setAccessibleDescription(hint);
}

void TForm1::inputChanged()
{
    const InputGroups::Stale stale = m_groups.inputIs(m_ui->QuarnIn->text().toStdU32String());
    if (!stale.groups)
        return;
    m_ui->fuenfergruppenOut->clearField();
    setCipherEnabled(false, WindowHints::CipherWait::InputChanged);
    if (!stale.result)
        return;
    m_ui->OTPCryptOut->clearField();
    m_ui->QuarnDecrypt->clearField();
    m_ui->bt_QuarnDecryptSave->setEnabled(false);
    m_ui->bt_QuarnDecryptPrint->setEnabled(false);
    m_lastRun.reset();
}

void TForm1::Quarn()
{
    m_ui->QuarnDecrypt->clearField();
    m_lastRun.reset();
    m_groups.forget();
    const bool decode = decodeDirection();
    showResultFieldOf(decode);

    const QString input = m_ui->QuarnIn->text();
    if (input.isEmpty()) {
        waitForInput();
        return;
    }
    if (decode)
        m_ui->fuenfergruppenOut->setFieldText(input);
    else
        encodeWithNotices(input);
    m_groups.made(m_ui->QuarnIn->text().toStdU32String());
    setCipherEnabled(true);
}

void TForm1::showResultFieldOf(bool decode)
{
    if (m_decodedShown == decode)
        return;
    m_decodedShown = decode;
    m_ui->QuarnDecrypt->setVisible(decode);
    m_ui->OTPCryptOut->setVisible(!decode);
}

void TForm1::waitForInput()
{
    setCipherEnabled(false, WindowHints::CipherWait::EmptyInput);
    m_ui->bt_QuarnDecryptSave->setEnabled(false);
    m_ui->bt_QuarnDecryptPrint->setEnabled(false);
    m_ui->QuarnIn->setPlaceholderText(QString::fromStdString(Messages::enterText()));
}

void TForm1::encodeWithNotices(const QString& input)
{
    // A character the table lacks changes the message: the user is told which ones were left out.
    const EncoderInput encoded = encodeIntoGroups(input);
    std::string notice = encoded.notice();
    if (encoded.offersGermanLetters()) {
        // Umlauts and ß are offered as they are written by hand; the question names all that was left out, and
        // what the limit would cut off.
        const QString spelled =
            QString::fromStdU32String(EncoderInput::withGermanLettersSpelledOut(input.toStdU32String()));
        const int limit = m_ui->QuarnIn->inputLimit();
        const int lost = std::max(0, UpperCaseLineEdit::visibleLength(spelled) - limit);
        const bool spell = boxes().confirm(this, encoded.question(std::size_t(lost), std::size_t(limit)));
        notice.clear();
        if (spell) {
            m_ui->QuarnIn->replaceLimited(spelled);
            notice = encodeIntoGroups(m_ui->QuarnIn->text()).notice();
        }
    }
    if (!notice.empty())
        boxes().information(this, notice);
}

EncoderInput TForm1::encodeIntoGroups(const QString& input)
{
    EncoderInput encoded = EncoderInput::of(input.toStdU32String());
    m_encodedText = encoded.bytes();
    const GroupLayout layout = encoded.encode();
    m_ui->fuenfergruppenOut->setFieldText(fromWindows1252(layout.text));
    if (layout.limitReached)
        boxes().information(this, Messages::codeCut());
    return encoded;
}

const ResultField* TForm1::shownResultField() const
{
    return m_decodedShown ? m_ui->QuarnDecrypt : m_ui->OTPCryptOut;
}

void TForm1::OTPErzeugeClick()
{
    if (mayReplacePad())
        showNewPad();
}

void TForm1::showNewPad()
{
    // Drawn before the field is touched: a generator that fails leaves the pad that was there.
    const std::string pad = PadGenerator::generate(*m_seams.random);
    m_ui->OTPOut->setFieldText(fromWindows1252(pad));
    m_padHistory.made(pad);
    m_ui->bt_OTPSave->setEnabled(true);
    m_ui->bt_OTPPrint->setEnabled(true);
}

void TForm1::bt_OTPCryptClick()
{
    const std::string groups = toWindows1252(m_ui->fuenfergruppenOut->fieldText());
    const std::string pad = padInField();
    if (!mayCipher(groups, pad))
        return;
    m_ui->OTPCryptOut->clearField();
    PadCipherCallbacks callbacks;
    callbacks.newPad = [this] {
        showNewPad();
        return padInField();
    };
    // The fields take the result once, at the end: no redraw per digit.
    showCipherResult(PadCipher::run(groups, pad, direction(), callbacks), groups);
}

bool TForm1::mayCipher(const std::string& groups, const std::string& pad)
{
    const CipherPlan plan = CipherPlan::of(m_padHistory, direction(), groups, pad);
    // No earlier cipher may stay to be saved as this message's.
    if (plan.stop == CipherPlan::Stop::NothingToCipher)
        m_ui->OTPCryptOut->clearField();
    if (plan.stop == CipherPlan::Stop::LoadPadFirst)
        boxes().information(this, Messages::loadPadFirst());
    if (plan.stop != CipherPlan::Stop::None)
        return false;
    return std::all_of(plan.questions.begin(), plan.questions.end(),
                       [this](const Question& question) { return boxes().confirm(this, question); });
}

void TForm1::showCipherResult(const PadCipherResult& result, const std::string& groups)
{
    const bool decode = decodeDirection();
    // Even a cipher stopped part way has put pad digits into an output.
    if (!decode && !result.digits.empty())
        m_padHistory.enciphered(result.pad, groups);
    m_ui->OTPCryptOut->setFieldText(fromWindows1252(result.output));
    m_groups.resultMade();
    if (decode)
        m_ui->QuarnDecrypt->setFieldText(fromWindows1252(result.decoded));
    if (result.failure)
        throw Failed(*result.failure);
    // A message deciphered to its end is one this pad carries; the text is shown all the same.
    const bool secondMessage = decode && m_padHistory.deciphered(result.pad, result.output);
    m_lastRun = CipherRun{decode ? groups : m_encodedText, result.pad, direction()};
    m_ui->bt_QuarnDecryptSave->setEnabled(true);
    m_ui->bt_QuarnDecryptPrint->setEnabled(true);
    if (secondMessage)
        boxes().information(this, Messages::secondMessage());
}

// Clipboard

void TForm1::openInputMenu(const QPoint& globalPos)
{
    m_popupComponent = m_ui->QuarnIn;
    PMenue->popup(globalPos);
}

void TForm1::openResultMenu(QWidget* field, const QPoint& globalPos)
{
    m_popupComponent = field;
    PMenue_K->popup(globalPos);
}

void TForm1::Einfuegen1Click()
{
    m_ui->QuarnIn->pasteLimited();
}

void TForm1::Kopieren1Click()
{
    if (m_popupComponent == m_ui->QuarnDecrypt) {
        m_ui->QuarnDecrypt->selectAll();
        if (!m_ui->QuarnDecrypt->fieldText().isEmpty())
            m_clipboard->put(m_ui->QuarnDecrypt->selectedText(), ClipboardRule::Content::Secret);
    } else if (m_popupComponent == m_ui->OTPCryptOut) {
        m_clipboard->put(m_ui->OTPCryptOut->fieldText(), ClipboardRule::Content::Cipher);
    }
}

// Files

namespace {

// How the pad history knows a file: by its canonical path, so that two spellings are one file.
std::string fileKey(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return (canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical).toStdString();
}

} // namespace

// A refused or failed save never shows the written notice, and a failed one leaves the old file whole.
bool TForm1::saveThroughDialog(FileKind kind, const std::string& heldPad,
                               const std::function<Result<>(const QString& path)>& write)
{
    const FileKindRules& rules = FileKindRules::of(kind);
    SaveDialog1->setFileName(DateFileName::today(*m_seams.clock, QString::fromStdString(rules.extension)));
    SaveDialog1->setFilter(QString::fromStdString(rules.saveFilter));
    if (!SaveDialog1->execute(this))
        return false;
    // The path as chosen, however long: cutting it would write to some other file.
    const QString path = SaveDialog1->fileName();
    const std::string name = TextFile::lastPart(path).toStdString();
    if (TextFile::isFile(path) && !mayWriteOver(path, heldPad)) {
        boxes().information(this, rules.namedAsPad ? Messages::padNotSaved() : Messages::notSaved(name));
        return false;
    }
    if (const Result<> written = write(path); !written) {
        boxes().information(this, Messages::notWritten(name, Messages::text(written.failure())));
        return false;
    }
    m_padHistory.written(fileKey(path), heldPad);
    boxes().information(this, rules.namedAsPad ? Messages::padSaved() : Messages::saved(name));
    return true;
}

bool TForm1::mayWriteOver(const QString& path, const std::string& heldPad)
{
    const std::string name = TextFile::lastPart(path).toStdString();
    const bool losesPad = m_padHistory.fileHoldsUsedPad(fileKey(path), heldPad);
    // A file with other names keeps its old content under them: the user is told first, "&Nein" the default.
    const bool otherNames = TextFile::nameCount(path) > 1;
    if (otherNames && !boxes().confirm(this, Messages::otherNames(name, !heldPad.empty())))
        return false;
    if (otherNames && !losesPad)
        return true;
    return boxes().confirm(this, losesPad ? Messages::overwriteUsedPad(name) : Messages::overwrite(name));
}

bool TForm1::saveThroughDialog(FileKind kind, const QString& text)
{
    const bool pad = kind == FileKind::Pad;
    return saveThroughDialog(kind, pad ? toWindows1252(text) : std::string(), [&](const QString& path) {
        const TextFile::Access access =
            FileKindRules::of(kind).ownerOnly ? TextFile::Access::OwnerOnly : TextFile::Access::Usual;
        return pad ? TextFile::writePad(path, text) : TextFile::write(path, text, access);
    });
}

void TForm1::bt_OTPLoadClick()
{
    OpenDialog1->setFilter(QString::fromStdString(FileKindRules::of(FileKind::Pad).openFilter));
    if (!OpenDialog1->execute(this))
        return;
    loadPad(OpenDialog1->fileName());
}

void TForm1::loadPad(const FilePath& path)
{
    takePad(path, TextFile::readPad(path));
}

namespace {

// What the button's load says of a file it cannot take.
QString refusal(const QString& name, const LoadedText& loaded)
{
    return QString::fromStdString(Messages::notLoaded(name.toStdString(), *loaded.failure));
}

LoadedText readInput(const FilePath& path, bool decode)
{
    const DirectionRules& rules = DirectionRules::of(decode ? CipherDirection::Decode : CipherDirection::Encode);
    return TextFile::readInput(path, qsizetype(rules.loadedLimit));
}

} // namespace

bool TForm1::takePad(const FilePath& path, const LoadedText& loaded)
{
    if (!loaded.ok()) {
        tell(refusal(TextFile::lastPart(path.shown()), loaded));
        return false;
    }
    const std::string pad = toWindows1252(loaded.text);
    if (!mayReplacePad(pad))
        return false;
    // A pad whose groups repeat cannot be random: asked, "&Nein" keeps the pad in the field.
    if (loaded.repeatedGroups > 0 &&
        !boxes().confirm(this, Messages::useRepeatedGroups(TextFile::lastPart(path.shown()).toStdString(),
                                                           std::size_t(loaded.repeatedGroups))))
        return false;
    // Loading a pad enables nothing: the work flow decides when the pad may be used.
    m_ui->OTPOut->setFieldText(loaded.text);
    m_padHistory.loaded(pad, fileKey(path.shown()));
    return true;
}

void TForm1::tell(const QString& notice)
{
    if (m_told)
        m_told->append(notice);
    else
        boxes().information(this, notice);
}

void TForm1::bt_OTPSaveClick()
{
    saveThroughDialog(FileKind::Pad, m_ui->OTPOut->fieldText());
}

void TForm1::bt_QuarnInLoadClick()
{
    const FileKind kind = decodeDirection() ? FileKind::CipherText : FileKind::PlainText;
    OpenDialog1->setFilter(QString::fromStdString(FileKindRules::of(kind).openFilter));
    if (!OpenDialog1->execute(this))
        return;
    loadInput(OpenDialog1->fileName());
}

void TForm1::loadInput(const FilePath& path)
{
    takeInput(path, readInput(path, decodeDirection()));
}

bool TForm1::takeInput(const FilePath& path, const LoadedText& loaded)
{
    const QString name = TextFile::lastPart(path.shown());
    if (!loaded.ok()) {
        tell(refusal(name, loaded));
        return false;
    }
    m_ui->QuarnIn->setProgramText(loaded.text);
    if (loaded.tooLarge)
        tell(QString::fromStdString(Messages::tooLarge(name.toStdString())));
    else if (!loaded.endOfTextNotice.isEmpty())
        tell(QString::fromStdString(Messages::endOfText(name.toStdString(), loaded.endOfTextNotice.toStdString())));
    return true;
}

void TForm1::bt_QuarnDecryptSaveClick()
{
    // The field on screen decides, with its file type: after a change of direction it still shows the
    // result, while the field of the new direction is empty.
    const ResultField* field = shownResultField();
    if (field->fieldText().isEmpty()) {
        boxes().information(this, Messages::nothingSaved());
        return;
    }
    const FileKind kind = field == m_ui->QuarnDecrypt ? FileKind::PlainText : FileKind::CipherText;
    saveThroughDialog(kind, field->fieldText());
}

namespace {

// Each file read once, as its button would read it, into `loads`; what each file is.
std::vector<GivenFiles::File> readGivenFiles(const QList<FilePath>& paths, QList<LoadedText>& loads)
{
    std::vector<GivenFiles::File> files;
    for (const FilePath& path : paths) {
        const QString name = TextFile::lastPart(path.shown());
        LoadedText pad = TextFile::readPad(path);
        const GivenFiles::Kind kind = GivenFiles::kindOf(name.toStdString(), pad.ok());
        // A file named as a pad but refused gets the pad's refusal.
        LoadedText loaded = kind == GivenFiles::Kind::Pad ? pad : readInput(path, kind == GivenFiles::Kind::Cipher);
        files.push_back({name.toStdString(), kind, loaded.ok() ? std::string() : refusal(name, loaded).toStdString()});
        loads.append(std::move(loaded));
    }
    return files;
}

} // namespace

void TForm1::openFiles(const QList<FilePath>& paths)
{
    // Each field takes its last file.
    QList<LoadedText> loads;
    std::vector<GivenFiles::File> files = readGivenFiles(paths, loads);
    const QStringList told = takeGivenFiles(paths, files, loads);
    std::vector<std::string> notices;
    for (const QString& notice : told)
        notices.push_back(notice.toStdString());
    const std::string summary = GivenFiles::summary(files, notices, !m_padHistory.needsPartnersPad(padInField()));
    if (!summary.empty())
        boxes().information(this, QString::fromStdString(summary));
}

QStringList TForm1::takeGivenFiles(const QList<FilePath>& paths, std::vector<GivenFiles::File>& files,
                                   const QList<LoadedText>& loads)
{
    QStringList told;
    m_told = &told;
    if (const auto pad = GivenFiles::chosenPad(files))
        files[*pad].declined = !takePad(paths[qsizetype(*pad)], loads[qsizetype(*pad)]);
    if (const auto input = GivenFiles::chosenInput(files)) {
        // As a click on the direction would: the input is emptied and the captions follow.
        const bool cipher = files[*input].kind == GivenFiles::Kind::Cipher;
        (cipher ? m_ui->rb_QuarnDecod : m_ui->rb_QuarnCode)->setChecked(true);
        takeInput(paths[qsizetype(*input)], loads[qsizetype(*input)]);
        // The partner's cipher is copied into the groups at once: with the pad, "Dechiffrieren" is next.
        if (cipher)
            runGuarded(&TForm1::Quarn);
    }
    m_told = nullptr;
    return told;
}

// Printing

void TForm1::bt_OTPPrintClick()
{
    if (PrintDialog->print(this, m_ui->OTPOut->displayLines(), m_ui->OTPOut->font()))
        m_padHistory.printed(toWindows1252(m_ui->OTPOut->fieldText()));
}

void TForm1::bt_QuarnDecryptPrintClick()
{
    // The result on screen, as for the save; both fields share one font.
    const ResultField* field = shownResultField();
    if (field->fieldText().isEmpty()) {
        boxes().information(this, Messages::nothingPrinted());
        return;
    }
    PrintDialog->print(this, field->displayLines(), m_ui->OTPCryptOut->font());
}

// Worksheet

namespace {

// The last run was a cipher that ran to its end, so its sheet builds; were it ever not to, the user is told.
Worksheet worksheetOf(const CipherRun& run)
{
    Result<Worksheet> sheet = Worksheet::build(run.input, run.pad, run.direction);
    if (!sheet)
        throw Failed(sheet.failure());
    return std::move(sheet).value();
}

} // namespace

std::optional<CipherRun> TForm1::worksheetRun()
{
    if (!m_lastRun)
        boxes().information(this, Messages::noWorksheetYet());
    return m_lastRun;
}

void TForm1::ArbeitsblattDrucken1Click()
{
    const std::optional<CipherRun> run = worksheetRun();
    if (!run)
        return;
    const Worksheet sheet = worksheetOf(*run);
    // The sheet holds the pad: on paper, it is kept.
    if (PrintDialog->print(this, WorksheetDocument::printJob(sheet, m_seams.clock->today())))
        m_padHistory.printed(run->pad);
}

void TForm1::ArbeitsblattSpeichern1Click()
{
    const std::optional<CipherRun> run = worksheetRun();
    if (!run)
        return;
    const Result<QByteArray> pdf =
        WorksheetDocument::pdf(worksheetOf(*run), m_seams.clock->today(), WorksheetDocument::preferredPaper());
    if (!pdf)
        throw Failed(pdf.failure());
    // Private to its owner, as a pad file is: the file holds the pad, and keeps it as a saved pad does.
    saveThroughDialog(FileKind::Worksheet, run->pad, [&pdf](const QString& path) {
        return TextFile::writeBinary(path, *pdf, TextFile::Access::OwnerOnly);
    });
}

} // namespace quarn
