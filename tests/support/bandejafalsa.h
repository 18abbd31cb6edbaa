#pragma once

#include "controls/trayicon.h"

#include <QStringList>

#include <utility>
#include <vector>

// A notification area that records what it is asked and lets the test play the user's mouse.
class BandejaFalsa : public TTrayBackend
{
public:
    void Adiciona(const TNotifyIconData &r) override { Registra(QStringLiteral("adiciona"), r); }
    void Modifica(const TNotifyIconData &r) override { Registra(QStringLiteral("modifica"), r); }
    void Remove(const TNotifyIconData &r) override { Registra(QStringLiteral("remove"), r); }
    QPoint PosicaoCursor() override { return cursor; }
    TShiftState EstadoTeclado() override { return teclado; }
    void ProcessaMensagens() override { pedidos << QStringLiteral("processa"); }
    void MostraMenu(QMenu *menu, const QPoint &posicao) override
    {
        pedidos << QStringLiteral("menu");
        menus.push_back({ menu, posicao });
    }
    void OcultaAplicacao() override { pedidos << QStringLiteral("oculta"); }
    bool AreaDisponivel() override { return area; }
    void PublicaMenu(QMenu *menu) override { publicados.push_back(menu); }

    void Atividade(quintptr a)
    {
        if (AoAtividade)
            AoAtividade(a);
    }
    void Minimiza()
    {
        if (AoMinimizar)
            AoMinimizar();
    }

    QStringList pedidos; // "adiciona", "modifica", "remove", "processa", "menu", "oculta"
    std::vector<TNotifyIconData> registros;
    std::vector<std::pair<QMenu *, QPoint>> menus;
    std::vector<QMenu *> publicados; // every menu handed over for a panel to draw
    QPoint cursor { 700, 10 };
    TShiftState teclado = 0;
    bool area = true;

private:
    void Registra(const QString &pedido, const TNotifyIconData &r)
    {
        pedidos << pedido;
        registros.push_back(r);
    }
};
