#include "emulated_usb.h"

#include "synthesizer_decoder.h"

#include <QByteArray>
#include <QFileInfo>
#include <QStringList>

#include <umockdev.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <link.h>
#include <linux/usbdevice_fs.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int PacketSize = 64; // wMaxPacketSize of both bulk endpoints, full speed
constexpr std::uint8_t OutEndpoint = 0x02;
constexpr std::uint8_t InEndpoint = 0x81;
constexpr std::uint8_t SyncBitbang = 0x04;
constexpr std::uint8_t AsyncBitbang = 0x01;
// Modem and line status, as an FT232R sends them at the start of every IN packet.
constexpr std::uint8_t ModemStatus = 0x31;
constexpr std::uint8_t LineStatus = 0x60;

// The FT232R's descriptors: device (0403:6001, bcdDevice 0x0600, strings 1 to 3), one configuration
// with one vendor-specific interface and its two bulk endpoints.
const char *const Descriptors = "12010002000000080304016000060102030109022000010100a02d"
                                "0904000002ffffff02"
                                "07058102400000"
                                "07050202400000";

QString ZeroPadded(int value, int width)
{
    return u"%1"_s.arg(value, width, 10, QLatin1Char('0'));
}

QByteArray StringDescriptor(const QString &text)
{
    QByteArray descriptor;
    descriptor.append(char(2 + 2 * text.size()));
    descriptor.append(char(0x03));
    for (const QChar c : text) {
        descriptor.append(char(c.unicode() & 0xFF));
        descriptor.append(char(c.unicode() >> 8));
    }
    return descriptor;
}

} // namespace

TEmulatedFt232r::TEmulatedFt232r(const TEmulatedChipSetup &setup, int deviceNumber)
    : setup(setup)
    , deviceNumber(deviceNumber)
    , handler(umockdev_ioctl_base_new())
{
    g_signal_connect_after(handler, "handle-ioctl", G_CALLBACK(&TEmulatedFt232r::HandleIoctl), this);
}

TEmulatedFt232r::~TEmulatedFt232r()
{
    for (Urb &urb : flying)
        umockdev_ioctl_data_unref(urb.data);
    g_object_unref(handler);
}

QString TEmulatedFt232r::SysfsPath() const
{
    return u"/sys/devices/pci0000:00/0000:00:14.0/usb1/"_s + PortPath();
}

QString TEmulatedFt232r::DeviceNode() const
{
    return u"/dev/bus/usb/001/"_s + ZeroPadded(deviceNumber, 3);
}

QString TEmulatedFt232r::Description() const
{
    const QString device = SysfsPath().mid(4);
    QString text = u"P: %1\nN: %2\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nE: DRIVER=usb\nE: BUSNUM=001\n"
                   "E: DEVNUM=%3\nE: DEVNAME=%4\nE: PRODUCT=403/6001/600\n"
                   "A: idVendor=0403\nA: idProduct=6001\nA: bcdDevice=0600\nA: manufacturer=FTDI\n"
                   "A: product=FT232R USB UART\n"_s.arg(device, DeviceNode().mid(5), ZeroPadded(deviceNumber, 3),
                                                         DeviceNode());
    if (!setup.serial.isEmpty())
        text += u"A: serial=%1\n"_s.arg(setup.serial);
    text += u"A: busnum=1\nA: devnum=%1\nA: devpath=%2\nA: bConfigurationValue=1\nA: speed=12\n"
            "H: descriptors=%3\n\n"_s.arg(deviceNumber)
                .arg(setup.port)
                .arg(QLatin1StringView(Descriptors));
    const QString interface = device + u'/' + PortPath() + u":1.0"_s;
    text += u"P: %1\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\nA: bInterfaceNumber=00\n"_s.arg(interface);
    if (setup.tty.isEmpty())
        return text + u'\n';
    text += u"E: DRIVER=ftdi_sio\nL: driver=../../../../../../bus/usb/drivers/ftdi_sio\n\n"_s;
    text += u"P: %1/%2\nE: SUBSYSTEM=usb-serial\nE: DRIVER=ftdi_sio\n\n"_s.arg(interface, setup.tty);
    text += u"P: %1/%2/tty/%2\nN: %2\nE: SUBSYSTEM=tty\nE: DEVNAME=/dev/%2\nA: dev=188:0\n"
            "S: serial/by-id/usb-FTDI_FT232R_USB_UART_%3-if00-port0\n\n"_s.arg(interface, setup.tty, setup.serial);
    return text;
}

std::vector<std::uint8_t> TEmulatedFt232r::Pins() const
{
    const std::lock_guard lock(mutex);
    return pinLog;
}

std::vector<TControlRequest> TEmulatedFt232r::Requests() const
{
    const std::lock_guard lock(mutex);
    return requests;
}

int TEmulatedFt232r::OutTransfers() const
{
    const std::lock_guard lock(mutex);
    return outTransfers;
}

int TEmulatedFt232r::InTransfers() const
{
    const std::lock_guard lock(mutex);
    return inTransfers;
}

void TEmulatedFt232r::Clear()
{
    const std::lock_guard lock(mutex);
    pinLog.clear();
    requests.clear();
    outTransfers = inTransfers = 0;
}

void TEmulatedFt232r::SetReturnsSamples(bool on)
{
    const std::lock_guard lock(mutex);
    returnsSamples = on;
}

void TEmulatedFt232r::SetTakesBytes(bool on)
{
    const std::lock_guard lock(mutex);
    takesBytes = on;
}

void TEmulatedFt232r::SetGone()
{
    const std::lock_guard lock(mutex);
    gone = true;
}

int TEmulatedFt232r::HandleIoctl(_UMockdevIoctlBase *, _UMockdevIoctlClient *client, void *self)
{
    return static_cast<TEmulatedFt232r *>(self)->Handle(client);
}

bool TEmulatedFt232r::Handle(UMockdevIoctlClient *client)
{
    const std::lock_guard lock(mutex);
    const gulong request = umockdev_ioctl_client_get_request(client);
    if (gone && request != USBDEVFS_REAPURBNDELAY && request != USBDEVFS_REAPURB) {
        umockdev_ioctl_client_complete(client, -1, ENODEV);
        return true;
    }
    UMockdevIoctlData *arg = umockdev_ioctl_client_get_arg(client);
    switch (request) {
    case USBDEVFS_GET_CAPABILITIES: {
        UMockdevIoctlData *caps = umockdev_ioctl_data_resolve(arg, 0, sizeof(guint32), nullptr);
        *reinterpret_cast<guint32 *>(caps->data) = USBDEVFS_CAP_BULK_CONTINUATION | USBDEVFS_CAP_NO_PACKET_SIZE_LIM
                                                   | USBDEVFS_CAP_REAP_AFTER_DISCONNECT | USBDEVFS_CAP_ZERO_PACKET;
        umockdev_ioctl_data_unref(caps);
        umockdev_ioctl_client_complete(client, 0, 0);
        return true;
    }
#ifdef USBDEVFS_GET_SPEED
    case USBDEVFS_GET_SPEED:
        umockdev_ioctl_client_complete(client, 2, 0); // USB_SPEED_FULL
        return true;
#endif
    case USBDEVFS_GETDRIVER: {
        if (setup.tty.isEmpty()) {
            umockdev_ioctl_client_complete(client, -1, ENODATA);
            return true;
        }
        UMockdevIoctlData *data = umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_getdriver), nullptr);
        std::strcpy(reinterpret_cast<usbdevfs_getdriver *>(data->data)->driver, "ftdi_sio");
        umockdev_ioctl_data_unref(data);
        umockdev_ioctl_client_complete(client, 0, 0);
        return true;
    }
    case USBDEVFS_IOCTL: // the serial driver's detach: it lets go of the interface
    case USBDEVFS_DISCONNECT_CLAIM:
    case USBDEVFS_CLAIMINTERFACE:
    case USBDEVFS_RELEASEINTERFACE:
    case USBDEVFS_SETINTERFACE:
    case USBDEVFS_CLEAR_HALT:
    case USBDEVFS_RESET:
    case USBDEVFS_RESETEP:
        umockdev_ioctl_client_complete(client, 0, 0);
        return true;
    case USBDEVFS_SUBMITURB:
        Submit(client);
        return true;
    case USBDEVFS_REAPURB:
    case USBDEVFS_REAPURBNDELAY:
        Reap(client);
        return true;
    case USBDEVFS_DISCARDURB:
        Discard(client);
        return true;
    default:
        return false;
    }
}

void TEmulatedFt232r::Submit(UMockdevIoctlClient *client)
{
    UMockdevIoctlData *arg = umockdev_ioctl_client_get_arg(client);
    UMockdevIoctlData *data = umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_urb), nullptr);
    auto *urb = reinterpret_cast<usbdevfs_urb *>(data->data);
    UMockdevIoctlData *buffer =
        umockdev_ioctl_data_resolve(data, offsetof(usbdevfs_urb, buffer), static_cast<gsize>(urb->buffer_length), nullptr);
    umockdev_ioctl_data_unref(buffer); // kept by the URB's data
    const bool control = urb->type == USBDEVFS_URB_TYPE_CONTROL;
    const bool bulk = urb->type == USBDEVFS_URB_TYPE_BULK && (urb->endpoint == OutEndpoint || urb->endpoint == InEndpoint);
    if (!control && !bulk) {
        umockdev_ioctl_data_unref(data);
        umockdev_ioctl_client_complete(client, -1, EINVAL);
        return;
    }
    if (urb->endpoint == OutEndpoint)
        ++outTransfers;
    if (urb->endpoint == InEndpoint)
        ++inTransfers;
    flying.push_back({data});
    umockdev_ioctl_client_complete(client, 0, 0);
}

void TEmulatedFt232r::Reap(UMockdevIoctlClient *client)
{
    auto ready = flying.end();
    for (auto it = flying.begin(); it != flying.end() && ready == flying.end(); ++it) {
        auto *urb = reinterpret_cast<usbdevfs_urb *>(it->data->data);
        auto *bytes = static_cast<std::uint8_t *>(urb->buffer);
        if (it->discarded) {
            urb->status = -ENOENT;
            urb->actual_length = static_cast<int>(it->accepted);
        } else if (gone) {
            urb->status = -ESHUTDOWN;
            urb->actual_length = 0;
        } else if (urb->type == USBDEVFS_URB_TYPE_CONTROL) {
            urb->status = 0;
            urb->actual_length = Control(bytes, urb->buffer_length);
        } else if (urb->endpoint == InEndpoint) {
            urb->status = 0;
            urb->actual_length = Fill(bytes, urb->buffer_length);
        } else if (Accept(*it)) {
            urb->status = 0;
            urb->actual_length = urb->buffer_length;
        } else {
            continue; // the chip has no room for it yet
        }
        ready = it;
    }
    if (ready == flying.end()) {
        umockdev_ioctl_client_complete(client, -1, gone ? ENODEV : EAGAIN);
        return;
    }
    UMockdevIoctlData *pointer =
        umockdev_ioctl_data_resolve(umockdev_ioctl_client_get_arg(client), 0, sizeof(gpointer), nullptr);
    umockdev_ioctl_data_set_ptr(pointer, 0, ready->data);
    umockdev_ioctl_data_unref(pointer);
    umockdev_ioctl_data_unref(ready->data);
    flying.erase(ready);
    umockdev_ioctl_client_complete(client, 0, 0);
}

void TEmulatedFt232r::Discard(UMockdevIoctlClient *client)
{
    const auto address = *reinterpret_cast<gulong *>(umockdev_ioctl_client_get_arg(client)->data);
    const auto it = std::find_if(flying.begin(), flying.end(),
                                 [address](const Urb &urb) { return urb.data->client_addr == address; });
    if (it == flying.end()) {
        umockdev_ioctl_client_complete(client, -1, EINVAL);
        return;
    }
    it->discarded = true;
    umockdev_ioctl_client_complete(client, 0, 0);
}

int TEmulatedFt232r::Control(std::uint8_t *setupAndData, int length)
{
    const TControlRequest request{setupAndData[0], setupAndData[1],
                                  std::uint16_t(setupAndData[2] | setupAndData[3] << 8),
                                  std::uint16_t(setupAndData[4] | setupAndData[5] << 8)};
    const int wanted = std::min(setupAndData[6] | setupAndData[7] << 8, length - 8);
    std::uint8_t *reply = setupAndData + 8;
    if (request.requestType == 0x80 && request.request == 0x06) { // GET_DESCRIPTOR
        QByteArray descriptor;
        const int index = request.value & 0xFF;
        switch (request.value >> 8) {
        case 1: descriptor = QByteArray::fromHex(QByteArray(Descriptors).left(36)); break;
        case 2: descriptor = QByteArray::fromHex(QByteArray(Descriptors).mid(36)); break;
        case 3:
            if (index == 0)
                descriptor = QByteArray::fromHex("04030904");
            else
                descriptor = StringDescriptor(QStringList{u"FTDI"_s, u"FT232R USB UART"_s, setup.serial}.value(index - 1));
            break;
        }
        const int size = std::min<int>(wanted, static_cast<int>(descriptor.size()));
        std::memcpy(reply, descriptor.constData(), static_cast<std::size_t>(size));
        return size;
    }
    requests.push_back(request);
    if (request.requestType == 0x40 && request.request == 0x00) { // reset, purge
        if (request.value != 2)
            received.clear();
        if (request.value != 1)
            samples.clear();
    }
    if (request.requestType == 0x40 && request.request == 0x0B) { // set bit mode
        direction = request.value & 0xFF;
        mode = request.value >> 8;
        Clock();
    }
    if (request.requestType == 0xC0 && wanted > 0) { // a vendor read: the pins or the latency timer
        reply[0] = request.request == 0x0C ? pins : 1;
        return 1;
    }
    return 0;
}

void TEmulatedFt232r::Clock()
{
    while (!received.empty()) {
        const std::uint8_t byte = received.front();
        if (mode == SyncBitbang) {
            if (returnsSamples && samples.size() >= setup.sampleQueue)
                return;
            if (returnsSamples)
                samples.push_back(pins);
        }
        received.pop_front();
        if (mode == SyncBitbang || mode == AsyncBitbang) {
            pins = byte & direction;
            pinLog.push_back(pins);
        }
    }
}

bool TEmulatedFt232r::Accept(Urb &urb)
{
    auto *usbUrb = reinterpret_cast<usbdevfs_urb *>(urb.data->data);
    const auto *bytes = static_cast<const std::uint8_t *>(usbUrb->buffer);
    const auto length = static_cast<std::uint32_t>(usbUrb->buffer_length);
    while (takesBytes && urb.accepted < length) {
        const std::uint32_t packet = std::min<std::uint32_t>(PacketSize, length - urb.accepted);
        Clock();
        if (received.size() + packet > setup.receiveBuffer)
            break;
        received.insert(received.end(), bytes + urb.accepted, bytes + urb.accepted + packet);
        urb.accepted += packet;
        Clock();
    }
    return urb.accepted == length;
}

int TEmulatedFt232r::Fill(std::uint8_t *buffer, int length)
{
    int filled = 0;
    while (length - filled >= 2) {
        buffer[filled++] = ModemStatus;
        buffer[filled++] = LineStatus;
        int room = std::min(PacketSize - 2, length - filled);
        const bool hadSamples = !samples.empty();
        for (; room > 0 && !samples.empty(); --room) {
            buffer[filled++] = samples.front();
            samples.pop_front();
        }
        Clock();
        // A short packet ends the transfer; so does one with the last samples, the chip then
        // waiting for its latency timer.
        if (room > 0 || !hadSamples || samples.empty())
            break;
    }
    return filled;
}

std::vector<std::uint16_t> WordsOnThePins(const TEmulatedFt232r &chip)
{
    std::vector<std::uint16_t> words;
    for (const DecodedFrame &frame : DecodeFrames(chip.Pins()))
        words.push_back(frame.bitCount == 16 ? frame.word : 0xDEAD);
    return words;
}

TEmulatedUsb::TEmulatedUsb()
    : testbed(umockdev_testbed_new())
{
}

TEmulatedUsb::~TEmulatedUsb()
{
    g_object_unref(testbed);
    chips.clear();
}

bool TEmulatedUsb::Available(QString *why)
{
    // Asked before any testbed exists: umockdev's own test would remember the machine's /sys.
    const bool loaded = ::dl_iterate_phdr(
        [](dl_phdr_info *info, std::size_t, void *) {
            return info->dlpi_name != nullptr && std::strstr(info->dlpi_name, "libumockdev-preload") != nullptr ? 1 : 0;
        },
        nullptr);
    if (!loaded && why)
        *why = u"umockdev's preload library is not loaded in this process: no emulated USB"_s;
    return loaded;
}

TEmulatedFt232r &TEmulatedUsb::Plug(const TEmulatedChipSetup &setup)
{
    auto &chip = *chips.emplace_back(std::make_unique<TEmulatedFt232r>(setup, nextDeviceNumber++));
    GError *error = nullptr;
    umockdev_testbed_attach_ioctl(testbed, chip.DeviceNode().toUtf8().constData(), chip.Handler(), &error);
    if (error == nullptr)
        umockdev_testbed_add_from_string(testbed, chip.Description().toUtf8().constData(), &error);
    if (error != nullptr) {
        const QString message = QString::fromUtf8(error->message);
        g_error_free(error);
        qFatal("emulated USB: %s", qPrintable(message));
    }
    return chip;
}

void TEmulatedUsb::Unplug(TEmulatedFt232r &chip)
{
    chip.SetGone();
    const QByteArray device = chip.SysfsPath().toUtf8();
    const QByteArray interface = device + '/' + chip.PortPath().toUtf8() + ":1.0";
    // umockdev from 0.18.4 sends the remove uevent itself.
#if !UMOCKDEV_SENDS_REMOVE
    umockdev_testbed_uevent(testbed, device.constData(), "remove");
#endif
    if (!chip.Setup().tty.isEmpty()) {
        const QByteArray tty = interface + '/' + chip.Setup().tty.toUtf8();
        umockdev_testbed_remove_device(testbed, (tty + "/tty/" + chip.Setup().tty.toUtf8()).constData());
        umockdev_testbed_remove_device(testbed, tty.constData());
    }
    umockdev_testbed_remove_device(testbed, interface.constData());
    umockdev_testbed_remove_device(testbed, device.constData());
}

QString TEmulatedUsb::RootDir() const
{
    gchar *root = umockdev_testbed_get_root_dir(testbed);
    const QString dir = QString::fromUtf8(root);
    g_free(root);
    return dir;
}

THeldTty::THeldTty(QString tty, QString program)
    : tty(std::move(tty))
    , program(std::move(program))
{
}

THeldTty::~THeldTty()
{
    if (pid == 0)
        return;
    ::close(release);
    ::waitpid(static_cast<pid_t>(pid), nullptr, 0);
}

bool THeldTty::Start(QString *why)
{
    int ready[2];
    int hold[2];
    if (::pipe2(ready, O_CLOEXEC) != 0 || ::pipe2(hold, O_CLOEXEC) != 0) {
        *why = u"no pipe"_s;
        return false;
    }
    const QByteArray path = "/dev/" + tty.toUtf8();
    const QByteArray name = program.toUtf8();
    const pid_t child = ::fork();
    if (child == 0) {
        // Only system calls from here, none through the preload library: the parent has threads.
        ::syscall(SYS_close, ready[0]);
        ::syscall(SYS_close, hold[1]);
        ::prctl(PR_SET_NAME, name.constData());
        int error = 0;
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || ::mount("none", "/dev", "tmpfs", 0, nullptr) != 0)
            error = errno;
        const long fd = error ? -1 : ::syscall(SYS_openat, AT_FDCWD, path.constData(), O_CREAT | O_RDWR, 0600);
        if (!error && fd < 0)
            error = errno;
        ::syscall(SYS_write, ready[1], &error, sizeof error);
        char byte;
        ::syscall(SYS_read, hold[0], &byte, 1);
        ::_exit(0);
    }
    ::close(ready[1]);
    ::close(hold[0]);
    release = hold[1];
    pid = child;
    int error = -1;
    (void)!::read(ready[0], &error, sizeof error);
    ::close(ready[0]);
    if (error != 0) {
        *why = u"cannot hold a tty in a mount namespace of its own here (it needs root): %1"_s.arg(
            QString::fromLocal8Bit(std::strerror(error)));
        return false;
    }
    return true;
}
