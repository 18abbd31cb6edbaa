#!/usr/bin/env python3
"""Makes one small fault at a time in the program's rules and checks that a test fails.

Reads tests/mutantes.txt (its header says how a fault is written), applies each fault to the
source, rebuilds only the test programs it names, runs them and restores the source, whatever
happens (an error, Ctrl-C, a kill: a copy of the original waits beside the build and is put
back at the next start). One line per fault, then "N passed, M failed": a fault is passed
when a named test program fails, crashes or runs out of time.

  tools/mutantes.py [--build DIR] [--check] [--timeout S] [TEXT]

--check only verifies that every fault's text is found exactly once (no build); TEXT runs only
the faults whose file or text contains it.
"""

import argparse
import os
import signal
import subprocess
import sys
from pathlib import Path

RAIZ = Path(__file__).resolve().parent.parent
LISTA = RAIZ / "tests" / "mutantes.txt"


class Falta:
    def __init__(self, linha):
        self.linha = linha  # where it starts in the list
        self.arquivo = ""
        self.troca = None
        self.por = None
        self.testes = []
        self.equivalente = ""

    def nome(self):
        def curto(texto):
            return " / ".join(parte.strip() for parte in texto.splitlines()) or "(nothing)"

        return f"{self.arquivo}: {curto(self.troca)} -> {curto(self.por)}"


def LeLista(caminho):
    faltas, erros, atual = [], [], None
    for n, bruta in enumerate(caminho.read_text(encoding="utf-8").splitlines(), 1):
        if not bruta.strip():
            atual = None
            continue
        if bruta.startswith("#"):
            continue
        chave, sep, valor = bruta.partition(":")
        if not sep:
            erros.append(f"{caminho.name}:{n}: no 'key:' in {bruta!r}")
            continue
        # One space after the colon belongs to the format; the rest is the text itself.
        valor = valor[1:] if valor.startswith(" ") else valor
        if chave == "file":
            atual = Falta(n)
            atual.arquivo = valor.strip()
            faltas.append(atual)
        elif atual is None:
            erros.append(f"{caminho.name}:{n}: '{chave}:' before 'file:'")
        elif chave == "find":
            # Repeated, the lines of a text that spans lines.
            atual.troca = valor if atual.troca is None else atual.troca + "\n" + valor
        elif chave == "into":
            atual.por = valor if atual.por is None else atual.por + "\n" + valor
        elif chave == "tests":
            atual.testes = valor.split()
        elif chave == "equivalent":
            atual.equivalente = valor.strip()
        else:
            erros.append(f"{caminho.name}:{n}: unknown key '{chave}:'")
    for f in faltas:
        if f.troca is None or f.por is None or not f.testes:
            erros.append(f"{caminho.name}:{f.linha}: a fault needs find:, into: and tests:")
        elif f.troca == f.por:
            erros.append(f"{caminho.name}:{f.linha}: find: and into: are the same text")
    return faltas, erros


def Confere(f):
    """The fault's text must be found exactly once, or the fault would hit the wrong place."""
    fonte = RAIZ / f.arquivo
    if not fonte.is_file():
        return f"{f.arquivo}: no such file"
    vezes = fonte.read_text(encoding="utf-8").count(f.troca)
    if vezes != 1:
        return f"{f.arquivo}: {f.troca.strip()!r} found {vezes} times, not once"
    return None


class Guarda:
    """Puts the original source back: on return, on error, on Ctrl-C and on SIGTERM."""

    def __init__(self, copia):
        self.copia = copia  # the original's path and bytes, kept while a fault is applied
        self.fonte = None

    def Recupera(self):
        # A run killed with SIGKILL left its copy behind: the source is put back first.
        if self.copia.exists():
            linhas = self.copia.read_bytes().split(b"\n", 1)
            destino = RAIZ / linhas[0].decode()
            destino.write_bytes(linhas[1])
            self.copia.unlink()
            print(f"restored {linhas[0].decode()} from an interrupted run", file=sys.stderr)

    def Aplica(self, fonte, original, mudado):
        self.copia.parent.mkdir(parents=True, exist_ok=True)
        self.copia.write_bytes(str(fonte.relative_to(RAIZ)).encode() + b"\n" + original)
        self.fonte, self.original = fonte, original
        fonte.write_bytes(mudado)

    def Restaura(self):
        if self.fonte is not None:
            self.fonte.write_bytes(self.original)
            self.fonte = None
            self.copia.unlink(missing_ok=True)


def Roda(f, args, guarda):
    fonte = RAIZ / f.arquivo
    original = fonte.read_bytes()
    mudado = original.decode("utf-8").replace(f.troca, f.por, 1).encode("utf-8")
    guarda.Aplica(fonte, original, mudado)
    try:
        alvos = sorted({t.split(":")[0] for t in f.testes})
        r = subprocess.run(["cmake", "--build", args.build, "-j", "2", "--target", *alvos],
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT, cwd=RAIZ)
        if r.returncode != 0:
            return "does not build"
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        for t in f.testes:
            programa, _, filtro = t.partition(":")
            comando = [str(Path(args.build) / "tests" / programa), "--gtest_brief=1", "--gtest_fail_fast=1"]
            if not Path(comando[0]).is_file():
                return f"no {programa}"
            if filtro:
                comando.append(f"--gtest_filter={filtro}")
            # A session of its own, so that a hung test's children go with it.
            p = subprocess.Popen(comando, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env, cwd=RAIZ,
                                 start_new_session=True)
            try:
                codigo = p.wait(timeout=args.timeout)
            except BaseException as e:
                os.killpg(p.pid, signal.SIGKILL)
                p.wait()
                if isinstance(e, subprocess.TimeoutExpired):
                    return "caught"  # out of time counts as caught
                raise
            if codigo != 0:
                return "caught"
        return "survived"
    finally:
        guarda.Restaura()


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--build", default="build")
    ap.add_argument("--check", action="store_true")
    ap.add_argument("--timeout", type=int, default=180)
    ap.add_argument("texto", nargs="?", default="")
    args = ap.parse_args()

    guarda = Guarda(Path(args.build).resolve() / "mutantes" / "original")
    if not args.check:
        guarda.Recupera()
    faltas, erros = LeLista(LISTA)
    erros += [e for f in faltas if f.troca is not None and (e := Confere(f))]
    if erros:
        print("\n".join(erros), file=sys.stderr)
        return 2
    if args.check:
        equivalentes = sum(1 for f in faltas if f.equivalente)
        print(f"{len(faltas)} faults found once each ({equivalentes} marked equivalent)")
        return 0

    # SIGTERM and SIGHUP go the way of Ctrl-C, through the finally that restores the source.
    for s in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(s, signal.default_int_handler)

    passou = falhou = 0
    construidos = set()
    try:
        for f in faltas:
            if args.texto and args.texto not in f.arquivo and args.texto not in f.troca:
                continue
            if f.equivalente:
                print(f"equivalent  {f.nome()}  ({f.equivalente})", flush=True)
                continue
            construidos.update(t.split(":")[0] for t in f.testes)
            resultado = Roda(f, args, guarda)
            if resultado == "caught":
                passou += 1
            else:
                falhou += 1
            print(f"{resultado:<11} {f.nome()}  [{' '.join(f.testes)}]", flush=True)
    except KeyboardInterrupt:
        guarda.Restaura()
        print("interrupted; the source is restored", file=sys.stderr)
        return 130
    finally:
        guarda.Restaura()
    # The programs were last built with a fault in them: built again from the true source.
    if construidos:
        subprocess.run(["cmake", "--build", args.build, "-j", "2", "--target", *sorted(construidos)],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, cwd=RAIZ)
    print(f"{passou} passed, {falhou} failed")
    return 0 if falhou == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
