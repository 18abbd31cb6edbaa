#pragma once

#include "agenda/funcoes.h"

#include <QDate>
#include <QDateTime>
#include <QStringList>

#include <optional>
#include <stdexcept>

// Paths are built from the data folder at every use, never cached.
QString ArquivoIndice(); // <dados>/AGENDA.AGD
QString PastaMensagens(); // <dados>/CND/
QString ArquivoMensagem(const QByteArray &nome); // <dados>/CND/<nome>

// Creates the data folder when it is missing and makes sure files can be written in it. False
// when the folder can be neither used nor created: told at start, before anything is typed.
bool PreparaPastaDados();

// The alarm sound to play: AGENDA.WAV, else AGENDA.MP3 in the data folder, else the sound
// installed with the program; empty (silence) when there is none.
QString SomAlarme();

// Cuts text into lines at CR LF, lone CR or lone LF; a final break adds no empty line and a
// NUL byte ends the text.
ListaLinhas CortaLinhas(const QByteArray &texto);
// The same cut over the whole text, NUL bytes and what follows them included: what a write
// starts from, so that no line is lost behind a NUL.
ListaLinhas CortaLinhasInteiras(const QByteArray &texto);
// Every line followed by CR LF.
QByteArray JuntaLinhas(const ListaLinhas &linhas);

// An existing index or message file that cannot be read: reaches the general error report.
class ELeitura : public std::runtime_error
{
public:
    explicit ELeitura(const QString &caminho);
};

// The index file's lines; a missing file is an empty list.
ListaLinhas LeIndice();
// Every line of the index file, also those after a NUL byte (CortaLinhasInteiras).
ListaLinhas LeIndiceInteiro();
// Replaces the index file whole through a temporary file and a rename. False when it failed.
bool GravaIndice(const ListaLinhas &linhas);

// Empties the list and loads AGENDA.AGD into it when the file exists.
void CarregaAgenda(ListaLinhas &lista);

// Creates the message folder with its parents when it is missing.
void CriaPastaMensagens();

// A message file name that stays inside CND/: a plain file name, without separators, "." or
// "..", NUL or other control characters. A line naming anything else is a reminder whose
// message file is missing: nothing is opened or deleted for it.
bool NomeMensagemSeguro(const QByteArray &nome);

// The message's lines, or nothing when the file does not exist or the name is not safe.
std::optional<QStringList> LeMensagem(const QByteArray &nome);
// Text decoding of message files: UTF-8 when the bytes are valid UTF-8, else Windows-1252.
QString DecodificaMensagem(const QByteArray &bytes);
// Windows-1252 when every character fits, else UTF-8; lines joined by CR LF, none added.
QByteArray CodificaMensagem(const QString &texto);
bool GravaMensagem(const QByteArray &nome, const QString &texto);

// "YYYYMMDD-HHMMSS.txt" of the moment; when taken (a file in CND or a name in the index),
// the next free second.
QByteArray NomeArquivoMensagem(const QDateTime &momento, const ListaLinhas &indice);

// |YYYY|MM|DD|hora|modalidade|nome|
QByteArray MontaLinha(QDate data, const QString &hora, int modalidade, const QByteArray &nome);

// Saves a new reminder: reads the index afresh, names the message file from the clock,
// writes the message, then the index. On a failed write nothing of it stays behind and the
// result is false. Throws ELeitura when the existing index cannot be read.
bool IncluiLembrete(QDate data, const QString &hora, int modalidade, const QString &mensagem);

enum class Remocao {
    Removido, // the line and its message file are gone
    SemLinha, // no line names it: nothing was written
    IndiceNaoGravado, // the index could not be written: the reminder is whole as it was
    MensagemFicou, // the line is gone, its message file could not be deleted (an orphan)
};

// Removes a reminder from the index file as it is on disk now: the first line whose message
// file name is `nome` (else the first line that contains it), then its message file. The
// index is written first, so a failed write leaves the reminder whole, and a line whose
// message file is missing can still be removed. The message file stays when its name is not
// safe or another line still names it. Throws ELeitura when the index cannot be read.
Remocao RemoveLembrete(const QByteArray &nome);

// The record of announced reminders kept beside the index.
QString ArquivoAvisos(); // AGENDA.AVS, beside the index
// The memory is at most a week of short lines; anything much larger is not ours.
constexpr qint64 MaiorArquivoAvisos = 1024 * 1024;
struct AvisosLidos
{
    QByteArray texto; // empty when missing or damaged
    // Something other than a readable regular file of a sane size stands at its name: a link,
    // a FIFO, a device, a folder, a file too large or closed to the user.
    bool danificados = false;
};
// Opened without following a link and read only when it is a regular file: a FIFO put there
// must not hang the start, nor a link to a device fill the memory.
AvisosLidos LeAvisos();
// Replaced whole through a temporary file renamed over its name. Whatever stands at the name
// is replaced, never written into: not the target of a link, nor a read-only file (the
// folder decides, as for any file the user may delete). False when it could not be written.
bool GravaAvisos(const QByteArray &conteudo);

// Deletes the temporary files a save killed midway left beside the index (AGENDA.AGD.XXXXXX,
// AGENDA.AVS.XXXXXX). Only while no other copy runs: one may be writing them.
void RemoveTemporariosOrfaos();
// Whether a file name in the application folder is such a leftover.
bool TemporarioOrfao(const QString &nome);
