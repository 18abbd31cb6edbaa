#pragma once

#include <QDBusArgument>

// A D-Bus structure whose fields go out and come back in the order of its signature.
template <typename... Campos> QDBusArgument &GravaEstrutura(QDBusArgument &argumento, const Campos &...campos)
{
    argumento.beginStructure();
    (argumento << ... << campos);
    argumento.endStructure();
    return argumento;
}

template <typename... Campos> const QDBusArgument &LeEstrutura(const QDBusArgument &argumento, Campos &...campos)
{
    argumento.beginStructure();
    (argumento >> ... >> campos);
    argumento.endStructure();
    return argumento;
}
