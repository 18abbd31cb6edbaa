// Starts a program and reports, on one line: milliseconds from launch until a top-level
// window whose title contains the given text is mapped, resident memory 1.5 s later (kB),
// the number of shared libraries then mapped, and the processor time the program had used
// when its window was mapped (ms, all threads; steadier than the elapsed time on a busy
// machine). Then it ends the program.
// Usage: startwatch <title text> <program> [arguments...]
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <dirent.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

double AgoraMs()
{
    timespec t {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

std::string Titulo(Display *tela, Window janela)
{
    const Atom utf8 = XInternAtom(tela, "UTF8_STRING", False);
    for (Atom nome : { XInternAtom(tela, "_NET_WM_NAME", False), XA_WM_NAME }) {
        Atom tipo = None;
        int formato = 0;
        unsigned long itens = 0;
        unsigned long resto = 0;
        unsigned char *dados = nullptr;
        if (XGetWindowProperty(
                tela, janela, nome, 0, 1024, False, AnyPropertyType, &tipo, &formato, &itens, &resto, &dados)
                == Success
            && dados) {
            std::string texto(reinterpret_cast<char *>(dados), itens);
            XFree(dados);
            if (!texto.empty() && (tipo == utf8 || tipo == XA_STRING || nome == XA_WM_NAME))
                return texto;
        }
    }
    return {};
}

long ResidenteKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string linha; std::getline(status, linha);)
        if (linha.rfind("VmRSS:", 0) == 0)
            return std::stol(linha.substr(6));
    return -1;
}

size_t Bibliotecas(pid_t pid)
{
    std::ifstream mapas("/proc/" + std::to_string(pid) + "/maps");
    std::set<std::string> nomes;
    for (std::string linha; std::getline(mapas, linha);) {
        const auto barra = linha.find('/');
        if (barra != std::string::npos && linha.find(".so", barra) != std::string::npos)
            nomes.insert(linha.substr(barra));
    }
    return nomes.size();
}

double ProcessadorMs(pid_t pid)
{
    const std::string tarefas = "/proc/" + std::to_string(pid) + "/task";
    double ns = 0;
    if (DIR *pasta = opendir(tarefas.c_str())) {
        while (const dirent *tarefa = readdir(pasta)) {
            if (tarefa->d_name[0] == '.')
                continue;
            std::ifstream estatistica(tarefas + "/" + tarefa->d_name + "/schedstat");
            double executado = 0;
            if (estatistica >> executado)
                ns += executado;
        }
        closedir(pasta);
    }
    return ns / 1e6;
}

void Encerra(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        usleep(50 * 1000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: startwatch <title text> <program> [arguments...]\n");
        return 2;
    }
    Display *tela = XOpenDisplay(nullptr);
    if (!tela) {
        std::fprintf(stderr, "startwatch: no display\n");
        return 2;
    }
    const Window raiz = DefaultRootWindow(tela);
    XSelectInput(tela, raiz, SubstructureNotifyMask);
    XSync(tela, False);

    const double inicio = AgoraMs();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[2], argv + 2);
        _exit(127);
    }
    double mapeada = -1;
    double processador = 0;
    while (mapeada < 0) {
        while (XPending(tela)) {
            XEvent evento;
            XNextEvent(tela, &evento);
            if (evento.type != MapNotify || evento.xmap.override_redirect)
                continue;
            if (Titulo(tela, evento.xmap.window).find(argv[1]) != std::string::npos) {
                mapeada = AgoraMs();
                processador = ProcessadorMs(pid);
                break;
            }
        }
        if (mapeada >= 0)
            break;
        if (AgoraMs() - inicio > 30000 || waitpid(pid, nullptr, WNOHANG) == pid) {
            std::fprintf(stderr, "startwatch: no window titled \"%s\"\n", argv[1]);
            Encerra(pid);
            return 1;
        }
        pollfd fd { ConnectionNumber(tela), POLLIN, 0 };
        poll(&fd, 1, 100);
    }
    usleep(1500 * 1000);
    std::printf("%.1f %ld %zu %.1f\n", mapeada - inicio, ResidenteKb(pid), Bibliotecas(pid), processador);
    Encerra(pid);
    XCloseDisplay(tela);
    return 0;
}
