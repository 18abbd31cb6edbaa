#pragma once

#include <QByteArray>

// An environment variable set for the lifetime of the object (unset for a null value); what
// was there before, set or not, comes back at the end, even when an assertion ends the test
// early.
class VariavelAmbiente
{
public:
    VariavelAmbiente(const char *nome, const QByteArray &valor);
    ~VariavelAmbiente();
    VariavelAmbiente(const VariavelAmbiente &) = delete;
    VariavelAmbiente &operator=(const VariavelAmbiente &) = delete;

private:
    const char *m_nome;
    QByteArray m_antes;
};
