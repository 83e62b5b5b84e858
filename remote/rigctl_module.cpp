#include "rigctl_server.h"

// The module's one entry: the program looks it up by name when network control is switched on.
extern "C" Q_DECL_EXPORT TRigctlService *CorvexCreateRigctlService(TRemoteTuning &tuning)
{
    return new TRigctlServer(tuning);
}

static_assert(std::is_same_v<decltype(CorvexCreateRigctlService), TCreateRigctlService>);
