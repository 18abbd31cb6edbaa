#include "platform/sound.h"

#include <QApplication>
#include <QFileInfo>

void tocaSomSincrono(const QString &arquivo)
{
    if (!QFileInfo::exists(arquivo))
        return;
    QApplication::beep();
}
