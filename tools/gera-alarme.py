#!/usr/bin/env python3
"""Writes the alarm sound installed with the program (resources/sound/AGENDA.WAV).

Two short rings of a small bell: each strike is a few inharmonic partials that die away,
so the sound reads as an alarm clock rather than a beep. 22050 Hz, 16-bit, mono, about two
seconds: the alarm holds the window while it plays, so it is kept short.
Run: python3 tools/gera-alarme.py resources/sound/AGENDA.WAV
"""
import math
import struct
import sys
import wave

TAXA = 22050
# (frequency ratio, loudness, decay per second) of a small bell's partials.
PARCIAIS = [(1.0, 1.0, 6.0), (2.76, 0.45, 9.0), (5.40, 0.25, 14.0), (8.93, 0.12, 20.0)]
FUNDAMENTAL = 1318.5  # E6
# Strike times in seconds: two quick rings, twice.
GOLPES = [0.00, 0.12, 0.24, 0.36, 1.00, 1.12, 1.24, 1.36]
DURACAO = 2.1


def amostra(t):
    valor = 0.0
    for inicio in GOLPES:
        dt = t - inicio
        if dt < 0:
            continue
        for razao, volume, queda in PARCIAIS:
            valor += volume * math.exp(-queda * dt) * math.sin(2 * math.pi * FUNDAMENTAL * razao * dt)
    return valor


def main():
    n = int(TAXA * DURACAO)
    bruto = [amostra(i / TAXA) for i in range(n)]
    pico = max(abs(v) for v in bruto)
    # A short fade at the end so the last sample is silence, not a click.
    fim = int(TAXA * 0.05)
    quadros = bytearray()
    for i, v in enumerate(bruto):
        ganho = min(1.0, (n - i) / fim)
        quadros += struct.pack('<h', int(v / pico * 0.7 * 32767 * ganho))
    with wave.open(sys.argv[1], 'wb') as saida:
        saida.setnchannels(1)
        saida.setsampwidth(2)
        saida.setframerate(TAXA)
        saida.writeframes(bytes(quadros))


if __name__ == '__main__':
    main()
