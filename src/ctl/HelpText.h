#pragma once
// Texts made from the command table: the program's and each command's help,
// and the shell completion scripts.

#include "ctl/CtlContext.h"

namespace lmk::ctl {

QString programHelp();
QString commandHelp(const Command &command);
// "bash" or "zsh".
QString completionScript(const QString &shell);

} // namespace lmk::ctl
