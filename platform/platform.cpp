#include "platform/platform.h"

namespace {
Platform *atual = nullptr;
}

Platform &platform()
{
    if (!atual)
        atual = &PlataformaReal();
    return *atual;
}

void setPlatform(Platform *novo)
{
    atual = novo;
}
