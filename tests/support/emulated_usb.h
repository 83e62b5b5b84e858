#pragma once

#include <QString>

#include <cstdint>
#include <deque>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct _UMockdevTestbed;
struct _UMockdevIoctlBase;
struct _UMockdevIoctlClient;
struct _UMockdevIoctlData;

// How an emulated FT232R is plugged in and how it behaves.
struct TEmulatedChipSetup
{
    QString serial = QStringLiteral("A50285BI");
    int port = 1; // on the root hub of bus 1: the device is "1-<port>"
    // FT232R datasheet (FT_000053), "FIFO RX Buffer (256 bytes)" and "FIFO TX Buffer (128 bytes)":
    // what the chip holds from the host, and in bit-bang mode the pin samples waiting for it.
    std::uint32_t receiveBuffer = 256;
    std::uint32_t sampleQueue = 128;
    // Bound to the kernel's serial driver, which gives it this tty ("ttyUSB0"); empty: no driver.
    QString tty;
};

inline TEmulatedChipSetup ChipAt(int port, QString serial)
{
    TEmulatedChipSetup setup;
    setup.port = port;
    setup.serial = std::move(serial);
    return setup;
}

// A control request the chip was sent (bmRequestType 0x40: FTDI's vendor requests).
struct TControlRequest
{
    std::uint8_t requestType = 0;
    std::uint8_t request = 0;
    std::uint16_t value = 0;
    std::uint16_t index = 0;
    bool operator==(const TControlRequest &) const = default;
};

// One FT232R as the kernel's usbfs shows it to libusb: its URBs and control requests answered as
// the chip answers them. Bulk OUT (endpoint 0x02) fills the receive buffer, whole 64-byte packets
// at a time while they fit; in synchronous bit-bang mode each byte is then clocked onto the pins
// while the sample queue has room, the pins being sampled just before; bulk IN (0x81) returns the
// samples as 64-byte packets of two status bytes and up to 62 samples, a packet of status bytes
// alone when there are none. With the samples not read, OUT transfers stay pending, as on the chip.
// The ioctls come on umockdev's worker thread; what the test reads is behind a mutex.
class TEmulatedFt232r
{
public:
    explicit TEmulatedFt232r(const TEmulatedChipSetup &setup, int deviceNumber);
    ~TEmulatedFt232r();
    TEmulatedFt232r(const TEmulatedFt232r &) = delete;
    TEmulatedFt232r &operator=(const TEmulatedFt232r &) = delete;

    const TEmulatedChipSetup &Setup() const { return setup; }
    QString SysfsPath() const;  // "/sys/devices/.../1-1"
    QString DeviceNode() const; // "/dev/bus/usb/001/002"
    QString PortPath() const { return QStringLiteral("1-%1").arg(setup.port); }
    QString Description() const; // umockdev's text for the device, its interface and its tty

    // Every byte clocked onto the pins, in order, and the control requests, since the last Clear.
    std::vector<std::uint8_t> Pins() const;
    std::vector<TControlRequest> Requests() const;
    // Bulk transfers submitted, by direction.
    int OutTransfers() const;
    int InTransfers() const;
    void Clear();

    // Faults: the chip returns no samples (it clocks on regardless), or takes no more bytes.
    void SetReturnsSamples(bool on);
    void SetTakesBytes(bool on);
    // Unplugged: every request fails as for a device that is gone.
    void SetGone();

    _UMockdevIoctlBase *Handler() const { return handler; }

private:
    struct Urb
    {
        _UMockdevIoctlData *data;
        std::uint32_t accepted = 0; // OUT: bytes the chip has taken
        bool discarded = false;
    };

    static int HandleIoctl(_UMockdevIoctlBase *, _UMockdevIoctlClient *client, void *self);
    bool Handle(_UMockdevIoctlClient *client);
    void Submit(_UMockdevIoctlClient *client);
    void Reap(_UMockdevIoctlClient *client);
    void Discard(_UMockdevIoctlClient *client);
    // The data stage of a control request; the reply's length.
    int Control(std::uint8_t *setupAndData, int length);
    // Moves bytes from the receive buffer onto the pins while samples have room.
    void Clock();
    // Takes what fits of a pending OUT transfer; whether it is all taken.
    bool Accept(Urb &urb);
    // Fills an IN transfer; its length.
    int Fill(std::uint8_t *buffer, int length);

    const TEmulatedChipSetup setup;
    const int deviceNumber;
    _UMockdevIoctlBase *handler;

    mutable std::mutex mutex;
    std::list<Urb> flying;
    std::deque<std::uint8_t> received;
    std::deque<std::uint8_t> samples;
    std::uint8_t pins = 0;
    std::uint8_t direction = 0;
    std::uint8_t mode = 0;
    bool returnsSamples = true;
    bool takesBytes = true;
    bool gone = false;
    std::vector<std::uint8_t> pinLog;
    std::vector<TControlRequest> requests;
    int outTransfers = 0;
    int inTransfers = 0;
};

// The words on the chip's pins, in order; a frame that is not a whole word shows as 0xDEAD.
std::vector<std::uint16_t> WordsOnThePins(const TEmulatedFt232r &chip);

// A /sys and /dev of umockdev's making for the whole process, for as long as this lives: libusb,
// libftdi and the census see the chips plugged into it and nothing of the machine's own. The test
// program must be linked with umockdev's preload library (Available() tells whether it is).
class TEmulatedUsb
{
public:
    TEmulatedUsb();
    ~TEmulatedUsb();
    TEmulatedUsb(const TEmulatedUsb &) = delete;
    TEmulatedUsb &operator=(const TEmulatedUsb &) = delete;

    // Whether this process runs under umockdev's preload library; why not, otherwise.
    static bool Available(QString *why = nullptr);

    // Plugs a chip in, with the uevent a real one gives.
    TEmulatedFt232r &Plug(const TEmulatedChipSetup &setup = {});
    // Pulls it out: its requests fail from now on, a remove uevent goes out, its files go.
    void Unplug(TEmulatedFt232r &chip);
    QString RootDir() const;

private:
    _UMockdevTestbed *testbed;
    int nextDeviceNumber = 2;
    std::list<std::unique_ptr<TEmulatedFt232r>> chips; // kept to the end: a closed handle may still ask
};

// A process that holds a tty of the emulated /dev open, as a CAT program holds its port: the
// census finds it under /proc. It lives in a mount namespace of its own, where /dev/<tty> is a
// file it has open; that needs root (unshare). Start() says why it could not.
class THeldTty
{
public:
    THeldTty(QString tty, QString program);
    ~THeldTty();
    bool Start(QString *why);
    qint64 Pid() const { return pid; }

private:
    QString tty;
    QString program;
    qint64 pid = 0;
    int release = -1; // closed: the holder ends
};

// Skips the test, with the reason, where the emulator cannot run.
#define SKIP_WITHOUT_EMULATED_USB()                                                                  \
    do {                                                                                             \
        QString why_;                                                                                \
        if (!TEmulatedUsb::Available(&why_))                                                          \
            GTEST_SKIP() << why_.toStdString();                                                      \
    } while (false)
