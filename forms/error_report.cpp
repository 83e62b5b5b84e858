#include "error_report.h"

#include <QApplication>
#include <QMessageBox>

#include <exception>

using namespace Qt::Literals::StringLiterals;

namespace {

void ShowMessageBox(const QString &message)
{
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), message);
}

ErrorSink &CurrentSink()
{
    static ErrorSink sink = ShowMessageBox;
    return sink;
}

} // namespace

void ReportError(const QString &message)
{
    CurrentSink()(message);
}

ErrorSink SetErrorSink(ErrorSink sink)
{
    ErrorSink previous = std::move(CurrentSink());
    CurrentSink() = sink ? std::move(sink) : ErrorSink(ShowMessageBox);
    return previous;
}

bool RunGuarded(const std::function<void()> &handler)
{
    try {
        handler();
        return true;
    } catch (const std::exception &error) {
        ReportError(QString::fromUtf8(error.what()));
    } catch (...) {
        ReportError(u"Unknown error"_s);
    }
    return false;
}
