#include "ftdi_census.h"
#include "ftdi_chip_printer.h"
#include "qt_printers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// A /sys, /proc and /dev made of plain files, directories and links under a temporary directory.
class FakeSystem
{
public:
    QString Path(const QString &relative) const { return dir.filePath(relative); }

    void File(const QString &relative, const QString &text) const
    {
        const QString path = Path(relative);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    }
    void Directory(const QString &relative) const { ASSERT_TRUE(QDir().mkpath(Path(relative))); }
    // Links hold their target text as given, and may dangle.
    void Link(const QString &relative, const QString &target) const
    {
        const QString path = Path(relative);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()), 0);
    }

private:
    QTemporaryDir dir;
};

const QString Devices = u"sys/bus/usb/devices/"_s;

} // namespace

// Only FTDI devices with libftdi's product ids, in port order, each with its interface's driver
// and tty, the by-id link naming that tty and the lowest pid holding /dev/<tty> open.
TEST(FtdiCensusTest, DescribesEachFtdiChipFromTheKernelFiles)
{
    FakeSystem fake;
    const struct
    {
        QString name;
        QString vendor;
        QString product;
        QString productName;
        QString serial; // no file when empty
        bool linked;    // as the kernel has it: the entry a link to the device's directory
    } devices[] = {{u"usb1"_s, u"1d6b"_s, u"0002"_s, u"EHCI Host Controller"_s, u"0000:00:1d.0"_s, false},
                   {u"2-1"_s, u"0403"_s, u"6014"_s, u"FT232H"_s, u"B2"_s, false},
                   {u"1-1.2"_s, u"0403"_s, u"6001"_s, u"FT232R USB UART"_s, u"A1"_s, true},
                   {u"1-1.10"_s, u"0403"_s, u"6010"_s, u"Dual RS232"_s, {}, false},
                   {u"1-3"_s, u"046d"_s, u"6001"_s, u"USB Receiver"_s, u"C3"_s, false},
                   {u"1-4"_s, u"0403"_s, u"6002"_s, u"Other"_s, u"D4"_s, false}};
    for (const auto &device : devices) {
        const QString dir = (device.linked ? u"sys/devices/usb1/"_s : Devices) + device.name + u'/';
        if (device.linked)
            fake.Link(Devices + device.name, fake.Path(dir));
        fake.File(dir + u"idVendor"_s, device.vendor + u'\n');
        fake.File(dir + u"idProduct"_s, device.product + u'\n');
        fake.File(dir + u"manufacturer"_s, u"FTDI\n"_s);
        fake.File(dir + u"product"_s, device.productName + u'\n');
        if (!device.serial.isEmpty())
            fake.File(dir + u"serial"_s, device.serial + u'\n');
    }
    fake.Directory(u"sys/bus/usb-serial/drivers/ftdi_sio"_s);
    fake.Directory(u"sys/bus/usb/drivers/usbfs"_s);
    fake.Link(Devices + u"1-1.2:1.0/driver"_s, u"../../../../bus/usb-serial/drivers/ftdi_sio"_s);
    fake.Directory(Devices + u"1-1.2:1.0/ep_02"_s);
    fake.Directory(Devices + u"1-1.2:1.0/ttyUSB0"_s);
    fake.Link(Devices + u"1-1.10:1.0/driver"_s, u"../../../../bus/usb/drivers/usbfs"_s);
    fake.Link(Devices + u"2-1:1.0/driver"_s, u"../../../../bus/usb-serial/drivers/ftdi_sio"_s);
    fake.Directory(Devices + u"2-1:1.0/ttyUSB1"_s);

    fake.Link(u"dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0"_s, u"../../ttyUSB0"_s);
    fake.Link(u"dev/serial/by-id/usb-Other_D4-if00-port0"_s, u"../../ttyUSB10"_s);

    const struct
    {
        QString pid;
        QString fdTarget;
        QString comm; // no file when empty
    } processes[] = {{u"self"_s, u"/dev/ttyUSB0"_s, u"bash"_s},  {u"5"_s, u"/dev/ttyUSB10"_s, u"minicom"_s},
                     {u"4000"_s, u"/dev/ttyUSB0"_s, u"rigctld"_s}, {u"812"_s, u"/dev/ttyUSB0"_s, u"flrig"_s},
                     {u"77"_s, u"/dev/ttyUSB1"_s, {}},            {u"90"_s, u"socket:[1234]"_s, u"sshd"_s},
                     {u"3"_s, u"/home/op/ttyUSB0"_s, u"less"_s}};
    for (const auto &process : processes) {
        fake.Link(u"proc/"_s + process.pid + u"/fd/3"_s, process.fdTarget);
        if (!process.comm.isEmpty())
            fake.File(u"proc/"_s + process.pid + u"/comm"_s, process.comm + u'\n');
    }

    const TSystemFtdiCensus census(fake.Path(u"sys"_s), fake.Path(u"proc"_s), fake.Path(u"dev"_s));
    const QList<TFtdiChip> expected{
        {u"FTDI"_s, u"FT232R USB UART"_s, u"A1"_s, u"1-1.2"_s, true, u"ttyUSB0"_s,
         fake.Path(u"dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0"_s), u"flrig"_s, 812},
        {u"FTDI"_s, u"Dual RS232"_s, {}, u"1-1.10"_s, false, {}, {}, {}, 0},
        {u"FTDI"_s, u"FT232H"_s, u"B2"_s, u"2-1"_s, true, u"ttyUSB1"_s, {}, {}, 77}};
    EXPECT_EQ(census.Chips(), expected);
}

TEST(FtdiCensusTest, MissingRootsGiveNoChips)
{
    const QTemporaryDir dir;
    const TSystemFtdiCensus census(dir.filePath(u"sys"_s), dir.filePath(u"proc"_s), dir.filePath(u"dev"_s));
    EXPECT_TRUE(census.Chips().isEmpty());
}
