#include "platform/platform.h"

#include "platform/linuxplatform.h"

namespace {
Platform *atual = nullptr;
}

Platform &platform()
{
    if (!atual) {
        static LinuxPlatform real;
        atual = &real;
    }
    return *atual;
}

void setPlatform(Platform *novo)
{
    atual = novo;
}
