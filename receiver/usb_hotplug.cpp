#include "usb_hotplug.h"

#include <QSocketNotifier>

#include <libusb.h>

#include <algorithm>
#include <poll.h>

namespace {

constexpr int FtdiVendor = 0x0403;

} // namespace

TUsbHotplug::TUsbHotplug(std::function<void()> onChange, QObject *parent)
    : QObject(parent)
    , onChange(std::move(onChange))
{
    if (libusb_init(&context) != LIBUSB_SUCCESS) {
        context = nullptr;
        return;
    }
    // The callback only notes the change: opening a device inside it is not allowed, and the
    // chip needs a moment after it arrives before it can be opened.
    const auto noted = [](libusb_context *, libusb_device *, libusb_hotplug_event, void *watch) {
        static_cast<TUsbHotplug *>(watch)->changed = true;
        return 0;
    };
    if (!libusb_has_capability(LIBUSB_CAP_HAS_HOTPLUG)
        || libusb_hotplug_register_callback(
               context,
               static_cast<libusb_hotplug_event>(LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED | LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT),
               LIBUSB_HOTPLUG_NO_FLAGS, FtdiVendor, LIBUSB_HOTPLUG_MATCH_ANY, LIBUSB_HOTPLUG_MATCH_ANY, noted, this,
               &callback)
               != LIBUSB_SUCCESS) {
        libusb_exit(std::exchange(context, nullptr));
        return;
    }
    if (const libusb_pollfd **fds = libusb_get_pollfds(context)) {
        for (const libusb_pollfd **fd = fds; *fd != nullptr; ++fd)
            Watch((*fd)->fd, (*fd)->events);
        libusb_free_pollfds(fds);
    }
    libusb_set_pollfd_notifiers(
        context, [](int fd, short events, void *watch) { static_cast<TUsbHotplug *>(watch)->Watch(fd, events); },
        [](int fd, void *watch) { static_cast<TUsbHotplug *>(watch)->Unwatch(fd); }, this);
}

TUsbHotplug::~TUsbHotplug()
{
    if (!context)
        return;
    libusb_set_pollfd_notifiers(context, nullptr, nullptr, nullptr);
    libusb_hotplug_deregister_callback(context, callback);
    libusb_exit(context);
}

void TUsbHotplug::Watch(int fd, short events)
{
    const auto watchFor = [this, fd](QSocketNotifier::Type type) {
        auto *notifier = new QSocketNotifier(fd, type, this);
        connect(notifier, &QSocketNotifier::activated, this, [this] { HandleEvents(); });
        notifiers.push_back(notifier);
    };
    if (events & POLLIN)
        watchFor(QSocketNotifier::Read);
    if (events & POLLOUT)
        watchFor(QSocketNotifier::Write);
}

void TUsbHotplug::Unwatch(int fd)
{
    std::erase_if(notifiers, [fd](QSocketNotifier *notifier) {
        if (notifier->socket() != fd)
            return false;
        notifier->setEnabled(false);
        notifier->deleteLater();
        return true;
    });
}

void TUsbHotplug::HandleEvents()
{
    timeval now{};
    libusb_handle_events_timeout_completed(context, &now, nullptr);
    if (std::exchange(changed, false))
        onChange();
}
