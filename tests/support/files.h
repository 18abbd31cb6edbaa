#pragma once

#include <QByteArray>
#include <QString>

// Whole-file helpers for tests that compare exact bytes.
QByteArray LeArquivo(const QString &caminho);
void GravaArquivo(const QString &caminho, const QByteArray &bytes);
