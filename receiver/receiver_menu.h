#pragma once

#include "ftdi_census.h"

#include <QObject>

class QAction;
class QMenu;
class TAutoReconnect;
class TCalibrationDialog;
class TMainWindowLink;
class TReceiverLink;
class TReceiverSelection;
class TRememberedReceiver;

// The receiver's items in the main window's menu: the "Receiver" submenu listing the FTDI chips,
// one of which the user may choose as the receiver; reconnecting by itself; and calibrating the
// synthesizer's clock.
class TReceiverMenu : public QObject
{
public:
    TReceiverMenu(TMainWindowLink &window, TReceiverLink &receiver, TReceiverSelection &selection,
                  TRememberedReceiver &remembered, TAutoReconnect &reconnect);

    // The chips, listed afresh each time it opens.
    QMenu *Receivers;
    QAction *ReconnectAutomatically;
    QAction *Calibrate;

    // Opens `chip` as the receiver, as "Reconnect receiver" does, once the user has confirmed a
    // chip the serial driver serves.
    void Choose(const TFtdiChip &chip);
    // Why a chip is risky to open, for the question before opening it; empty when it is not.
    static QString Warning(const TFtdiChip &chip);
    // Applies a clock at once: kept for the receiver, and the frequency sent again with it.
    void ApplyClock(std::int64_t hertz);

private:
    void ListChips();
    void OpenChip(const TFtdiChip &chip);
    void ShowCalibration();

    TMainWindowLink &window;
    TReceiverLink &receiver;
    TReceiverSelection &selection;
};
