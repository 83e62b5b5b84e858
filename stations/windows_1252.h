#pragma once

#include <QByteArrayView>
#include <QString>

// Text in Windows-1252, as EiBi writes it: through Qt's codec where Qt has one (built with ICU),
// else by the table below.
QString FromWindows1252(QByteArrayView bytes);

// The same by this library's own table: Latin-1, but for the characters Windows puts at 0x80-0x9F.
QString FromWindows1252ByTable(QByteArrayView bytes);
