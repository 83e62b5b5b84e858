#pragma once

#include <QObject>
#include <QString>

class QAction;
class TForm1;
class TProgramSettings;
class TWindowMenu;

// The main window's own items in its menu: keeping it above other windows (a choice kept between
// runs), opening the receiver again, and what the program is and where it keeps its files.
class TMainWindowActions : public QObject
{
public:
    TMainWindowActions(TWindowMenu &menu, TForm1 &form, TProgramSettings &settings, const QString &memoryFilePath);

    // The About box's text: version, the two files, and how to let a user open the receiver.
    static QString AboutText(const QString &memoryFilePath, const QString &settingsFilePath);

    QAction *AlwaysOnTop;
    QAction *ReconnectReceiver;
    QAction *About;

private:
    void ShowAbout();

    TForm1 &form;
    QString aboutText;
};
