#pragma once

#include "agenda/funcoes.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <vector>

// The filters of the day listing, by the radio group's item index.
enum FiltroListagem { TodasNoDia = 0, AvisoEspecifico = 1, AvisoMensal = 2, AvisoAnual = 3 };

// The listing grid's columns, left to right; row 0 holds their headings. Only time and
// description are shown: the program reads the others back from the selected row.
enum ColunaListagem {
    ColunaHora = 0, // headed "Hora"
    ColunaDescricaoModalidade = 1, // headed "Modalidade"
    ColunaCodigoModalidade = 2, // headed "codigo do Tipo": the modality code
    ColunaArquivo = 3,
    ColunaAno = 4,
    ColunaMes = 5,
    ColunaDia = 6,
    ColunasListagem = 7 // how many there are
};

// One row of the day listing: the index line's fields and the description shown beside the
// time. Fields are the line's bytes as text, one character per byte, so they go back to the
// same bytes.
struct LinhaListada
{
    QString hora; // field 4
    QString descricao; // "Data Específica", "Mensal - Todo dia 05", ...
    QString modalidade; // field 5, the modality code
    QString arquivo; // field 6, the message file name
    QString ano; // field 1
    QString mes; // field 2
    QString dia; // field 3
};

// The rows a date lists under a filter, in the order of the lines. Each line gives at most
// one row. An annual line whose month is not a number gets the month-name report.
std::vector<LinhaListada> LinhasDoDia(const ListaLinhas &agenda, QDate dia, int filtro);

// The sentence that describes a selected reminder, from its listed columns; empty for a
// modality that is none of 0, 1 and 2.
QString FraseDoAviso(
    const QString &modalidade, const QString &dia, const QString &mes, const QString &ano, const QString &hora);

// "Agenda para: DD/MM/YYYY"
QString TituloDoDia(QDate dia);

// "Tem certeza que deseja excluir agenda para as: HH:MM ??"
QString PerguntaExclusao(const QString &hora);
