#pragma once

#include <QLockFile>
#include <QString>

#include <functional>
#include <memory>

class QSocketNotifier;

// One program per settings folder and receiver, so that two never write the same files nor drive
// the same chip. The first to start
// holds a lock in the folder (a lock left by a crashed run is taken over) and listens on a local
// socket named after the folder; a later start finds the lock held, connects, and so asks the
// running program to come to the front.
class TSingleInstance
{
public:
    // `receiver`: the serial of the chip this run is told to open, when it is; one program may run
    // for each receiver.
    explicit TSingleInstance(const QString &settingsFolder, const QString &receiver = {});
    ~TSingleInstance();
    TSingleInstance(const TSingleInstance &) = delete;
    TSingleInstance &operator=(const TSingleInstance &) = delete;

    enum class TClaim {
        Runs,        // this process holds the lock, or the folder cannot hold one or take one over
        Raised,      // another running program holds it and was asked to come to the front
        Unanswered,  // another running program holds it and does not answer
    };
    TClaim Claim();
    // From now on each request runs `onRequest`; needs the application's event loop.
    void Serve(std::function<void()> onRequest);
    // The running program's process, when Claim found one.
    qint64 HolderProcess() const;

private:
    void Listen();
    // The lock's holder was a process of this machine that no longer runs.
    bool HolderGone() const;
    bool AskToFront() const;
    void Answer();

    QLockFile lock;
    QByteArray socketName;
    int listener = -1;
    std::unique_ptr<QSocketNotifier> notifier;
    std::function<void()> onRequest;
};
