#include "receiver_menu.h"

#include "auto_reconnect.h"
#include "calibration_dialog.h"
#include "error_report.h"
#include "main_window_link.h"
#include "receiver_link.h"
#include "receiver_selection.h"
#include "remembered_receiver.h"
#include "window_menu.h"

#include <QMenu>
#include <QMessageBox>

using namespace Qt::Literals::StringLiterals;

TReceiverMenu::TReceiverMenu(TMainWindowLink &window, TReceiverLink &receiver, TReceiverSelection &selection,
                             TRememberedReceiver &remembered, TAutoReconnect &reconnect)
    : QObject(&window.Window())
    , Receivers(new QMenu(u"Receiver"_s, &window.Window()))
    , ReconnectAutomatically(nullptr)
    , Calibrate(new QAction(u"Calibrate receiver\u2026"_s, this))
    , window(window)
    , receiver(receiver)
    , selection(selection)
{
    Receivers->setObjectName(u"receivers"_s);
    Receivers->setToolTipsVisible(true); // each chip's /dev/serial/by-id name
    TWindowMenu &menu = window.Menu();
    menu.Add(TMenuSection::Receiver, Receivers);
    connect(Receivers, &QMenu::aboutToShow, this, [this] { RunGuarded([this] { ListChips(); }); });
    ListChips();

    ReconnectAutomatically = menu.AddChoice(
        TMenuSection::Receiver, u"Reconnect automatically"_s, remembered.ReconnectAutomatically(),
        [&reconnect](bool on) { reconnect.SetEnabled(on); }, [&remembered](bool on) { remembered.SetReconnectAutomatically(on); });
    menu.Add(TMenuSection::Receiver, Calibrate);
    connect(Calibrate, &QAction::triggered, this, [this] { RunGuarded([this] { ShowCalibration(); }); });
}

void TReceiverMenu::ListChips()
{
    Receivers->clear();
    const QList<TFtdiChip> listed = selection.Chips();
    // Enabled, though it does nothing: a screen reader passes over a disabled only item in silence.
    if (listed.isEmpty())
        Receivers->addAction(u"No FTDI chip found"_s);
    // Why none opened, whole: the status line has room for it only in short.
    if (const QString why = selection.Refusal().detail; !why.isEmpty()) {
        Receivers->addAction(why);
        Receivers->addSeparator();
    }
    const TReceiverIdentity receiver = selection.Receiver();
    for (const TFtdiChip &chip : listed) {
        QAction *item = Receivers->addAction(DescribeChip(chip));
        item->setToolTip(chip.serialById);
        item->setCheckable(true);
        item->setChecked(chip.serial == receiver.serial && chip.portPath == receiver.portPath);
        connect(item, &QAction::triggered, this, [this, chip] { RunGuarded([this, &chip] { Choose(chip); }); });
    }
}

QString TReceiverMenu::Warning(const TFtdiChip &chip)
{
    if (!chip.serialDriverBound && !chip.Held())
        return {};
    QString use = chip.tty.isEmpty() ? u"This chip is a serial port"_s : u"This chip is the serial port "_s + chip.tty;
    if (chip.Held())
        use += u", in use by %1 (pid %2)"_s.arg(chip.holderProgram.isEmpty() ? u"another program"_s : chip.holderProgram)
                   .arg(chip.holderPid);
    return use + u". If it is a CAT cable, opening it as the receiver takes the port from the serial driver and "
                 "drives all its lines: RTS and DTR can key a transmitter. Open it as the receiver?"_s;
}

void TReceiverMenu::Choose(const TFtdiChip &chip)
{
    const QString warning = Warning(chip);
    if (warning.isEmpty())
        return OpenChip(chip);
    // Asked without waiting, so that the receiver and the network go on being served.
    auto *question = new QMessageBox(QMessageBox::Warning, u"Open this chip as the receiver?"_s,
                                     DescribeChip(chip) + u"\n\n"_s + warning, QMessageBox::Open | QMessageBox::Cancel,
                                     &window.Window());
    question->setObjectName(u"receiverWarning"_s);
    question->setDefaultButton(QMessageBox::Cancel);
    question->setAttribute(Qt::WA_DeleteOnClose);
    connect(question, &QMessageBox::finished, this, [this, chip](int answer) {
        if (answer == QMessageBox::Open)
            RunGuarded([this, &chip] { OpenChip(chip); });
    });
    question->open();
}

void TReceiverMenu::OpenChip(const TFtdiChip &chip)
{
    selection.SetChosen(chip);
    receiver.ReconnectReceiver();
}

void TReceiverMenu::ShowCalibration()
{
    auto *dialog = new TCalibrationDialog(selection.ReferenceClock(), window.Frequency(), &window.Window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] { RunGuarded([this, dialog] { ApplyClock(dialog->Clock()); }); });
    dialog->open();
}

void TReceiverMenu::ApplyClock(std::int64_t hertz)
{
    selection.SetReferenceClock(hertz);
    receiver.SetReferenceClock(hertz);
}
