#include "variavelambiente.h"

#include <QtGlobal>

VariavelAmbiente::VariavelAmbiente(const char *nome, const QByteArray &valor)
    : m_nome(nome)
    , m_antes(qgetenv(nome))
{
    if (valor.isNull())
        qunsetenv(nome);
    else
        qputenv(nome, valor);
}

VariavelAmbiente::~VariavelAmbiente()
{
    if (m_antes.isNull())
        qunsetenv(m_nome);
    else
        qputenv(m_nome, m_antes);
}
