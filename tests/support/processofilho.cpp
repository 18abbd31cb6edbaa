#include "processofilho.h"

#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

int CodigoDoFilho(const std::function<int()> &acao)
{
    const pid_t filho = fork();
    if (filho < 0)
        return -1;
    if (filho == 0)
        _exit(acao());
    int estado = 0;
    waitpid(filho, &estado, 0);
    return WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
}

void LimitaArquivos(rlim_t bytes)
{
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limite { bytes, bytes };
    setrlimit(RLIMIT_FSIZE, &limite);
}
