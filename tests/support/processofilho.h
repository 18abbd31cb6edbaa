#pragma once

#include <sys/resource.h>

#include <functional>

// Runs `acao` in a child process and gives the code it exits with, or -1 when the child could
// not be started or did not end by exiting. Whatever the child does to itself (a file-size
// limit, another user) ends with it and leaves the test's own process as it was.
int CodigoDoFilho(const std::function<int()> &acao);

// Files of this process may grow to `bytes` and no further, as on a full disk: the write that
// crosses the limit fails instead of killing the process.
void LimitaArquivos(rlim_t bytes);
