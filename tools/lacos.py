#!/usr/bin/env python3
"""Include loops between the units of one folder (a unit is a header and its source).

Usage: lacos.py [source folder] [folders...]. Prints each loop, then how many there are;
exits 1 when there is any. The layer test runs it: inside a folder, too, a unit that includes
another is above it, never also below.
"""
import os
import re
import sys

raiz = sys.argv[1] if len(sys.argv) > 1 else "."
pastas = sys.argv[2:] or ["platform", "agenda", "controls", "resources", "windows", "app"]
inclui = re.compile(r'^\s*#\s*include\s+"([^"/]+)/([^"/]+)\.h"', re.M)


def lacos(arestas):
    """The strongly connected components of two or more units (Tarjan's algorithm)."""
    indice, baixo, pilha, na_pilha, achados = {}, {}, [], set(), []

    def visita(v):
        indice[v] = baixo[v] = len(indice)
        pilha.append(v)
        na_pilha.add(v)
        for w in sorted(arestas.get(v, ())):
            if w not in indice:
                visita(w)
                baixo[v] = min(baixo[v], baixo[w])
            elif w in na_pilha:
                baixo[v] = min(baixo[v], indice[w])
        if baixo[v] == indice[v]:
            componente = []
            while True:
                w = pilha.pop()
                na_pilha.discard(w)
                componente.append(w)
                if w == v:
                    break
            if len(componente) > 1:
                achados.append(sorted(componente))

    for v in sorted(arestas):
        if v not in indice:
            visita(v)
    return achados


total = 0
for pasta in pastas:
    caminho = os.path.join(raiz, pasta)
    if not os.path.isdir(caminho):
        continue
    arestas = {}
    for nome in sorted(os.listdir(caminho)):
        unidade, extensao = os.path.splitext(nome)
        if extensao not in (".h", ".cpp"):
            continue
        with open(os.path.join(caminho, nome), encoding="utf-8") as arquivo:
            texto = arquivo.read()
        for outra_pasta, outra in inclui.findall(texto):
            if outra_pasta == pasta and outra != unidade:
                arestas.setdefault(unidade, set()).add(outra)
    for laco in lacos(arestas):
        print(f"{pasta}/: include loop {' <-> '.join(laco)}")
        total += 1
print(f"{total} include loop(s) inside a folder")
sys.exit(1 if total else 0)
