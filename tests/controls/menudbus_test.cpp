#include "controls/menudbus.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

// Each item as "id" and the properties that are not the panels' defaults, a line each.
QStringList Linhas(const QList<ItemMenuDBus> &itens)
{
    QStringList linhas;
    for (const ItemMenuDBus &item : itens) {
        QStringList partes { QString::number(item.id) };
        for (auto it = item.propriedades.cbegin(); it != item.propriedades.cend(); ++it)
            partes << it.key() + '=' + it.value().toString();
        linhas << partes.join(' ');
        for (const QString &filho : Linhas(item.filhos))
            linhas << "  " + filho;
    }
    return linhas;
}

std::string Descreve(const QList<ItemMenuDBus> &itens)
{
    return Linhas(itens).join('\n').toStdString();
}

} // namespace

TEST(MenuDBus, APanelListsTheMenusItemsWithCaptionsAsDBusMenuWritesThemAndTheirStates)
{
    const struct
    {
        const char *texto, *rotulo;
    } casos[] = {
        { "Programar Agenda", "Programar Agenda" },
        { "&Sobre", "_Sobre" },
        { "Salvar && Sair", "Salvar & Sair" },
        { "nome_do_arquivo", "nome__do__arquivo" },
        { "A&&B &C_", "A&B _C__" },
        { "Fim&", "Fim" },
    };
    for (const auto &caso : casos)
        EXPECT_EQ(RotuloDBusMenu(caso.texto), caso.rotulo) << caso.texto;

    QMenu menu;
    menu.addAction("&Abrir");
    menu.addSeparator();
    menu.addAction("Desligada")->setEnabled(false);
    menu.addAction("Oculta")->setVisible(false);
    QAction *marcada = menu.addAction("Marcada");
    marcada->setCheckable(true);
    marcada->setChecked(true);
    menu.addMenu("Mais")->addAction("Dentro");
    int proximo = 10;
    QHash<QAction *, int> ids;
    auto idDe = [&](QAction *a) { return ids.contains(a) ? ids.value(a) : ids[a] = proximo++; };
    EXPECT_EQ(Descreve(ItensDoMenu(&menu, -1, idDe)),
        "10 label=_Abrir\n11 type=separator\n12 enabled=false label=Desligada\n13 enabled=false label=Oculta "
        "visible=false\n"
        "14 label=Marcada toggle-state=1 toggle-type=checkmark\n15 children-display=submenu label=Mais\n"
        "  16 label=Dentro");
    // One level: the submenu is listed, its items are not.
    EXPECT_EQ(Linhas(ItensDoMenu(&menu, 1, idDe)).last(), "15 children-display=submenu label=Mais");
}

TEST(MenuDBus, APanelHearsOfEveryChangeOnceAndAChoiceRunsTheActionAfterTheAnswer)
{
    QMenu menu;
    QAction *programar = menu.addAction("Programar Agenda");
    TMenuDBus dbus;
    dbus.setMenu(&menu);
    QCoreApplication::processEvents();
    ASSERT_EQ(dbus.Layout(0, -1, {}).filhos.size(), 1);
    const int id = dbus.Layout(0, -1, {}).filhos.constFirst().id;
    QSignalSpy layout(&dbus, &TMenuDBus::LayoutMudou);
    QSignalSpy propriedades(&dbus, &TMenuDBus::PropriedadesMudaram);

    const uint antes = dbus.Revisao();
    menu.addAction("Desativar Agenda");
    menu.addSeparator();
    programar->setEnabled(false);
    programar->setText("Programar &Agenda");
    EXPECT_EQ(layout.count(), 0);
    QCoreApplication::processEvents();
    ASSERT_EQ(layout.count(), 1);
    EXPECT_GT(dbus.Revisao(), antes);
    EXPECT_EQ(layout.at(0).at(0).toUInt(), dbus.Revisao());
    ASSERT_EQ(propriedades.count(), 1);
    const auto mudadas = propriedades.at(0).at(0).value<QList<PropriedadesDBus>>();
    ASSERT_EQ(mudadas.size(), 1);
    EXPECT_EQ(mudadas.constFirst().id, id);
    EXPECT_EQ(mudadas.constFirst().propriedades.value("label"), "Programar _Agenda");
    EXPECT_EQ(mudadas.constFirst().propriedades.value("enabled"), false);

    programar->setEnabled(true);
    int escolhas = 0;
    QObject::connect(programar, &QAction::triggered, [&] { ++escolhas; });
    EXPECT_TRUE(dbus.Evento(id, "clicked"));
    EXPECT_TRUE(dbus.Evento(id, "opened"));
    EXPECT_FALSE(dbus.Evento(999, "clicked"));
    EXPECT_EQ(escolhas, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(escolhas, 1);
}
