#pragma once

#include "rigctl_service.h"

#include <memory>

// The rigctld-compatible server from its module, found beside the program (as built) or in the
// program's library folder (as installed). When the module cannot be loaded, a stand-in takes
// its place that never listens and says why in its listen failure. `programFolder` is the
// running program's own unless given.
std::unique_ptr<TRigctlService> LoadRigctlService(TRemoteTuning &tuning, const QString &programFolder = {});
