#pragma once

#include <QByteArray>
#include <QString>

// Whole-file helpers for tests that compare exact bytes.
QByteArray leArquivo(const QString &caminho);
void gravaArquivo(const QString &caminho, const QByteArray &bytes);
