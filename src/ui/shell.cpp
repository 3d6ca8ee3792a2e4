#include "shell.h"

namespace {
Shell *g_shell = nullptr;
} // namespace

Shell::Shell()
{
    g_shell = this;
}

Shell::~Shell()
{
    if (g_shell == this)
        g_shell = nullptr;
}

Shell *shell()
{
    return g_shell;
}
