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
// Every line followed by CR LF.
QByteArray JuntaLinhas(const ListaLinhas &linhas);

// An existing index or message file that cannot be read: reaches the general error report.
class ErroLeitura : public std::runtime_error
{
public:
    explicit ErroLeitura(const QString &caminho);
};

// The index file's lines; a missing file is an empty list.
ListaLinhas LeIndice();
// Replaces the index file whole through a temporary file and a rename. False when it failed.
bool GravaIndice(const ListaLinhas &linhas);

// Empties the list and loads AGENDA.AGD into it when the file exists.
void CarregaAgenda(ListaLinhas &lista);

// Creates the message folder with its parents when it is missing.
void CriaPastaMensagens();

// The message's lines, or nothing when the file does not exist.
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
// result is false. Throws ErroLeitura when the existing index cannot be read.
bool IncluiLembrete(QDate data, const QString &hora, int modalidade, const QString &mensagem);

// Removes the first line of the list that contains the name, and its message file, then
// writes the list over the index. Nothing is removed when no line names it or the message
// file is missing. False only when the index write failed.
bool RemoveLembrete(ListaLinhas &lista, const QByteArray &nome);
