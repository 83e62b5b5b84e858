#pragma once

#include <QObject>

#include <functional>
#include <vector>

class QSocketNotifier;
struct libusb_context;

// Tells when an FTDI chip is plugged in or out, from libusb's hot-plug events on a libusb context
// of its own, driven from the event loop of the thread that creates it. The libusb context that
// libftdi opens chips on stays apart: its transfers handle events too, and a hot-plug callback
// must never run inside a write to the receiver. Where libusb offers no hot-plug, Available() is
// false and the caller polls.
class TUsbHotplug : public QObject
{
public:
    explicit TUsbHotplug(std::function<void()> onChange, QObject *parent = nullptr);
    ~TUsbHotplug() override;

    bool Available() const { return context != nullptr; }

private:
    void Watch(int fd, short events);
    void Unwatch(int fd);
    void HandleEvents();

    std::function<void()> onChange;
    libusb_context *context = nullptr;
    int callback = 0;
    bool changed = false;
    std::vector<QSocketNotifier *> notifiers; // children; deleted later, as one may be signalling
};
