#include "status_line.h"

#include "announcer.h"

#include <QDir>
#include <QFontMetrics>
#include <QLabel>

TStatusLine::TStatusLine(QLabel &label, TAnnouncer &announcer, std::chrono::milliseconds noticeTime)
    : QObject(&label)
    , label(label)
    , announcer(announcer)
    , lasting(label.text())
{
    noticeTimer.setSingleShot(true);
    noticeTimer.setInterval(noticeTime);
    connect(&noticeTimer, &QTimer::timeout, this, [this] { this->label.setText(lasting); });
}

void TStatusLine::Show(const QString &text, const QString &detail)
{
    noticeTimer.stop();
    const bool news = text != lasting;
    lasting = text;
    label.setText(text);
    const QString whole = detail.isEmpty() ? text : detail;
    label.setToolTip(whole);
    label.setAccessibleDescription(whole);
    if (news)
        announcer.Announce(whole);
}

void TStatusLine::ShowNotice(const QString &text)
{
    label.setText(text);
    noticeTimer.start();
    announcer.Announce(text);
}

void TStatusLine::EndNotice()
{
    if (!noticeTimer.isActive())
        return;
    noticeTimer.stop();
    label.setText(lasting);
}

void TStatusLine::AnnounceShown()
{
    announcer.Announce(label.text());
}

QString TStatusLine::WithPath(const QString &format, const QString &path) const
{
    const QFontMetrics metrics(label.font());
    const QString shown = QDir::toNativeSeparators(path);
    const int room = label.contentsRect().width() - metrics.horizontalAdvance(format.arg(QString()));
    return format.arg(metrics.elidedText(shown, Qt::ElideMiddle, room));
}
