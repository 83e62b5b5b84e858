#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>

class QLabel;
class TAnnouncer;

// The texts of the main window's status line. A lasting text (what the receiver's link or the
// network server reported last) stays until the next one; a notice (a refused entry, a damaged
// memory file) shows over it and gives way to it again when the user next tunes successfully or
// after a few seconds (NoticeTime), so the link's state is never hidden for long. Each text is
// announced to assistive tools as it appears, once: a lasting text that the link repeats is not
// announced again, and the lasting text coming back after a notice is not news.
class TStatusLine : public QObject
{
public:
    TStatusLine(QLabel &label, TAnnouncer &announcer, std::chrono::milliseconds noticeTime = NoticeTime);

    // A lasting text; `detail`, when given, is the whole of it, for the tooltip and for
    // assistive tools, which hear it instead of the text.
    void Show(const QString &text, const QString &detail = {});
    void ShowNotice(const QString &text);
    // The lasting text again, when a notice is shown.
    void EndNotice();
    // Announces the text shown now: for a text that appeared before any window could be heard.
    void AnnounceShown();
    // `format` with its "%1" replaced by `path`, shortened in the middle where the whole text
    // would not fit the line.
    QString WithPath(const QString &format, const QString &path) const;

    static constexpr std::chrono::milliseconds NoticeTime{6000};

private:
    QLabel &label;
    TAnnouncer &announcer;
    QString lasting;
    QTimer noticeTimer;
};
