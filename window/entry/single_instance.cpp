#include "single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSocketNotifier>
#include <QSysInfo>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <cstring>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int ConnectAttempts = 40;
constexpr int ConnectPauseMs = 50;

// An abstract socket address: no file to leave behind, and gone with the process that bound it.
sockaddr_un Address(const QByteArray &name, socklen_t &length)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const auto size = std::min<std::size_t>(static_cast<std::size_t>(name.size()), sizeof(address.sun_path) - 1);
    std::memcpy(address.sun_path + 1, name.constData(), size);
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + size);
    return address;
}

// A name made of hexadecimal digits for any text: serials and paths may hold any character.
QString Digest(const QString &text, int digits)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex().left(digits));
}

} // namespace

TSingleInstance::TSingleInstance(const QString &settingsFolder, const QString &receiver)
    : lock(QDir(settingsFolder).filePath(receiver.isEmpty() ? u"corvex.lock"_s : u"corvex-%1.lock"_s.arg(Digest(receiver, 16))))
    , socketName("corvex-corvin-" +
                 Digest(QDir(settingsFolder).absolutePath() + (receiver.isEmpty() ? QString() : u'\n' + receiver), 32)
                     .toLatin1())
{
    // A lock is taken over only when its process is gone, however old it is.
    lock.setStaleLockTime(0);
    QDir().mkpath(settingsFolder);
}

TSingleInstance::~TSingleInstance()
{
    notifier.reset();
    if (listener >= 0)
        ::close(listener);
}

TSingleInstance::TClaim TSingleInstance::Claim()
{
    if (lock.tryLock(0)) {
        Listen();
        return TClaim::Runs;
    }
    // A folder that cannot hold a lock does not keep the program from running, nor does a lock
    // left there by a run that is gone when the folder does not let it be taken over.
    if (lock.error() != QLockFile::LockFailedError || HolderGone())
        return TClaim::Runs;
    return AskToFront() ? TClaim::Raised : TClaim::Unanswered;
}

bool TSingleInstance::HolderGone() const
{
    qint64 pid = 0;
    QString host, application;
    return lock.getLockInfo(&pid, &host, &application) && pid > 0 && host == QSysInfo::machineHostName() &&
           ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

qint64 TSingleInstance::HolderProcess() const
{
    qint64 pid = 0;
    QString host, application;
    return lock.getLockInfo(&pid, &host, &application) ? pid : 0;
}

void TSingleInstance::Listen()
{
    listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    socklen_t length = 0;
    const sockaddr_un address = Address(socketName, length);
    if (listener >= 0 &&
        (::bind(listener, reinterpret_cast<const sockaddr *>(&address), length) != 0 || ::listen(listener, 8) != 0)) {
        ::close(listener);
        listener = -1;
    }
}

// The running program listens from the moment it holds the lock; a start that finds the lock
// between the two waits for it a little.
bool TSingleInstance::AskToFront() const
{
    socklen_t length = 0;
    const sockaddr_un address = Address(socketName, length);
    for (int attempt = 0; attempt < ConnectAttempts; ++attempt) {
        const int client = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (client < 0)
            return false;
        const bool connected = ::connect(client, reinterpret_cast<const sockaddr *>(&address), length) == 0;
        ::close(client);
        if (connected)
            return true;
        QThread::msleep(ConnectPauseMs);
    }
    return false;
}

void TSingleInstance::Serve(std::function<void()> handler)
{
    onRequest = std::move(handler);
    if (listener < 0 || notifier)
        return;
    notifier = std::make_unique<QSocketNotifier>(listener, QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, notifier.get(), [this] { Answer(); });
}

// A connection is the request; nothing is read from it.
void TSingleInstance::Answer()
{
    int client = -1;
    bool asked = false;
    while ((client = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC)) >= 0) {
        ::close(client);
        asked = true;
    }
    if (asked && onRequest)
        onRequest();
}
