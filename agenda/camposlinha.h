#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The six fields of an index line "|YYYY|MM|DD|HH:MM|modalidade|arquivo|", each exactly what
// ExtraiCampo gives for its number, for any line, valid or not. The fields are views into the
// line read: they live as long as that line, unchanged.
struct CamposLinha
{
    QByteArrayView ano; // field 1
    QByteArrayView mes; // field 2
    QByteArrayView dia; // field 3
    QByteArrayView hora; // field 4, "HH:MM"
    QByteArrayView modalidade; // field 5: "0" that date only, "1" every month, "2" every year
    QByteArrayView arquivo; // field 6, the message file name
};

// Finds the fields in one pass, copying nothing: the alarm's tick and the listing read every
// line of the index.
CamposLinha LeCampos(const QByteArray &linha);
// A temporary line would leave the fields pointing at freed bytes.
CamposLinha LeCampos(const QByteArray &&linha) = delete;
