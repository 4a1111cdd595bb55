#include "SecretClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace quarn {

namespace {

QMimeData* secretText(const QString& text)
{
    auto* data = new QMimeData;
    data->setText(text);
#ifdef Q_OS_WIN
    // The clipboard formats Windows reads to keep a text out of its history and cloud clipboard, and which
    // clipboard tools honour; Qt registers a format by the name it is given here.
    const QByteArray no(4, '\0'); // a DWORD 0
    data->setData(
        QStringLiteral("application/x-qt-windows-mime;value=\"ExcludeClipboardContentFromMonitorProcessing\""), no);
    data->setData(QStringLiteral("application/x-qt-windows-mime;value=\"CanIncludeInClipboardHistory\""), no);
    data->setData(QStringLiteral("application/x-qt-windows-mime;value=\"CanUploadToCloudClipboard\""), no);
#else
    data->setData(QLatin1String(ClipboardRule::SecretHint), QByteArray(ClipboardRule::SecretHintValue));
#endif
    return data;
}

// Empties the clipboard where it holds `text`. A clipboard manager that took the text over (one that ignores
// the secret mark) is given an empty text in its place, which it takes over in turn; one that honours the
// mark never held it.
void takeBackClipboard(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->ownsClipboard()) {
        clipboard->clear(QClipboard::Clipboard);
    } else if (!text.isEmpty() && clipboard->text(QClipboard::Clipboard) == text) {
        // Also where the platform cannot tell the owner (Windows), by the text.
        clipboard->setMimeData(secretText(QString()), QClipboard::Clipboard);
    }
}

} // namespace

SecretClipboard::SecretClipboard(QObject* parent, int secretMilliseconds)
    : QObject(parent), m_secretMilliseconds(secretMilliseconds)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &SecretClipboard::takeBackIfStillOurs);
}

SecretClipboard::~SecretClipboard() = default;

void SecretClipboard::put(const QString& text, ClipboardRule::Content content)
{
    QGuiApplication::clipboard()->setMimeData(secretText(text), QClipboard::Clipboard);
    m_text = text;
    const int keep = content == ClipboardRule::Content::Secret ? m_secretMilliseconds : ClipboardRule::keptFor(content);
    if (keep > 0)
        m_timer.start(keep);
    else
        m_timer.stop();
}

void SecretClipboard::takeBackIfStillOurs()
{
    takeBackClipboard(m_text);
    m_text.clear();
}

void SecretClipboard::takeBack()
{
    m_timer.stop();
    QClipboard* clipboard = QGuiApplication::clipboard();
    takeBackIfStillOurs();
    // The primary selection holds a field's selected text, which the window never marks; whatever is ours
    // goes with the window.
    if (clipboard->supportsSelection() && clipboard->ownsSelection())
        clipboard->clear(QClipboard::Selection);
}

} // namespace quarn
