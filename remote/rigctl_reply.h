#pragma once

#include "rigctl_command.h"

class TRemoteTuning;

// Carries out one command on the tuning and words its reply as rigctld does: plain, or extended
// with the command's long name, labelled fields and a final RPRT. Only negative codes:
// -1 for a value the receiver does not take, -11 for what it cannot do and for unknown commands.
QByteArray AnswerRigctlCommand(const TRigctlCommand &command, TRemoteTuning &tuning);
