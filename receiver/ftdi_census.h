#pragma once

#include <QList>
#include <QString>

// One FTDI chip on the USB bus, as the system describes it without opening it.
struct TFtdiChip
{
    QString manufacturer;
    QString product;
    QString serial; // empty when the chip has none
    // Bus and ports from the root, as the kernel names the device ("1-1.2"): the same for the same
    // socket across unplugging, where the device address changes.
    QString portPath;
    bool serialDriverBound = false; // the kernel's ftdi_sio serves its first interface
    QString tty;                    // "ttyUSB0", empty when none
    QString serialById;             // "/dev/serial/by-id/usb-FTDI_..." naming that tty, empty when none
    QString holderProgram;          // the program holding the tty open, empty when none is seen
    qint64 holderPid = 0;

    bool Held() const { return holderPid != 0; }
    bool operator==(const TFtdiChip &) const = default;
};

// Lists the FTDI chips without opening any of them: no USB request, no tty opened (opening a tty
// raises DTR and RTS, which can key a transmitter on a CAT cable).
class TFtdiCensus
{
public:
    virtual ~TFtdiCensus() = default;
    // In port path order.
    virtual QList<TFtdiChip> Chips() const = 0;
};

// The census from the kernel's files: USB devices under <sysfs>/bus/usb/devices with FTDI's
// vendor id and one of the product ids libftdi looks for (6001, 6010, 6011, 6014, 6015), their
// string attributes, the driver and tty of interface 1.0, the /dev/serial/by-id links, and the
// processes under <proc> holding the tty open (only those this user may look into).
class TSystemFtdiCensus final : public TFtdiCensus
{
public:
    explicit TSystemFtdiCensus(QString sysfsRoot = QStringLiteral("/sys"), QString procRoot = QStringLiteral("/proc"),
                               QString devRoot = QStringLiteral("/dev"));
    QList<TFtdiChip> Chips() const override;

private:
    QString sysfsRoot;
    QString procRoot;
    QString devRoot;
};
