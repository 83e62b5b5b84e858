#include "rigctl_loader.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

using namespace Qt::Literals::StringLiterals;

namespace {

class TMissingRigctlService final : public TRigctlService
{
public:
    explicit TMissingRigctlService(const QString &why)
        : failure(u"rigctld: network control cannot be loaded - "_s + why)
    {
    }
    void AllowSubnets(const QStringList &) override {}
    bool Listen(const TRigctldEndpoint &) override { return false; }
    void Close() override {}
    bool IsListening() const override { return false; }
    quint16 Port() const override { return 0; }
    int ClientCount() const override { return 0; }
    const QString &ListenFailure() const override { return failure; }

private:
    QString failure;
};

} // namespace

std::unique_ptr<TRigctlService> LoadRigctlService(TRemoteTuning &tuning, const QString &programFolder)
{
    const QDir program(programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder);
    QStringList why;
    for (const QString &folder : {u"."_s, QStringLiteral(CORVEX_MODULE_DIR_FROM_PROGRAM)}) {
        // Kept loaded for the rest of the run: the server and its clients live in it.
        QLibrary module(QDir::cleanPath(program.filePath(folder) + u"/corvex_rigctld.so"_s));
        if (!module.load()) {
            why << module.errorString();
            continue;
        }
        if (auto *create = reinterpret_cast<TCreateRigctlService *>(module.resolve(CreateRigctlServiceSymbol)))
            return std::unique_ptr<TRigctlService>(create(tuning));
        why << module.errorString();
    }
    return std::make_unique<TMissingRigctlService>(why.join(u"; "_s));
}
